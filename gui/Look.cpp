#include "gui/Look.h"

#include <QFontDatabase>
#include <QStringList>

namespace kel {
namespace {

// First installed family of `wanted`; DejaVu Sans is wide, so it is narrowed a little.
QFont Pick(const QStringList& wanted, int pixelSize, bool bold) {
    const QStringList families = QFontDatabase::families();
    QFont font;
    QString chosen = QStringLiteral("DejaVu Sans");
    for (const QString& name : wanted) {
        if (families.contains(name, Qt::CaseInsensitive)) {
            chosen = name;
            break;
        }
    }
    font.setFamily(chosen);
    if (chosen.startsWith(QLatin1String("DejaVu")))
        font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

const QStringList& SansFamilies() {
    static const QStringList list{QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                                  QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("Arial")};
    return list;
}

const QStringList& TahomaFamilies() {
    static const QStringList list{QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("Arimo"), QStringLiteral("Arial")};
    return list;
}

} // namespace

QFont WindowFont() { return Pick(SansFamilies(), 11, false); }
QFont ValueFont() { return Pick(TahomaFamilies(), 11, true); }
QFont PanelCaptionFont() { return Pick(SansFamilies(), 13, true); }
QFont AboutTitleFont() { return Pick(SansFamilies(), 15, true); }

} // namespace kel
