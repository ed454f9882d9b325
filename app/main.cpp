// Kelvara: the window. Data files are read from the current folder; "Kelvara.ini" lies beside
// the executable.

#include "app/Pictures.h"
#include "app/Program.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QApplication::setWindowIcon(kel::AppIcon());
    // Minimised to the tray the window is hidden; only its close command ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const auto form = kel::StartProgram(
        QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Kelvara.ini")), QDir::currentPath());
    if (!form)
        return 1;
    form->show();
    return app.exec();
}
