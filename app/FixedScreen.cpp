#include "app/FixedScreen.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace kel {

void UseFixedOffscreenScreen(const QString& folder) {
    const QString config = QDir(folder).filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"screens":[{"name":"fixed","x":0,"y":0,"width":1280,"height":1024,)"
                   R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
}

} // namespace kel
