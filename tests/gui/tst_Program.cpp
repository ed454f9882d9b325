// The program's start as the user runs it: which data folder is used, the greeting of a first
// start, the folder chooser after the missing-file message, and the chosen folder remembered for
// the next start.

#include "app/Program.h"
#include "app/MainWindow.h"
#include "data/Cp1251.h"
#include "tests/gui/GuiTest.h"

#include <QFileDialog>
#include <QFileInfo>

using namespace kel;
using namespace kel::guitest;

namespace {

const QString NoLog =
    QStringLiteral("Ошибка чтения файла zlttimes.log. Убедитесь, что он существует и доступен");

void WriteData(const QString& folder, const std::string& stage) {
    QDir().mkpath(folder);
    WriteBytes(folder + "/trinfo.bin", test::StageFileBytes({{1, stage, 4.0f, "", ""}}));
    WriteBytes(folder + "/zlttimes.log",
               test::LogBytes({test::MainLine("2024-05-01 10:00:00", 1, "Карт-А"), test::TimesLine(10, 20, 30)}));
}

QString MissingIn(const QString& folder) { return NoLog + "\n\n" + QDir::toNativeSeparators(folder); }

// The first start's greeting, recorded: each call takes the next answer.
struct RecordedGreeting {
    QList<FirstStartAnswer> Answers;
    QStringList Texts;
    QList<bool> DemoOffered;
    RecordedGreeting() {
        FirstStartHook = [this](const QString& text, bool demoOffered) {
            Texts << text;
            DemoOffered << demoOffered;
            return Answers.isEmpty() ? FirstStartAnswer::Quit : Answers.takeFirst();
        };
    }
    ~RecordedGreeting() { FirstStartHook = nullptr; }
};

QString FirstStage(MainWindow& form) {
    return form.state().StageList.empty() ? QString() : QString::fromStdString(Cp1251ToUtf8(form.state().StageList[0]));
}

// The chooser, recorded: each call takes the next answer ("" cancels).
struct RecordedChooser {
    QStringList Answers;
    QStringList Titles;
    QStringList StartFolders;
    RecordedChooser() {
        FolderDialogHook = [this](QFileDialog& dialog) {
            Titles << dialog.windowTitle();
            StartFolders << dialog.directory().absolutePath();
            return Answers.isEmpty() ? QString() : Answers.takeFirst();
        };
    }
    ~RecordedChooser() { FolderDialogHook = nullptr; }
};

} // namespace

class tst_Program : public QObject {
    Q_OBJECT
private slots:
    void chosenFolderIsRememberedForTheNextStart();
    void cancelEndsWithoutWriting();
    void firstStartGreetsAndOffersTheDemoData();
    void namedAndCurrentFoldersComeBeforeTheRememberedOne();
};

void tst_Program::chosenFolderIsRememberedForTheNextStart() {
    QTemporaryDir root;
    const QString empty = root.filePath("пусто");
    const QString wrong = root.filePath("не та папка");
    const QString game = root.filePath("Игра/plugins");
    QDir().mkpath(empty);
    QDir().mkpath(wrong);
    WriteData(game, "Лесная");
    const QString ini = root.filePath("config/Kelvara/Kelvara.ini"); // its folder does not exist yet
    MessageRecorder messages;
    RecordedChooser chooser;
    RecordedGreeting greeting;
    greeting.Answers = {FirstStartAnswer::ChooseFolder};
    chooser.Answers = {wrong, game}; // first a folder without the files, then the right one
    {
        auto form = StartProgram(StartRequest{ini, {}, empty, true});
        QVERIFY(form);
        QCOMPARE(greeting.Texts.size(), 1);
        QCOMPARE(messages.Texts(), QStringList{MissingIn(wrong)});
        QCOMPARE(chooser.Titles, QStringList(2, QStringLiteral("Выберите папку с файлами zlttimes.log и trinfo.bin")));
        QCOMPARE(chooser.StartFolders, QStringList({empty, wrong}));
        QCOMPARE(FirstStage(*form), QStringLiteral("Лесная"));
        form->close();
    }
    QVERIFY(ReadBytes(ini).contains("[Paths]"));

    // The next start without a folder uses the remembered one, and leaves it remembered.
    messages.Calls.clear();
    auto form = StartProgram(StartRequest{ini, {}, empty});
    QVERIFY(form);
    QVERIFY(messages.Calls.isEmpty());
    QCOMPARE(chooser.Titles.size(), 2);
    QCOMPARE(FirstStage(*form), QStringLiteral("Лесная"));
    form->close();
    form.reset();
    QVERIFY(ReadBytes(ini).contains(QByteArray::fromStdString(Utf8ToCp1251("Игра"))));
}

void tst_Program::cancelEndsWithoutWriting() {
    QTemporaryDir root;
    const QString ini = root.filePath("config/Kelvara/Kelvara.ini");
    MessageRecorder messages;
    RecordedChooser chooser;
    QVERIFY(!StartProgram(StartRequest{ini, root.path(), root.path(), true}));
    QCOMPARE(messages.Texts(), QStringList{MissingIn(root.path())}); // a named folder: no greeting
    QCOMPARE(chooser.Titles.size(), 1);
    QVERIFY(!QFileInfo::exists(QFileInfo(ini).absolutePath())); // not even its folder
}

void tst_Program::firstStartGreetsAndOffersTheDemoData() {
    QTemporaryDir root;
    const QString ini = root.filePath("Kelvara.ini");
    const QString exeDir = root.filePath("bin");
    MessageRecorder messages;
    RecordedChooser chooser;
    RecordedGreeting greeting;
    greeting.Answers = {FirstStartAnswer::Quit, FirstStartAnswer::DemoData};
    QVERIFY(!StartProgram(StartRequest{ini, {}, root.path(), false, exeDir}));
    WriteData(root.filePath("share/kelvara/sample"), "Демонстрационная");
    {
        auto form = StartProgram(StartRequest{ini, {}, root.path(), false, exeDir});
        QVERIFY(form);
        QCOMPARE(FirstStage(*form), QStringLiteral("Демонстрационная"));
        form->close();
    }
    QCOMPARE(greeting.Texts, QStringList(2, QStringLiteral("Выберите папку, в которую игра записывает zlttimes.log и "
                                                            "где лежит trinfo.bin (обычно это папка плагина "
                                                            "хронометража в папке игры).")));
    QCOMPARE(greeting.DemoOffered, QList<bool>({false, true}));
    QVERIFY(messages.Calls.isEmpty()); // no error box at a first start
    QVERIFY(chooser.Titles.isEmpty());
    QVERIFY(!ReadBytes(ini).contains("[Paths]")); // the demo data is not remembered
}

void tst_Program::namedAndCurrentFoldersComeBeforeTheRememberedOne() {
    QTemporaryDir root;
    WriteData(root.filePath("remembered"), "Запомненная");
    WriteData(root.filePath("current"), "Текущая");
    WriteData(root.filePath("named"), "Названная");
    const QString ini = root.filePath("Kelvara.ini");
    WriteBytes(ini, "[Paths]\r\nDataDir=" + QDir::toNativeSeparators(root.filePath("remembered")).toStdString() + "\r\n");
    MessageRecorder messages;
    RecordedChooser chooser;
    const auto firstStage = [&](const QString& named, const QString& current) {
        const auto form = StartProgram(StartRequest{ini, named, current});
        return form ? FirstStage(*form) : QString();
    };
    QCOMPARE(firstStage(root.filePath("named"), root.filePath("current")), QStringLiteral("Названная"));
    QCOMPARE(firstStage({}, root.filePath("current")), QStringLiteral("Текущая"));
    QCOMPARE(firstStage({}, root.path()), QStringLiteral("Запомненная"));
    QVERIFY(messages.Calls.isEmpty());
    QVERIFY(chooser.Titles.isEmpty());
}

KELVARA_GUI_TEST_MAIN(tst_Program)
#include "tst_Program.moc"
