// The window in English: the translation is installed for the whole program, so these tests
// have an executable of their own.

#include "app/AboutBox.h"
#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "filter/ui/FilterDialog.h"
#include "gui/Translation.h"
#include "progress/ui/ProgressWindow.h"
#include "table/ui/RunsGrid.h"
#include "tests/gui/GuiTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace kel;
using namespace kel::guitest;

namespace {

void WriteData(const Folder& f) {
    f.Stages({{1, "Дубрава", 8.0f, "Лесная трасса", ""}});
    f.Log({test::MainLine("2024-05-01 10:00:00", 1, "Карт-А"), test::TimesLine(30, 60, 100)});
    f.Settings("MaxWin=0\r\n");
}

// Every caption of `window` that is shown fits its control: English texts are longer or shorter
// than the Russian ones the controls were first sized for.
QStringList Clipped(const QWidget& window) {
    QStringList clipped;
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty())
            continue;
        // Check and radio boxes are as wide as they need; a push button's frame may be narrower
        // than the style would make it, as long as its text and icon are inside.
        const int needed = qobject_cast<const QPushButton*>(button)
                               ? button->fontMetrics().horizontalAdvance(button->text()) +
                                     (button->icon().isNull() ? 0 : button->iconSize().width() + 4) + 6
                               : button->sizeHint().width();
        if (needed > button->width())
            clipped << button->text();
    }
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisibleTo(&window) && !label->wordWrap() && !label->text().isEmpty() &&
            label->sizeHint().width() > label->width())
            clipped << label->text();
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        if (box->isVisibleTo(&window) && box->fontMetrics().horizontalAdvance(box->title()) + 8 > box->width())
            clipped << box->title();
    return clipped;
}

} // namespace

class tst_English : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallLanguage(Language::English); }
    void windowsSpeakEnglishAndCaptionsFit();
    void languageChoiceIsKeptForTheNextStart();
};

void tst_English::windowsSpeakEnglishAndCaptionsFit() {
    Folder f;
    WriteData(f);
    MessageRecorder messages;
    auto form = StartProgram(f.Ini(), f.Dir.path());
    QVERIFY(form);
    form->showAsSaved();
    QApplication::processEvents();
    QCOMPARE(form->stagePanel->title(), QStringLiteral("Stage statistics"));
    auto* columnItem = form->runsGrid->findChild<QAction*>(QStringLiteral("N0"));
    QVERIFY(columnItem);
    QCOMPARE(columnItem->text(), QStringLiteral("Run no."));
    QCOMPARE(Clipped(*form), QStringList());

    form->openProgress();
    QVERIFY(form->progressWindow());
    QCOMPARE(Clipped(*form->progressWindow()), QStringList());

    FilterDialog filter(form->state(), form.get());
    filter.show();
    QApplication::processEvents();
    QCOMPARE(filter.windowTitle(), QStringLiteral("Filter"));
    auto* pages = filter.findChild<QListWidget*>();
    QVERIFY(pages);
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentRow(page);
        QApplication::processEvents();
        QVERIFY2(Clipped(filter).isEmpty(), qPrintable(pages->item(page)->text() + QLatin1String(": ") +
                                                         Clipped(filter).join(QLatin1String(" | "))));
    }
    // "From" and "To" end before their time pickers.
    pages->setCurrentRow(0);
    filter.findChild<QRadioButton*>(QStringLiteral("RB3"))->click();
    for (auto [label, picker] : {std::pair{"Label3", "DTPick1"}, std::pair{"Label4", "DTPick3"}})
        QVERIFY(!filter.findChild<QLabel*>(label)->geometry().intersects(filter.findChild<QWidget*>(picker)->geometry()));

    AboutBox about(ProgramVersionInfo(), QStringLiteral("07.12.2026"));
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(Clipped(about), QStringList());
}

// F1, "English" in the language box: the key is written at once and outlives the settings
// written when the window closes; the other keys stay as they were.
void tst_English::languageChoiceIsKeptForTheNextStart() {
    Folder f;
    WriteData(f);
    WriteBytes(f.Ini(), "[Visparam]\r\nMaxWin=0\r\n[Interface]\r\nLanguage=\r\n");
    MessageRecorder messages;
    auto form = StartProgram(f.Ini(), f.Dir.path());
    QVERIFY(form);
    form->setExecutablePath(QCoreApplication::applicationFilePath());
    form->showAsSaved();
    QTimer::singleShot(0, this, [] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        box->languageBox->setCurrentIndex(box->languageBox->findData(QStringLiteral("en")));
        box->okButton->click();
    });
    QTest::keyClick(form->runsGrid, Qt::Key_F1);
    QVERIFY(ReadBytes(f.Ini()).contains("Language=en"));
    form->saveSettings();
    const QByteArray saved = ReadBytes(f.Ini());
    QVERIFY(saved.contains("Language=en"));
    QVERIFY(saved.contains("MaxWin=0"));
    QCOMPARE(messages.Calls.size(), 0);
}

KELVARA_GUI_TEST_MAIN(tst_English)
#include "tst_English.moc"
