// Kelvara: the window. Data files are read from the current folder; "Kelvara.ini" lies beside
// the executable.

#include "app/MsgBox.h"
#include "app/Pictures.h"
#include "app/Unit1.h"
#include "data/Startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QApplication::setWindowIcon(kel::AppIcon());

    const QString dataDir = QDir::currentPath();
    // Both data files must exist before any window is made; only the first missing one is named.
    if (const auto missing = kel::CheckDataFiles(std::filesystem::path(dataDir.toStdU16String()))) {
        kel::MsgBox(*missing);
        return 1;
    }

    kel::TForm1 form(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Kelvara.ini")), dataDir);
    if (!form.Loaded())
        return 1;
    form.show();
    return app.exec();
}
