// kelvara-render-icon FOLDER: writes the program's icon as FOLDER/NxN/apps/kelvara.png in the
// sizes desktop menus ask for, drawn by the same code as the window's icon (run it on the
// offscreen platform: no display is needed).

#include "gui/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Использование: kelvara-render-icon ПАПКА\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !kel::AppIconPixmap(size).save(folder + QStringLiteral("/kelvara.png"), "PNG")) {
            std::fprintf(stderr, "Не удалось записать значок в %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
