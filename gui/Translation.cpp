#include "gui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kel {
namespace {
Language g_language = Language::Russian;
}

void InstallLanguage(Language language) {
    g_language = language;
    // Both live until the program ends, like the application object they are installed in.
    static QTranslator ours;
    static QTranslator qtTexts;
    QCoreApplication::removeTranslator(&ours); // a second call replaces the first one's language
    QCoreApplication::removeTranslator(&qtTexts);
    const QLocale locale = language == Language::English ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                         : QLocale(QLocale::Russian, QLocale::Russia);
    if (language == Language::English && ours.load(QStringLiteral(":/i18n/kelvara_en.qm")))
        QCoreApplication::installTranslator(&ours);
    if (qtTexts.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
}

Language WindowLanguage() { return g_language; }

QString Tx(TextId id) {
    const std::string_view text = Text(id, g_language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kel
