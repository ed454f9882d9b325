#include "app/FixedScreen.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace kel {

void UseFixedOffscreenScreen(const QString& folder, int width, int height) {
    QString config = QDir(folder).filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral(R"({"screens":[{"name":"fixed","x":0,"y":0,"width":%1,"height":%2,)"
                                  R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                       .arg(width)
                       .arg(height)
                       .toLatin1());
#ifdef Q_OS_WIN
    // Qt splits the platform argument at every ':': name the file without its drive, which is
    // the current one when the folder is on the current drive.
    if (config.size() > 2 && config[1] == u':' &&
        QDir::currentPath().startsWith(config.left(2), Qt::CaseInsensitive))
        config.remove(0, 2);
#endif
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
}

} // namespace kel
