// Kelvara: the window.
//   Kelvara [--settings FILE] [DIR]
// DIR holds "zlttimes.log" and "trinfo.bin" (by default the current folder when it holds both
// files, otherwise the folder chosen at an earlier start). "Kelvara.ini" lies beside the executable in a portable copy, otherwise in
// the user's configuration folder (app/SettingsLocation.h).

#include "app/Pictures.h"
#include "app/Program.h"
#include "app/QtText.h"
#include "app/SettingsLocation.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <string_view>

#ifndef KELVARA_FILE_VERSION
#define KELVARA_FILE_VERSION "0.0.0.0"
#endif

namespace {

// --help and --version only print: they are answered before any window system is needed, so
// they work without a display.
bool OnlyPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-?" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Kelvara"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARA_FILE_VERSION));
    // The menu entry's id, so that desktops match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kelvara"));
    std::unique_ptr<QCoreApplication> app;
    if (OnlyPrints(argc, argv)) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setWindowIcon(kel::AppIcon());
        // Minimised to the tray the window is hidden; only its close command ends the program.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    // Qt's own texts (the folder and file dialogs, the Yes/No buttons, --help) in Russian like
    // the rest of the program, when Qt's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Статистика проездов в раллийном симуляторе."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption settingsOption(QStringLiteral("settings"),
                                            QStringLiteral("Файл настроек вместо Kelvara.ini."),
                                            QStringLiteral("ФАЙЛ"));
    parser.addOption(settingsOption);
    parser.addPositionalArgument(
        QStringLiteral("ПАПКА"),
        QStringLiteral("Папка с файлами zlttimes.log и trinfo.bin (без неё — текущая папка, если в ней есть оба "
                       "файла, иначе запомненная)."),
        QStringLiteral("[ПАПКА]"));
    parser.process(*app);
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        std::fprintf(stderr, "%s\n\n", qPrintable(QStringLiteral("Лишний аргумент: ") + folders[1]));
        parser.showHelp(2);
    }

    kel::SettingsLocationInput where;
    where.ExecutableDir = kel::ToPath(QCoreApplication::applicationDirPath());
    where.UserConfigDir = kel::ToPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    if (parser.isSet(settingsOption))
        where.Option = kel::ToPath(QFileInfo(parser.value(settingsOption)).absoluteFilePath());

    const std::filesystem::path settingsFile = kel::SettingsFileLocation(where);
    kel::StartRequest request;
    request.SettingsPath = QString::fromStdU16String(settingsFile.u16string());
    request.DataDir = folders.isEmpty() ? QString() : QFileInfo(folders[0]).absoluteFilePath();
    request.CurrentDir = QDir::currentPath();
    request.CreateSettingsFolder = settingsFile.parent_path() == where.UserConfigDir;
    request.ExecutableDir = QCoreApplication::applicationDirPath();
    const auto form = kel::StartProgram(request);
    if (!form)
        return 1;
    form->showAsSaved();
    // For the installation checks: the window shows its data once and closes as by the user.
    if (qEnvironmentVariableIsSet("KELVARA_CLOSE_WHEN_SHOWN"))
        QTimer::singleShot(0, form.get(), &QWidget::close);
    return QCoreApplication::exec();
}
