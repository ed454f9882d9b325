// Kelvara: the window.
//   Kelvara [--settings FILE] [--lang ru|en] [DIR]
// DIR holds "zlttimes.log" and "trinfo.bin" (by default the current folder when it holds both
// files, otherwise the folder chosen at an earlier start). "Kelvara.ini" lies beside the executable in a portable copy, otherwise in
// the user's configuration folder (app/SettingsLocation.h).

#include "gui/Pictures.h"
#include "app/InterfaceLanguage.h"
#include "app/Program.h"
#include "gui/QtText.h"
#include "gui/Translation.h"
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
    // The options are read twice: once to learn the language and the settings file, then with the
    // texts of --help in that language.
    const auto options = [](QCommandLineParser& parser) {
        parser.setApplicationDescription(
            QCoreApplication::translate("kel::Main", "Статистика проездов в раллийном симуляторе."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(QCommandLineOption(QStringLiteral("settings"),
                                            QCoreApplication::translate("kel::Main", "Файл настроек вместо Kelvara.ini."),
                                            QCoreApplication::translate("kel::Main", "ФАЙЛ")));
        parser.addOption(QCommandLineOption(QStringLiteral("lang"),
                                            QCoreApplication::translate(
                                                "kel::Main", "Язык окна: ru или en (без него — из настроек или системы)."),
                                            QStringLiteral("ru|en")));
        parser.addPositionalArgument(
            QCoreApplication::translate("kel::Main", "ПАПКА"),
            QCoreApplication::translate("kel::Main",
                                        "Папка с файлами zlttimes.log и trinfo.bin (без неё — текущая папка, если в ней "
                                        "есть оба файла, иначе запомненная)."),
            QCoreApplication::translate("kel::Main", "[ПАПКА]"));
    };
    kel::SettingsLocationInput where;
    where.ExecutableDir = kel::ToPath(QCoreApplication::applicationDirPath());
    where.UserConfigDir = kel::ToPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    {
        QCommandLineParser first;
        options(first);
        first.parse(QCoreApplication::arguments()); // errors are reported by the second reading
        if (first.isSet(QStringLiteral("settings")))
            where.Option = kel::ToPath(QFileInfo(first.value(QStringLiteral("settings"))).absoluteFilePath());
        const QString settingsPath = QString::fromStdU16String(kel::SettingsFileLocation(where).u16string());
        kel::InstallLanguage(kel::ChooseLanguage(first.value(QStringLiteral("lang")).toStdString(),
                                                kel::ReadLanguageSetting(settingsPath),
                                                QLocale::system().name().toStdString()));
    }

    QCommandLineParser parser;
    options(parser);
    parser.process(*app);
    const QString lang = parser.value(QStringLiteral("lang"));
    if (parser.isSet(QStringLiteral("lang")) && lang != QLatin1String("ru") && lang != QLatin1String("en")) {
        std::fprintf(stderr, "%s\n\n",
                     qPrintable(QCoreApplication::translate("kel::Main", "Неизвестный язык: %1 (возможны ru и en)")
                                    .arg(lang)));
        parser.showHelp(2);
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        std::fprintf(stderr, "%s\n\n",
                     qPrintable(kel::Tx(kel::TextId::ExtraArgument).arg(folders[1])));
        parser.showHelp(2);
    }

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
