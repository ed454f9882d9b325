// The filter dialog driven through its widgets: the working copy, the date page, the two
// lists, confirming and abandoning, and the filter files.

#include "app/Controls.h"
#include "gui/MsgBox.h"
#include "app/Program.h"
#include "app/MainWindow.h"
#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "filter/ui/FilterDialog.h"
#include "table/ui/RunsGrid.h"
#include "table/ui/RunsTableModel.h"
#include "tests/gui/GuiTest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <vector>

using namespace kel;

namespace {

QString Qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return *EncodeDateTime({y, mo, d, h, mi, s, 0}); }

double g_now = 0;
std::vector<MsgBoxCall> g_boxes;

NameEntry Entry(std::string_view utf8) {
    NameEntry e;
    e.Name = Utf8ToCp1251(utf8);
    e.InLog = true;
    return e;
}

template <std::size_t N>
void Name(NameList& list, const std::array<std::string_view, N>& names) {
    list.resize(N);
    for (std::size_t i = 0; i < N; ++i)
        list[i].Name = Utf8ToCp1251(names[i]);
}

// Invented cars, classes and profiles; the condition lists as the log reader names them.
std::unique_ptr<ProgramState> MakeState() {
    auto v = std::make_unique<ProgramState>();
    RunData& d = v->Data;
    d.CarList = {Entry("Ворон-21"), Entry("Mistral KX"), Entry("Фыркун")};
    d.ClassList = {Entry("Класс Б"), Entry("Класс Ц")};
    d.ProfList = {Entry("Пилот"), Entry("Гость")};
    Name(d.WetnessList, WetnessNames);
    Name(d.SurfAgeList, SurfAgeNames);
    Name(d.TyresList, TyresNames);
    Name(d.DamageList, DamageNames);
    Name(d.WeatherList, WeatherNames);
    v->Filter.FSaveDir = QDir::tempPath().toStdString() + "/";
    return v;
}

QStringList Items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void ClickRow(QListWidget* list, int row) {
    QVERIFY(row < list->count());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void ClickItem(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    ClickRow(list, list->row(found.first()));
}

double Picked(const QTimeEdit* time, const QDateEdit* date) {
    const QDate d = date->date();
    const QTime t = time->time();
    return *EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()});
}

std::vector<bool> Flags(const NameList& list, bool NameEntry::*flag) {
    std::vector<bool> flags;
    for (const NameEntry& e : list)
        flags.push_back(e.*flag);
    return flags;
}

// Drives the filter dialog that the filter button is about to open.
void WhenDialogOpens(std::function<void(FilterDialog&)> steps) {
    QTimer::singleShot(0, [steps] {
        if (auto* d = qobject_cast<FilterDialog*>(QApplication::activeModalWidget())) {
            steps(*d);
            if (d->isVisible()) // a failed check left it open
                d->reject();
        } else
            qFatal("the filter dialog did not open");
    });
}

void ClickIn(FilterDialog& d, const char* button) { QTest::mouseClick(d.findChild<QToolButton*>(button), Qt::LeftButton); }

QStringList CarColumn(const MainWindow& form) {
    QStringList cars;
    for (int row = 1; row <= form.runsGrid->rowCount(); ++row)
        cars << form.runsGrid->runsModel()->cellText(row, 1);
    return cars;
}

} // namespace

class TestFilterDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramState> v;
    std::unique_ptr<QWidget> mainWindow; // outlives the dialog it owns
    std::unique_ptr<FilterDialog> dlg;

    template <typename T>
    T* W(const char* name) const {
        T* w = dlg->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QListWidget* List(const char* name) const { return W<QListWidget>(name); }
    QToolButton* Button(const char* name) const { return W<QToolButton>(name); }

    void Open(QWidget* mainWindow = nullptr) {
        dlg = std::make_unique<FilterDialog>(*v, mainWindow);
        dlg->show();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
    }

    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

    void ChoosePage(int row) { ClickRow(List("ListBox5"), row); }

    void TypeInEdit1(const QString& keys) {
        auto* edit = W<QLineEdit>("Edit1");
        edit->setFocus();
        QTest::keyClicks(edit, keys);
    }

private slots:
    void initTestCase() {
        FilterDialog::clock = [] { return g_now; };
        SetMsgBoxHandler([](const MsgBoxCall& call) {
            g_boxes.push_back(call);
            return false;
        });
    }

    void init() {
        g_now = At(2024, 5, 10, 12, 0, 0);
        g_boxes.clear();
        v = MakeState();
    }

    void cleanup() {
        dlg.reset();
        mainWindow.reset();
        FilterDialog::fileDialogHook = nullptr;
    }

    void controlsAndTexts() {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setGeometry(100, 80, 800, 600);
        mainWindow->show();
        Open(mainWindow.get());
        QCOMPARE(dlg->windowTitle(), QString("Фильтр"));
        QCOMPARE(dlg->size(), QSize(459, 159));
        QCOMPARE(dlg->minimumSize(), QSize(459, 159));
        QVERIFY(dlg->isModal());
        const QRect frame = dlg->frameGeometry();
        QCOMPARE(frame.left(), 100 + 800 / 2 - frame.width() / 2);
        QCOMPARE(frame.top(), 80 + 600 / 2 - frame.height() / 2);

        const struct {
            const char* name;
            QRect geometry;
        } controls[] = {
            {"ListBox5", {0, 2, 131, 157}},     {"ListBox1", {134, 16, 143, 105}}, {"ListBox2", {316, 16, 143, 107}},
            {"SB1", {278, 16, 37, 33}},         {"SB2", {278, 52, 37, 33}},        {"SB5", {278, 88, 37, 33}},
            {"GroupBox1", {134, 2, 325, 121}},  {"RB1", {10, 16, 205, 17}},        {"RB2", {10, 34, 97, 17}},
            {"Edit1", {98, 32, 39, 21}},        {"ComboBox2", {138, 32, 83, 21}},  {"RB3", {10, 54, 85, 17}},
            {"DTPick1", {66, 70, 71, 21}},      {"DTPick2", {138, 70, 83, 21}},    {"DTPick3", {66, 92, 71, 21}},
            {"DTPick4", {138, 92, 83, 21}},     {"CheckBox14", {226, 88, 97, 27}}, {"SB3", {134, 126, 91, 33}},
            {"SB6", {226, 126, 91, 33}},        {"SB7", {346, 126, 37, 33}},       {"SB8", {384, 126, 37, 33}},
            {"SB4", {422, 126, 37, 33}},
        };
        for (const auto& c : controls)
            QCOMPARE(W<QWidget>(c.name)->geometry(), c.geometry);
        QCOMPARE(W<QLabel>("Label1")->pos(), QPoint(134, 2));
        QCOMPARE(W<QLabel>("Label2")->pos(), QPoint(317, 2));
        QCOMPARE(W<QLabel>("Label3")->pos(), QPoint(50, 74));
        QCOMPARE(W<QLabel>("Label4")->pos(), QPoint(46, 96));

        QCOMPARE(Items(List("ListBox5")),
                 QStringList({"Дата/время", "Машина", "Класс", "Влажность пов-ти", "Износ пов-ти", "Шины",
                              "Повреждения", "Погода", "Профиль пользователя"}));
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(W<QLabel>(qPrintable(QString("Label%1").arg(n)))->text(), Qs(FilterLabels[n - 1]));
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(W<QRadioButton>(qPrintable(QString("RB%1").arg(n)))->text(), Qs(DateModeNames[n - 1]));
        for (int n = 1; n <= 8; ++n) {
            QToolButton* b = Button(qPrintable(QString("SB%1").arg(n)));
            QCOMPARE(b->toolTip(), Qs(FilterButtonHints[n - 1]));
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QVERIFY(!b->icon().isNull());
        }
        QCOMPARE(Button("SB3")->text(), QString("ОК"));
        QCOMPARE(Button("SB6")->text(), QString("Закрыть"));
        QCOMPARE(W<QCheckBox>("CheckBox14")->text(), QString("Настоящий момент"));
        for (const char* picker : {"DTPick2", "DTPick4"}) {
            QCOMPARE(W<QDateEdit>(picker)->minimumDate(), QDate(2000, 1, 1));
            QCOMPARE(W<QDateEdit>(picker)->maximumDate(), QDate(2099, 12, 31));
        }

        // Widened, the value lists share the room; every name shows whole as a tip.
        dlg->resize(659, 259);
        QCOMPARE(List("ListBox1")->geometry(), QRect(134, 16, 243, 205));
        QCOMPARE(List("ListBox2")->geometry(), QRect(416, 16, 243, 207));
        QCOMPARE(Button("SB5")->geometry(), QRect(378, 88, 37, 33));
        QCOMPARE(Button("SB4")->geometry(), QRect(622, 226, 37, 33));
        ChoosePage(1);
        QVERIFY(List("ListBox1")->count() > 0);
        for (int i = 0; i < List("ListBox1")->count(); ++i)
            QCOMPARE(List("ListBox1")->item(i)->toolTip(), List("ListBox1")->item(i)->text());

        auto* timer = W<QTimer>("Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        Click("SB6");
        QVERIFY(!timer->isActive());
        QVERIFY(!dlg->isVisible());

        // The size given is kept for the next opening; one larger than the screen is limited to it,
        // one below the designed size grows to that.
        QCOMPARE(QSize(v->Filter.DialogWidth, v->Filter.DialogHeight), QSize(659, 259));
        Open(mainWindow.get());
        QCOMPARE(dlg->size(), QSize(659, 259));
        dlg->reject();
        v->Filter.DialogWidth = 5000;
        Open(mainWindow.get());
        QVERIFY(dlg->screen()->availableGeometry().contains(dlg->frameGeometry()));
        dlg->reject();
        v->Filter.DialogHeight = 20;
        Open(mainWindow.get());
        QCOMPARE(dlg->height(), 159);
    }

    // Whatever was edited and abandoned before, a new opening shows the criteria in force.
    void openingStartsFromCriteriaInForce() {
        FilterState& f = v->Filter;
        f.ActiveDateFilter = {1, 0, -1, At(2023, 3, 1, 8, 30, 0), At(2023, 4, 2, 20, 15, 10), false};
        f.EditDateFilter = {0, 7, 2, At(2001, 1, 1), At(2001, 1, 2), true};
        v->Data.CarList[1].FiltOn = true;  // "Mistral KX" hidden
        v->Data.CarList[2].FiltEdit = true; // stale working flag
        f.FActInd = 1;

        for (int opening = 0; opening < 2; ++opening) {
            Open();
            QCOMPARE(List("ListBox5")->currentRow(), 1);
            QCOMPARE(Items(List("ListBox1")), QStringList({"Ворон-21", "Фыркун"}));
            QCOMPARE(Items(List("ListBox2")), QStringList({"Mistral KX"}));
            QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltEdit), std::vector<bool>({false, true, false}));
            QCOMPARE(f.EditDateFilter, f.ActiveDateFilter);
            ChoosePage(0);
            QVERIFY(W<QGroupBox>("GroupBox1")->isVisible());
            QVERIFY(W<QRadioButton>("RB3")->isChecked());
            QCOMPARE(Picked(W<QTimeEdit>("DTPick1"), W<QDateEdit>("DTPick2")), f.ActiveDateFilter.fromDate);
            QCOMPARE(Picked(W<QTimeEdit>("DTPick3"), W<QDateEdit>("DTPick4")), f.ActiveDateFilter.toDate);

            // edit everything, then leave without confirming: through closeButton, then the close box
            W<QRadioButton>("RB2")->click();
            TypeInEdit1("9");
            ChoosePage(1);
            ClickItem(List("ListBox2"), "Mistral KX");
            Click("SB1");
            QCOMPARE(v->Data.CarList[1].FiltEdit, false);
            if (opening == 0)
                Click("SB6");
            else
                dlg->close();
            QCOMPARE(dlg->result(), int(QDialog::Rejected));
            QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltOn), std::vector<bool>({false, true, false}));
            QCOMPARE(f.ActiveDateFilter.Krit, 1);
            QCOMPARE(f.FActInd, 1);
            QCOMPARE(List("ListBox1")->count() + List("ListBox2")->count(), 0); // emptied on close
            dlg.reset();
        }
    }

    void numberOfUnitsGivesTheRangeUpToNowAndFollowsTheClock() {
        Open();
        ChoosePage(0);
        auto* rb2 = W<QRadioButton>("RB2");
        QTest::mouseClick(rb2, Qt::LeftButton, {}, QPoint(5, rb2->height() / 2));
        QVERIFY(rb2->isChecked());
        QVERIFY(W<QLineEdit>("Edit1")->isVisible());
        QVERIFY(!W<QTimeEdit>("DTPick1")->isVisible()); // nothing to show without a number

        TypeInEdit1("5");
        auto* units = W<QComboBox>("ComboBox2");
        QCOMPARE(units->currentIndex(), 1); // days until another unit is chosen
        QCOMPARE(units->itemText(4), QString("лет"));
        auto* fromTime = W<QTimeEdit>("DTPick1");
        auto* fromDate = W<QDateEdit>("DTPick2");
        QVERIFY(fromTime->isVisible() && fromDate->isVisible());
        QVERIFY(!fromTime->isEnabled() && !fromDate->isEnabled());
        QCOMPARE(fromDate->date(), QDate(2024, 5, 5));
        QCOMPARE(fromTime->time(), QTime(12, 0, 0));

        // the shown start follows the clock, once a second
        g_now = At(2024, 5, 11, 13, 0, 0);
        QTRY_COMPARE_WITH_TIMEOUT(fromDate->date(), QDate(2024, 5, 6), 3000);
        QCOMPARE(fromTime->time(), QTime(13, 0, 0));

        // weeks chosen from the list
        units->setFocus();
        QTest::keyClick(units, Qt::Key_Down);
        QCOMPARE(units->currentIndex(), 2);
        QCOMPARE(fromDate->date(), QDate(2024, 4, 6));

        Click("SB3");
        const TDateFilter& a = v->Filter.ActiveDateFilter;
        QCOMPARE(a.Krit, 0);
        QCOMPARE(a.Kol, 5);
        QCOMPARE(a.HMS, 2);
        QCOMPARE(a.fromDate, g_now - 35);
        QCOMPARE(a.toDate, g_now);
        QCOMPARE(v->Filter.FActInd, 0);
    }

    void unitWordsAgreeWithTheNumber_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("1") << "1" << QStringList{"час", "день", "неделю", "месяц", "год"};
        QTest::newRow("21") << "21" << QStringList{"час", "день", "неделю", "месяц", "год"};
        QTest::newRow("3") << "3" << QStringList{"часа", "дня", "недели", "месяца", "года"};
        QTest::newRow("5") << "5" << QStringList{"часов", "дней", "недель", "месяцев", "лет"};
        QTest::newRow("11") << "11" << QStringList{"часов", "дней", "недель", "месяцев", "лет"};
    }

    void unitWordsAgreeWithTheNumber() {
        QFETCH(QString, number);
        QFETCH(QStringList, words);
        v->Filter.ActiveDateFilter = {0, 7, 3, 0, 0, false};
        Open();
        ChoosePage(0);
        auto* edit = W<QLineEdit>("Edit1");
        QCOMPARE(edit->text(), QString("7"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, number);
        auto* units = W<QComboBox>("ComboBox2");
        QStringList shown;
        for (int i = 0; i < units->count(); ++i)
            shown << units->itemText(i);
        QCOMPARE(shown, words);
        QCOMPARE(units->currentIndex(), 3); // the chosen unit stays
        QTest::keyClick(edit, Qt::Key_Tab);  // leaving the box takes the number
        QCOMPARE(v->Filter.EditDateFilter.Kol, number.toInt());
        QCOMPARE(units->currentIndex(), 3);
    }

    void emptyNumberStoresNoDateCriterion() {
        // a period in force whose number the user erases
        v->Filter.ActiveDateFilter = {0, 3, 1, 0, 0, false};
        Open();
        ChoosePage(0);
        auto* edit = W<QLineEdit>("Edit1");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(edit->text().isEmpty());
        QVERIFY(!W<QComboBox>("ComboBox2")->isVisible());
        Click("SB3");
        QCOMPARE(v->Filter.ActiveDateFilter.Krit, -1);
        dlg.reset();

        // lastPeriodRadio chosen, nothing typed
        v->Filter.ActiveDateFilter = {};
        Open();
        ChoosePage(0);
        W<QRadioButton>("RB2")->click();
        Click("SB3");
        QCOMPARE(v->Filter.ActiveDateFilter.Krit, -1);
    }

    void edit1TakesOnlyOneTo99() {
        Open();
        ChoosePage(0);
        W<QRadioButton>("RB2")->click();
        auto* edit = W<QLineEdit>("Edit1");
        TypeInEdit1("0");
        QCOMPARE(edit->text(), QString());
        TypeInEdit1("x-1");
        QCOMPARE(edit->text(), QString("1"));
        QTest::keyClicks(edit, "23");
        QCOMPARE(edit->text(), QString("12"));
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClicks(edit, "3"); // a third digit in front
        QCOMPARE(edit->text(), QString("12"));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "0");
        QCOMPARE(edit->text(), QString("10"));
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete); // would leave "0"
        QCOMPARE(edit->text(), QString("10"));

        // pasted text goes through the same rules
        for (const char* pasted : {"abc", "07", "123", "-5", "4"}) {
            edit->selectAll();
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(edit->text(), QString("4"));
        QCOMPARE(W<QDateEdit>("DTPick2")->date(), QDate(2024, 5, 6)); // 4 days back
        Click("SB3");
        QCOMPARE(v->Filter.ActiveDateFilter.Kol, 4);
    }

    void intervalWithNowFollowsTheClock() {
        Open();
        ChoosePage(0);
        W<QRadioButton>("RB3")->click();
        auto* now = W<QCheckBox>("CheckBox14");
        auto* toTime = W<QTimeEdit>("DTPick3");
        auto* toDate = W<QDateEdit>("DTPick4");
        QVERIFY(now->isVisible() && toDate->isEnabled());
        QTest::mouseClick(now, Qt::LeftButton, {}, QPoint(50, 13)); // on the caption's second line
        QVERIFY(now->isChecked());
        QVERIFY(!toTime->isEnabled() && !toDate->isEnabled());
        QCOMPARE(Picked(toTime, toDate), g_now);
        g_now += 2.0 / 24;
        QTRY_COMPARE_WITH_TIMEOUT(toTime->time(), QTime(14, 0, 0), 3000);

        W<QDateEdit>("DTPick2")->setDate(QDate(2024, 1, 2));
        W<QTimeEdit>("DTPick1")->setTime(QTime(6, 30, 0));
        Click("SB3");
        const TDateFilter& a = v->Filter.ActiveDateFilter;
        QCOMPARE(a.Krit, 1);
        QVERIFY(a.Now);
        QCOMPARE(a.fromDate, At(2024, 1, 2, 6, 30, 0));
        QCOMPARE(a.toDate, g_now);
    }

    void datesOutsideThePickersRangeAreClamped() {
        v->Filter.ActiveDateFilter = {1, 0, -1, At(1999, 6, 1), At(2150, 1, 1), false};
        Open();
        QCOMPARE(W<QDateEdit>("DTPick2")->date(), QDate(2000, 1, 1));
        QCOMPARE(W<QDateEdit>("DTPick4")->date(), QDate(2099, 12, 31));
        // a date of today is within reach
        W<QDateEdit>("DTPick4")->setDate(QDate(2024, 5, 10));
        QCOMPARE(W<QDateEdit>("DTPick4")->date(), QDate(2024, 5, 10));
    }

    void movedCarAppliesOnlyWhenConfirmed() {
        Open();
        ChoosePage(1);
        auto* shown = List("ListBox1");
        auto* hidden = List("ListBox2");
        QCOMPARE(Items(shown), QStringList({"Mistral KX", "Ворон-21", "Фыркун"}));
        ClickItem(shown, "Ворон-21");
        Click("SB1");
        QCOMPARE(Items(shown), QStringList({"Mistral KX", "Фыркун"}));
        QCOMPARE(Items(hidden), QStringList({"Ворон-21"}));
        QCOMPARE(shown->currentItem()->text(), QString("Фыркун")); // the next item is selected
        QVERIFY(v->Data.CarList[0].FiltEdit);
        QVERIFY(!v->Data.CarList[0].FiltOn);
        Click("SB6");
        QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltOn), std::vector<bool>({false, false, false}));
        QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltEdit), std::vector<bool>({false, false, false}));
        dlg.reset();

        Open();
        ChoosePage(1);
        ClickItem(List("ListBox1"), "Ворон-21");
        Click("SB1");
        Click("SB3");
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltOn), std::vector<bool>({true, false, false}));
        QCOMPARE(v->Filter.FActInd, 1);
        QVERIFY(ComputeFilterActive(v->Filter.ActiveDateFilter, v->Data));
    }

    void movesGoFromTheFocusedList() {
        v->Data.ClassList[1].FiltOn = true;
        Open();
        ChoosePage(2);
        auto* shown = List("ListBox1");
        auto* hidden = List("ListBox2");
        // the chooser has the focus: neither move button does anything
        QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(List("ListBox5")));
        Click("SB1");
        Click("SB2");
        QCOMPARE(Items(shown), QStringList({"Класс Б"}));
        QCOMPARE(Items(hidden), QStringList({"Класс Ц"}));

        // the focused list without a selected item: the single move does nothing
        QTest::keyClick(List("ListBox5"), Qt::Key_Tab);
        QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(shown));
        QVERIFY(shown->selectedItems().isEmpty());
        Click("SB1");
        QCOMPARE(Items(shown), QStringList({"Класс Б"}));

        // the hidden list clicked: moves go back to the shown one
        ClickItem(hidden, "Класс Ц");
        QCOMPARE(Button("SB1")->property("ImageIndex").toInt(), 0);
        QCOMPARE(Button("SB2")->property("ImageIndex").toInt(), 2);
        Click("SB1");
        QCOMPARE(Items(shown), QStringList({"Класс Б", "Класс Ц"}));
        QVERIFY(hidden->selectedItems().isEmpty());
        QCOMPARE(Flags(v->Data.ClassList, &NameEntry::FiltEdit), std::vector<bool>({false, false}));

        // all of the shown list to the hidden one
        ClickItem(shown, "Класс Ц");
        QVERIFY(hidden->selectedItems().isEmpty() || hidden->count() == 0);
        QCOMPARE(Button("SB1")->property("ImageIndex").toInt(), 1);
        Click("SB2");
        QCOMPARE(shown->count(), 0);
        QCOMPARE(Items(hidden), QStringList({"Класс Б", "Класс Ц"}));
        QCOMPARE(Flags(v->Data.ClassList, &NameEntry::FiltEdit), std::vector<bool>({true, true}));
        Click("SB1"); // empty source
        QCOMPARE(hidden->count(), 2);
    }

    void swapOnTheWetnessPage() {
        v->Data.WetnessList[2].FiltOn = true; // "Wet" hidden
        v->Data.WetnessList[3].FiltOn = true; // "Ошибка": never offered, never changed here
        Open();
        ChoosePage(3);
        auto* shown = List("ListBox1");
        auto* hidden = List("ListBox2");
        QCOMPARE(Items(shown), QStringList({"Damp", "Dry"}));
        QCOMPARE(Items(hidden), QStringList({"Wet"}));
        ClickItem(shown, "Dry");
        Click("SB5");
        QCOMPARE(Items(shown), QStringList({"Wet"}));
        QCOMPARE(Items(hidden), QStringList({"Damp", "Dry"}));
        QCOMPARE(Flags(v->Data.WetnessList, &NameEntry::FiltEdit), std::vector<bool>({true, true, false, true}));
        // the selection follows to the other list at the noted row, which gets the focus
        QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(hidden));
        QCOMPARE(hidden->selectedItems().size(), 1);
        QCOMPARE(hidden->selectedItems().first()->text(), QString("Dry"));
        QVERIFY(shown->selectedItems().isEmpty());
        QCOMPARE(Button("SB1")->property("ImageIndex").toInt(), 0);

        Click("SB5"); // and back
        QCOMPARE(Items(shown), QStringList({"Damp", "Dry"}));
        QCOMPARE(Flags(v->Data.WetnessList, &NameEntry::FiltEdit), std::vector<bool>({false, false, true, true}));
        Click("SB3");
        QCOMPARE(Flags(v->Data.WetnessList, &NameEntry::FiltOn), std::vector<bool>({false, false, true, true}));
    }

    void errorValueIsNeverOffered() {
        for (NameList* list : {&v->Data.WetnessList, &v->Data.SurfAgeList, &v->Data.TyresList, &v->Data.DamageList,
                               &v->Data.WeatherList})
            list->back().FiltOn = true;
        Open();
        const int offered[] = {3, 3, 7, 4, 3};
        for (int row = 3; row <= 7; ++row) {
            ChoosePage(row);
            const QStringList all = Items(List("ListBox1")) + Items(List("ListBox2"));
            QCOMPARE(all.size(), offered[row - 3]);
            QVERIFY(!all.contains("Ошибка"));
            QCOMPARE(List("ListBox2")->count(), 0);
        }
    }

    void resetClearsTheWorkingCopyOnly() {
        v->Data.CarList[0].FiltOn = true;
        v->Data.TyresList[6].FiltOn = true;
        v->Filter.ActiveDateFilter = {0, 2, 0, 0, 0, false};
        v->Filter.FActInd = 1;
        Open();
        Click("SB4");
        QCOMPARE(List("ListBox2")->count(), 0);
        QCOMPARE(Items(List("ListBox1")).size(), 3);
        QCOMPARE(dlg->focusWidget(), static_cast<QWidget*>(List("ListBox1")));
        QCOMPARE(List("ListBox1")->currentRow(), 0);
        QVERIFY(W<QRadioButton>("RB1")->isChecked());
        QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltEdit), std::vector<bool>({false, false, false}));
        QVERIFY(v->Data.CarList[0].FiltOn); // nothing applies until OK
        Click("SB3");
        QVERIFY(!ComputeFilterActive(v->Filter.ActiveDateFilter, v->Data));
    }

    void loadThenCloseAppliesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Saved.fil");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(Utf8ToCp1251("[FiltDT]\nNow=0\nKrit=1\nKol=0\nHMS=-1\n"
                                                          "fromDate=45000.25\ntoDate=45010.5\n"
                                                          "[FiltCar]\nNumFCars=2\nCar0=Фыркун\nCar1=Нет такой\n"
                                                          "[FiltSurf]\nDry=1\n[FiltVisSet]\nFActInd=3\n")));
        file.close();
        QString title, filter, proposed, start;
        FilterDialog::fileDialogHook = [&](QFileDialog& d) {
            title = d.windowTitle();
            filter = d.nameFilters().join(";;");
            proposed = d.selectedFiles().value(0);
            start = d.directory().absolutePath();
            emit d.directoryEntered(dir.path()); // the user browses to the file's folder
            return path;
        };
        v->Filter.FSaveDir = QDir::homePath().toStdString();
        Open();
        ChoosePage(1);
        Click("SB7");
        QCOMPARE(title, QString("Загрузка файла параметров фильтра"));
        QCOMPARE(filter, QString("Сохраненные параметры фильтра (*.fil);;Все файлы (*)"));
        QCOMPARE(QFileInfo(proposed).fileName(), QString("Filter.fil"));
        QCOMPARE(start, QDir::homePath());
        QCOMPARE(QDir(QString::fromStdString(v->Filter.FSaveDir)), QDir(dir.path()));

        QCOMPARE(List("ListBox5")->currentRow(), 1); // the page stays
        QCOMPARE(Items(List("ListBox2")), QStringList({"Фыркун"}));
        QCOMPARE(v->Filter.EditDateFilter.Krit, 1);
        QCOMPARE(v->Filter.EditDateFilter.fromDate, 45000.25);
        QVERIFY(v->Data.WetnessList[0].FiltEdit);
        ChoosePage(0);
        QVERIFY(W<QRadioButton>("RB3")->isChecked());
        QCOMPARE(Picked(W<QTimeEdit>("DTPick3"), W<QDateEdit>("DTPick4")), 45010.5);

        Click("SB6");
        QCOMPARE(v->Filter.ActiveDateFilter.Krit, -1);
        QCOMPARE(Flags(v->Data.CarList, &NameEntry::FiltOn), std::vector<bool>({false, false, false}));
        QVERIFY(!v->Data.WetnessList[0].FiltOn);
        QVERIFY(!ComputeFilterActive(v->Filter.ActiveDateFilter, v->Data));
        QVERIFY(g_boxes.empty());
    }

    void cancelledDialogsChangeOnlyTheFolder() {
        QTemporaryDir dir;
        FilterDialog::fileDialogHook = [&](QFileDialog& d) {
            emit d.directoryEntered(dir.path());
            return QString();
        };
        v->Data.CarList[2].FiltOn = true;
        Open();
        ChoosePage(1);
        Click("SB7");
        Click("SB8");
        QCOMPARE(Items(List("ListBox2")), QStringList({"Фыркун"}));
        QCOMPARE(QDir(QString::fromStdString(v->Filter.FSaveDir)), QDir(dir.path()));
        QVERIFY(QDir(dir.path()).isEmpty());

        // a start folder without a folder part is the program's folder
        v->Filter.FSaveDir = "relative";
        QString start;
        FilterDialog::fileDialogHook = [&](QFileDialog& d) {
            start = d.directory().absolutePath();
            return QString();
        };
        Click("SB7");
        QCOMPARE(QDir(start), QDir(QCoreApplication::applicationDirPath()));
    }

    void saveThenLoadRoundTripsEveryCriterion_data() {
        QTest::addColumn<bool>("period");
        QTest::newRow("interval") << false;
        QTest::newRow("period") << true;
    }

    void saveThenLoadRoundTripsEveryCriterion() {
        QFETCH(bool, period);
        QTemporaryDir dir;
        const QString path = dir.filePath("Filter.fil");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("[Own]\nKeep=yes\n");
        }
        QString title, filter;
        FilterDialog::fileDialogHook = [&](QFileDialog& d) {
            title = d.windowTitle();
            filter = d.nameFilters().join(";;");
            return path;
        };
        Open();
        // one value hidden on every list page
        for (int row = 1; row <= 8; ++row) {
            ChoosePage(row);
            ClickRow(List("ListBox1"), row % List("ListBox1")->count());
            Click("SB1");
        }
        ChoosePage(0);
        if (period) {
            W<QRadioButton>("RB2")->click();
            TypeInEdit1("17");
            QTest::keyClick(W<QLineEdit>("Edit1"), Qt::Key_Tab);
            QTest::keyClick(W<QComboBox>("ComboBox2"), Qt::Key_Up); // hours
        } else {
            W<QRadioButton>("RB3")->click();
            W<QDateEdit>("DTPick2")->setDate(QDate(2022, 2, 3));
            W<QTimeEdit>("DTPick1")->setTime(QTime(4, 5, 6));
            W<QDateEdit>("DTPick4")->setDate(QDate(2023, 7, 8));
            W<QTimeEdit>("DTPick3")->setTime(QTime(21, 22, 23));
        }
        Click("SB8");
        QCOMPARE(title, QString("Сохранение параметров фильтра"));
        QCOMPARE(filter, QString("Файл параметров фильтра (*.fil)"));
        QVERIFY(g_boxes.empty());
        const TDateFilter saved = v->Filter.EditDateFilter;
        QCOMPARE(saved.Krit, period ? 0 : 1);
        if (period) {
            QCOMPARE(saved.Kol, 17);
            QCOMPARE(saved.HMS, 0);
        } else {
            QCOMPARE(saved.fromDate, At(2022, 2, 3, 4, 5, 6));
            QCOMPARE(saved.toDate, At(2023, 7, 8, 21, 22, 23));
        }
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("Keep=yes"));
        QCOMPARE(v->Filter.ActiveDateFilter.Krit, -1); // saving applies nothing

        const RunData before = v->Data;
        Click("SB4");
        ChoosePage(1);
        QCOMPARE(List("ListBox2")->count(), 0);
        Click("SB7");
        const TDateFilter& loaded = v->Filter.EditDateFilter;
        QCOMPARE(loaded.Krit, saved.Krit);
        QCOMPARE(loaded.Kol, saved.Kol);
        QCOMPARE(loaded.HMS, saved.HMS);
        QCOMPARE(loaded.Now, saved.Now);
        if (!period) {
            QCOMPARE(loaded.fromDate, saved.fromDate);
            QCOMPARE(loaded.toDate, saved.toDate);
        }
        for (auto list : {&RunData::CarList, &RunData::ClassList, &RunData::ProfList, &RunData::WetnessList,
                          &RunData::SurfAgeList, &RunData::TyresList, &RunData::DamageList, &RunData::WeatherList})
            QCOMPARE(Flags(v->Data.*list, &NameEntry::FiltEdit), Flags(before.*list, &NameEntry::FiltEdit));
        QCOMPARE(List("ListBox2")->count(), 1);
        ChoosePage(0);
        QVERIFY(W<QRadioButton>(period ? "RB2" : "RB3")->isChecked());
        if (period)
            QCOMPARE(W<QLineEdit>("Edit1")->text(), QString("17"));
    }

    void failedSaveNamesTheFileAndKeepsIt() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Locked.fil");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("[FiltDT]\nKrit=1\n");
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        FilterDialog::fileDialogHook = [&](QFileDialog&) { return path; };
        Open();
        ChoosePage(1);
        ClickRow(List("ListBox1"), 0);
        Click("SB1");
        Click("SB8");
        QCOMPARE(g_boxes.size(), std::size_t(1));
        QVERIFY2(g_boxes[0].Text.contains(QDir::toNativeSeparators(path)), qPrintable(g_boxes[0].Text));
        QCOMPARE(g_boxes[0].Caption, QString("Ошибка"));
        QCOMPARE(g_boxes[0].Icon, MessageIcon::Error);
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("[FiltDT]\nKrit=1\n"));
        QVERIFY(dlg->isVisible());
    }

    void runFilterDialogReportsHowItWasClosed() {
        QWidget main;
        main.show();
        for (bool confirm : {true, false}) {
            QTimer::singleShot(0, [confirm] {
                auto* d = qobject_cast<FilterDialog*>(QApplication::activeModalWidget());
                QVERIFY(d);
                if (confirm)
                    QTest::mouseClick(d->findChild<QToolButton*>("SB3"), Qt::LeftButton);
                else
                    d->close();
            });
            QCOMPARE(RunFilterDialog(*v, &main), confirm);
            QVERIFY(!main.findChild<FilterDialog*>()); // destroyed after closing
        }
    }

    // The filter button: whatever the dialog's end, the window shows the criteria in force.
    void filterButtonAppliesWhatWasConfirmed() {
        guitest::Folder f;
        f.Stages({{1, "Озёрная петля", 8.5f, "Тестовая трасса", ""}});
        f.Log({test::MainLine("2024-05-01 10:00:00", 1, "Ворон-21"), test::TimesLine(30, 60, 100),
               test::MainLine("2024-05-01 10:05:00", 1, "Фыркун"), test::TimesLine(28, 58, 90),
               test::MainLine("2024-05-01 10:10:00", 1, "Ворон-21"), test::TimesLine(31, 65, 110),
               test::MainLine("2024-05-01 10:15:00", 1, "Фыркун"),
               test::MainLine("2024-05-01 10:20:00", 1, "Фыркун"), test::TimesLine(29, 59, 95)});
        std::unique_ptr<MainWindow> form = StartProgram(f.Ini(), f.Dir.path());
        QVERIFY(form);
        form->show();
        QVERIFY(g_boxes.empty());
        auto* button = form->filterButton;
        QCOMPARE(form->finishedRuns.value->text(), QString("4"));

        // one car hidden and confirmed
        WhenDialogOpens([](FilterDialog& d) {
            ClickRow(d.findChild<QListWidget*>("ListBox5"), 1);
            ClickItem(d.findChild<QListWidget*>("ListBox1"), "Ворон-21");
            ClickIn(d, "SB1");
            ClickIn(d, "SB3");
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
        QVERIFY(button->font().bold());
        QCOMPARE(button->captionColour(), QColor(Qt::red));
        QCOMPARE(form->finishedRuns.value->text(), QString("2"));
        QCOMPARE(form->stageRuns.value->text(), QString("2"));
        QCOMPARE(CarColumn(*form), QStringList({"Фыркун", "Фыркун"}));
        QVERIFY(g_boxes.empty());

        // every car hidden, then abandoned: the car hidden before stays hidden
        WhenDialogOpens([](FilterDialog& d) {
            QCOMPARE(d.findChild<QListWidget*>("ListBox5")->currentRow(), 1);
            ClickItem(d.findChild<QListWidget*>("ListBox1"), "Фыркун");
            ClickIn(d, "SB2");
            ClickIn(d, "SB6");
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
        QCOMPARE(CarColumn(*form), QStringList({"Фыркун", "Фыркун"}));
        QVERIFY(g_boxes.empty());

        // every car hidden and confirmed: the warning
        WhenDialogOpens([](FilterDialog& d) {
            ClickItem(d.findChild<QListWidget*>("ListBox1"), "Фыркун");
            ClickIn(d, "SB2");
            ClickIn(d, "SB3");
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(g_boxes.size(), std::size_t(1));
        QCOMPARE(g_boxes[0].Text,
                 QString("Программа не обнаружила ниодного проезда, удовлетворяющего заданным условиям фильтра"));
        QCOMPARE(g_boxes[0].Caption, QString("Kelvara 2.2"));
        QCOMPARE(g_boxes[0].Icon, MessageIcon::Warning);
        QCOMPARE(form->finishedRuns.value->text(), QString("0"));
        QCOMPARE(form->runsGrid->rowCount(), 0);

        // reset and confirmed: everything back, the button up
        WhenDialogOpens([](FilterDialog& d) {
            ClickIn(d, "SB4");
            ClickIn(d, "SB3");
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isChecked());
        QVERIFY(!button->font().bold());
        QCOMPARE(form->finishedRuns.value->text(), QString("4"));
        QCOMPARE(form->runsGrid->rowCount(), 4);
        QCOMPARE(g_boxes.size(), std::size_t(1));
    }

    void screenshots() {
        const QString folder = QString(KELVARA_BINARY_DIR) + "/screenshots";
        QDir().mkpath(folder);
        v->Data.CarList[1].FiltOn = true;
        v->Filter.ActiveDateFilter = {1, 0, -1, At(2024, 4, 1, 9, 15, 0), At(2024, 5, 1, 18, 0, 0), false};
        Open();
        ChoosePage(0);
        auto shot = [&](const char* name) { QVERIFY(dlg->grab().save(folder + "/filter-" + name + ".png")); };
        W<QRadioButton>("RB1")->click();
        shot("date-none");
        W<QRadioButton>("RB2")->click();
        TypeInEdit1("5");
        shot("date-last");
        W<QRadioButton>("RB3")->click();
        shot("date-interval");
        W<QCheckBox>("CheckBox14")->click();
        shot("date-interval-now");
        ChoosePage(1);
        ClickRow(List("ListBox1"), 0);
        shot("cars");
        ChoosePage(5);
        shot("tyres");
        dlg->resize(640, 240);
        ChoosePage(1);
        shot("cars-widened");
        ChoosePage(0);
        shot("date-widened");
    }
};

KELVARA_GUI_TEST_MAIN(TestFilterDialog)
#include "tst_FilterDialog.moc"
