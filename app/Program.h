#pragma once
// The program's start: the data file check before any window, then the main window.

#include <QString>
#include <memory>

namespace kel {

class MainWindow;

// Checks that "zlttimes.log" and then "trinfo.bin" exist in `dataDir` (one message for the
// first missing file), then builds the main window. Null when the program must end: a message
// has been shown and nothing was written.
std::unique_ptr<MainWindow> StartProgram(const QString& settingsPath, const QString& dataDir);

} // namespace kel
