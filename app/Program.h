#pragma once
// The program's start: the data file check before any window, then the main window.

#include <QString>
#include <functional>
#include <memory>

class QFileDialog;
class QMessageBox;

namespace kel {

class MainWindow;

// Checks that "zlttimes.log" and then "trinfo.bin" exist in `dataDir` (one message for the
// first missing file), then builds the main window. Null when the program must end: a message
// has been shown and nothing was written.
std::unique_ptr<MainWindow> StartProgram(const QString& settingsPath, const QString& dataDir);

// What the command line and the system say about a start.
struct StartRequest {
    QString SettingsPath;
    QString DataDir;    // the folder named on the command line; empty when none was named
    QString CurrentDir; // the process's current folder
    // The settings file's folder is the user's configuration folder, made once the window has
    // started (the save at close writes a temporary file beside the settings file). A folder
    // named on the command line is not made: a save there fails with a message.
    bool CreateSettingsFolder = false;
    QString ExecutableDir{}; // where the demonstration data is looked for (FindSampleDir)
};

// The start of the program as the user runs it. The data folder is the one named, or else the
// current folder when it holds the two files, or else the folder remembered in the settings.
// With none named, none remembered and the current folder lacking the files (a first start), a
// greeting asks for the game's folder and offers the demonstration data. A named, remembered or
// chosen folder that lacks a file gets the missing-file message with the folder's path, then a
// folder chooser, until a folder with both files is chosen (it is remembered at close) or the
// chooser is cancelled (null, nothing written).
std::unique_ptr<MainWindow> StartProgram(const StartRequest& request);

// The answers of the first start's greeting.
enum class FirstStartAnswer { ChooseFolder, DemoData, Quit };

// The first start's greeting box, with its buttons "Выбрать папку…", "Демонстрационные данные"
// (when offered) and "Выход".
std::unique_ptr<QMessageBox> MakeFirstStartBox(bool demoOffered);

// Replaceable for tests: given the prepared folder chooser, returns the chosen folder or an
// empty string for a cancel.
extern std::function<QString(QFileDialog&)> FolderDialogHook;
// Replaceable for tests: given the greeting's text and whether demonstration data was found
// (its button is offered only then), returns the answer.
extern std::function<FirstStartAnswer(const QString& text, bool demoOffered)> FirstStartHook;

} // namespace kel
