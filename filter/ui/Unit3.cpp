#include "filter/ui/Unit3.h"

#include "app/Look.h"
#include "app/MsgBox.h"
#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/LoadError.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "filter/FilterFile.h"
#include "settings/IniFile.h"
#include "data/Format.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace kel {

std::function<double()> TFilter::Clock;
std::function<QString(QFileDialog&)> TFilter::FileDialogHook;

namespace {

QString Qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

constexpr std::string_view ProposedFileName = "Filter.fil";
constexpr std::string_view OpenFilter = "Сохраненные параметры фильтра (*.fil);;Все файлы (*)";
constexpr std::string_view OpenTitle = "Загрузка файла параметров фильтра";
constexpr std::string_view SaveFilter = "Файл параметров фильтра (*.fil)";
constexpr std::string_view SaveTitle = "Сохранение параметров фильтра";

// The pickers' range. Runs of today must stay reachable, so the range goes well past now.
const double MinPickerValue = *EncodeDateTime({2000, 1, 1, 0, 0, 0, 0});
const double MaxPickerValue = *EncodeDateTime({2099, 12, 31, 23, 59, 59, 999});

// Every entry of every list, as the dialog copies and clears the flags.
template <typename F>
void ForEachEntry(RunData& d, F f) {
    for (NameList* list : {&d.CarList, &d.ClassList, &d.ProfList, &d.WetnessList, &d.SurfAgeList, &d.DamageList,
                           &d.WeatherList, &d.TyresList})
        for (NameEntry& e : *list)
            f(e);
}

int SelectedIndex(const QListWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

// Keeps the items in alphabetical order, whatever the case.
void AddSorted(QListWidget* list, QListWidgetItem* item) {
    int pos = 0;
    const QString text = item->text();
    while (pos < list->count()) {
        const QString other = list->item(pos)->text();
        int c = QString::compare(text, other, Qt::CaseInsensitive);
        if (c == 0)
            c = QString::compare(text, other, Qt::CaseSensitive);
        if (c < 0)
            break;
        ++pos;
    }
    list->insertItem(pos, item);
}

QIcon ArrowIcon(bool right, bool twice) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 60, 130), 1));
    p.setBrush(QColor(40, 110, 200));
    auto arrow = [&](double x0) {
        // a head 8 px long pointing right from x0, mirrored for the left arrows
        QPolygonF poly{{x0, 5}, {x0 + 8, 12}, {x0, 19}};
        if (!right)
            for (QPointF& pt : poly)
                pt.setX(24 - pt.x());
        p.drawPolygon(poly);
    };
    if (twice) {
        arrow(5);
        arrow(12);
    } else {
        p.drawRect(right ? QRectF(4, 10, 8, 4) : QRectF(12, 10, 8, 4));
        arrow(11);
    }
    return QIcon(pm);
}

QIcon SwapIcon() {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 90, 40), 1));
    p.setBrush(QColor(40, 160, 80));
    p.drawPolygon(QPolygonF{{3, 7}, {15, 7}, {15, 3}, {21, 9}, {15, 15}, {15, 11}, {3, 11}});
    p.drawPolygon(QPolygonF{{21, 14}, {9, 14}, {9, 10}, {3, 16}, {9, 22}, {9, 18}, {21, 18}});
    return QIcon(pm);
}

QIcon ResetIcon() {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // a funnel with a red cross: the filter is cleared
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(230, 200, 90));
    p.drawPolygon(QPolygonF{{2, 3}, {18, 3}, {12, 11}, {12, 19}, {8, 21}, {8, 11}});
    p.setPen(QPen(QColor(200, 20, 20), 2.5));
    p.drawLine(QPointF(14, 13), QPointF(22, 21));
    p.drawLine(QPointF(22, 13), QPointF(14, 21));
    return QIcon(pm);
}

QIcon StandardOr(QStyle::StandardPixmap sp, QIcon fallback) {
    QIcon icon = QApplication::style()->standardIcon(sp);
    return icon.isNull() ? fallback : icon;
}

// A check box whose caption wraps onto a second line within its width.
class WrapCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        QStyleOptionButton indicator = opt;
        indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
        p.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);
        QRect textRect = rect();
        textRect.setLeft(indicator.rect.right() + 1 +
                         style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this));
        style()->drawItemText(&p, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, opt.palette,
                              isEnabled(), text(), QPalette::WindowText);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = textRect.adjusted(-1, 0, 0, 0);
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace

TFilter::TFilter(ProgramState& v, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_v(v), m_mainWindow(mainWindow) {
    setObjectName("Filter");
    setModal(true);
    setFont(WindowFont()); // "MS Sans Serif" 8 pt, or the window's stand-in
    setFixedSize(459, 159);

    auto place = [](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setObjectName(name);
        w->setGeometry(x, y, width, height);
    };
    auto label = [&](QWidget* parent, const char* name, int x, int y) {
        auto* l = new QLabel(parent);
        l->setObjectName(name);
        l->move(x, y);
        return l;
    };
    auto button = [&](const char* name, int x, int y, int width) {
        auto* b = new QToolButton(this);
        place(b, name, x, y, width, 33);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus); // the list that had the focus stays the source of a move
        b->setIconSize(QSize(24, 24));
        return b;
    };

    ListBox5 = new QListWidget(this);
    place(ListBox5, "ListBox5", 0, 2, 131, 157);
    Label1 = label(this, "Label1", 134, 2);
    Label2 = label(this, "Label2", 317, 2);
    ListBox1 = new QListWidget(this);
    place(ListBox1, "ListBox1", 134, 16, 143, 105);
    ListBox2 = new QListWidget(this);
    place(ListBox2, "ListBox2", 316, 16, 143, 107);
    SB1 = button("SB1", 278, 16, 37);
    SB2 = button("SB2", 278, 52, 37);
    SB5 = button("SB5", 278, 88, 37);

    GroupBox1 = new QGroupBox("Дата/Время", this);
    place(GroupBox1, "GroupBox1", 134, 2, 325, 121);
    RB1 = new QRadioButton(GroupBox1);
    place(RB1, "RB1", 10, 16, 205, 17);
    RB1->setChecked(true);
    RB2 = new QRadioButton(GroupBox1);
    place(RB2, "RB2", 10, 34, 97, 17);
    Edit1 = new QLineEdit(GroupBox1);
    place(Edit1, "Edit1", 98, 32, 39, 21);
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression("[1-9][0-9]?"), Edit1));
    ComboBox2 = new QComboBox(GroupBox1);
    place(ComboBox2, "ComboBox2", 138, 32, 83, 21);
    RB3 = new QRadioButton(GroupBox1);
    place(RB3, "RB3", 10, 54, 85, 17);
    Label3 = label(GroupBox1, "Label3", 50, 74);
    DTPick1 = new QTimeEdit(GroupBox1);
    place(DTPick1, "DTPick1", 66, 70, 71, 21);
    DTPick2 = new QDateEdit(GroupBox1);
    place(DTPick2, "DTPick2", 138, 70, 83, 21);
    Label4 = label(GroupBox1, "Label4", 46, 96);
    DTPick3 = new QTimeEdit(GroupBox1);
    place(DTPick3, "DTPick3", 66, 92, 71, 21);
    DTPick4 = new QDateEdit(GroupBox1);
    place(DTPick4, "DTPick4", 138, 92, 83, 21);
    CheckBox14 = new WrapCheckBox(GroupBox1);
    place(CheckBox14, "CheckBox14", 226, 88, 97, 27);
    for (QTimeEdit* t : {DTPick1, DTPick3})
        t->setDisplayFormat("H:mm:ss");
    for (QDateEdit* d : {DTPick2, DTPick4}) {
        d->setDisplayFormat("dd.MM.yyyy");
        d->setCalendarPopup(true);
        d->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    }

    SB3 = button("SB3", 134, 126, 91);
    SB3->setText("ОК");
    SB6 = button("SB6", 226, 126, 91);
    SB6->setText("Закрыть");
    for (QToolButton* b : {SB3, SB6})
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SB7 = button("SB7", 346, 126, 37);
    SB8 = button("SB8", 384, 126, 37);
    SB4 = button("SB4", 422, 126, 37);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);

    ImageList1 = {ArrowIcon(false, false), ArrowIcon(true, false), ArrowIcon(false, true), ArrowIcon(true, true)};
    SB5->setIcon(SwapIcon());
    SB3->setIcon(StandardOr(QStyle::SP_DialogApplyButton, ArrowIcon(true, false)));
    SB6->setIcon(StandardOr(QStyle::SP_DialogCloseButton, ResetIcon()));
    SB7->setIcon(StandardOr(QStyle::SP_DialogOpenButton, ArrowIcon(false, false)));
    SB8->setIcon(StandardOr(QStyle::SP_DialogSaveButton, ArrowIcon(true, false)));
    SB4->setIcon(ResetIcon());

    connect(ListBox5, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            ListBox5Click();
    });
    connect(ListBox1, &QListWidget::itemClicked, this, &TFilter::ListBox1Click);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            ListBox1Click();
    });
    connect(ListBox2, &QListWidget::itemClicked, this, &TFilter::ListBox2Click);
    connect(ListBox2, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            ListBox2Click();
    });
    connect(SB1, &QToolButton::clicked, this, &TFilter::SB1Click);
    connect(SB2, &QToolButton::clicked, this, &TFilter::SB2Click);
    connect(SB3, &QToolButton::clicked, this, &TFilter::SB3Click);
    connect(SB4, &QToolButton::clicked, this, &TFilter::SB4Click);
    connect(SB5, &QToolButton::clicked, this, &TFilter::SB5Click);
    connect(SB6, &QToolButton::clicked, this, &TFilter::SB6Click);
    connect(SB7, &QToolButton::clicked, this, &TFilter::SB7Click);
    connect(SB8, &QToolButton::clicked, this, &TFilter::SB8Click);
    // Checking a radio button from code runs the same handler as a click.
    for (QRadioButton* rb : {RB1, RB2, RB3})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RBClick();
        });
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::textEdited, this, &TFilter::Edit1KeyUp); // pasting with the mouse
    connect(ComboBox2, &QComboBox::activated, this, &TFilter::ComboBox2CloseUp);
    connect(CheckBox14, &QCheckBox::toggled, this, &TFilter::CheckBox14Click);
    connect(Timer1, &QTimer::timeout, this, &TFilter::Timer1Timer);
}

TFilter::~TFilter() = default;

double TFilter::Now() const { return Clock ? Clock() : NowDateTime(); }

std::string TFilter::DecimalSep() const { return QLocale().decimalPoint().toStdString(); }

void TFilter::showEvent(QShowEvent* event) {
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFilter::done(int result) {
    Timer1->stop();
    FormClose();
    QDialog::done(result);
}

void TFilter::FormShow() {
    LoadCaptHintsFil();
    if (m_mainWindow) {
        const QRect main = m_mainWindow->frameGeometry();
        const QSize own = frameGeometry().size();
        move(main.left() + main.width() / 2 - own.width() / 2, main.top() + main.height() / 2 - own.height() / 2);
    }
    FilterState& f = m_v.Filter;
    if (f.FActInd > 8) // a page that does not exist: open with the date page
        f.FActInd = 0;
    ++m_quiet;
    ListBox5->setCurrentRow(f.FActInd);
    --m_quiet;
    ForEachEntry(m_v.Data, [](NameEntry& e) { e.FiltEdit = e.FiltOn; });
    GetIndLB5();
    ButtonOrient(1, 3);
    f.EditDateFilter = f.ActiveDateFilter;
    FilterDTToPage();
    Timer1->start();
}

void TFilter::FormClose() { EmptyLists(); }

void TFilter::LoadCaptHintsFil() {
    setWindowTitle("Фильтр");
    CheckBox14->setText("Настоящий момент");
    for (int n = 1; n <= 4; ++n)
        if (auto* l = findChild<QLabel*>(QString("Label%1").arg(n))) {
            l->setText(Qs(FilterLabels[n - 1]));
            l->adjustSize();
        }
    for (int n = 1; n <= 3; ++n)
        if (auto* rb = findChild<QRadioButton*>(QString("RB%1").arg(n)))
            rb->setText(Qs(DateModeNames[n - 1]));
    for (int n = 1; n <= 8; ++n)
        if (auto* sb = findChild<QToolButton*>(QString("SB%1").arg(n)))
            sb->setToolTip(Qs(FilterButtonHints[n - 1]));
    ++m_quiet;
    ListBox5->clear();
    ListBox5->addItem("Дата/время");
    for (int column : {1, 2, 6, 7, 8, 9, 10, 11})
        ListBox5->addItem(Qs(ColumnNames[column]));
    --m_quiet;
}

NameList* TFilter::RowList(int row, int& n) {
    RunData& d = m_v.Data;
    NameList* list = nullptr;
    switch (row) {
    case 1: list = &d.CarList; n = static_cast<int>(d.CarList.size()); break;
    case 2: list = &d.ClassList; n = static_cast<int>(d.ClassList.size()); break;
    case 3: list = &d.WetnessList; n = 3; break;
    case 4: list = &d.SurfAgeList; n = 3; break;
    case 5: list = &d.TyresList; n = 7; break;
    case 6: list = &d.DamageList; n = 4; break;
    case 7: list = &d.WeatherList; n = 3; break;
    case 8: list = &d.ProfList; n = static_cast<int>(d.ProfList.size()); break;
    default: return nullptr;
    }
    n = std::min(n, static_cast<int>(list->size()));
    return list;
}

void TFilter::ListBox5Click() {
    EmptyLists();
    GetIndLB5();
}

void TFilter::GetIndLB5() {
    const int row = ListBox5->currentRow();
    int n = 0;
    if (row == 0)
        ShowDatePage(true);
    else if (NameList* list = RowList(row, n))
        LoadLB12(*list, n);
}

void TFilter::LoadLB12(const NameList& list, int n) {
    ShowDatePage(false);
    ++m_quiet;
    for (int i = 0; i < n; ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1251ToUtf8(list[i].Name)));
        item->setData(Qt::UserRole, QByteArray::fromStdString(list[i].Name));
        AddSorted(list[i].FiltEdit ? ListBox2 : ListBox1, item);
    }
    --m_quiet;
}

void TFilter::ShowDatePage(bool show) {
    // The date page covers the two lists; hiding them keeps the keyboard out of what is covered.
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, ListBox1, ListBox2, SB1, SB2, SB5})
        w->setVisible(!show);
    GroupBox1->setVisible(show);
}

void TFilter::EmptyLists() {
    ++m_quiet;
    ListBox1->clear();
    ListBox2->clear();
    --m_quiet;
}

void TFilter::ListBox1Click() {
    ++m_quiet;
    ListBox2->clearSelection();
    --m_quiet;
    ButtonOrient(1, 3);
}

void TFilter::ListBox2Click() {
    ++m_quiet;
    ListBox1->clearSelection();
    --m_quiet;
    ButtonOrient(0, 2);
}

void TFilter::ButtonOrient(int a, int b) {
    SB1->setIcon(ImageList1[a]);
    SB1->setProperty("ImageIndex", a);
    SB2->setIcon(ImageList1[b]);
    SB2->setProperty("ImageIndex", b);
}

QListWidget* TFilter::FocusedList() const {
    // The window's focus widget, so that the answer does not depend on the window being active.
    const QWidget* f = focusWidget();
    if (f && (f == ListBox1 || ListBox1->isAncestorOf(f)))
        return ListBox1;
    if (f && (f == ListBox2 || ListBox2->isAncestorOf(f)))
        return ListBox2;
    return nullptr;
}

void TFilter::SelectRow(QListWidget* list, int row) {
    ++m_quiet;
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
    --m_quiet;
}

void TFilter::SB1Click() {
    if (QListWidget* source = FocusedList())
        MoveLB12(source, source == ListBox1 ? ListBox2 : ListBox1);
}

void TFilter::SB2Click() {
    QListWidget* source = FocusedList();
    if (!source)
        return;
    QListWidget* target = source == ListBox1 ? ListBox2 : ListBox1;
    while (source->count() > 0) {
        SelectRow(source, 0);
        MoveLB12(source, target);
    }
}

void TFilter::SB5Click() {
    QListWidget* noted = FocusedList();
    const int notedIndex = noted ? SelectedIndex(noted) : -1;
    QList<QByteArray> hidden;
    for (int i = 0; i < ListBox2->count(); ++i)
        hidden.append(ListBox2->item(i)->data(Qt::UserRole).toByteArray());
    const int m = static_cast<int>(hidden.size());

    while (ListBox1->count() > 0) {
        SelectRow(ListBox1, 0);
        ListBox1->setFocus();
        MoveLB12(ListBox1, ListBox2);
    }
    for (int i = 0; i < ListBox2->count() && ListBox1->count() < m;) {
        if (hidden.contains(ListBox2->item(i)->data(Qt::UserRole).toByteArray())) {
            SelectRow(ListBox2, i);
            ListBox2->setFocus();
            MoveLB12(ListBox2, ListBox1);
        } else {
            ++i;
        }
    }

    if (noted == ListBox1) {
        ButtonOrient(0, 2);
        SelectRow(ListBox1, -1);
        SelectRow(ListBox2, notedIndex);
        ListBox2->setFocus();
    } else if (noted == ListBox2) {
        ButtonOrient(1, 3);
        SelectRow(ListBox2, -1);
        SelectRow(ListBox1, notedIndex);
        ListBox1->setFocus();
    }
}

void TFilter::MoveLB12(QListWidget* source, QListWidget* target) {
    const int index = SelectedIndex(source);
    // Without a selected item there is no value to move.
    if (source->count() == 0 || index < 0)
        return;
    ++m_quiet;
    QListWidgetItem* item = source->takeItem(index);
    const QByteArray name = item->data(Qt::UserRole).toByteArray();
    AddSorted(target, item);
    target->clearSelection();
    --m_quiet;
    SelectRow(source, index == source->count() ? index - 1 : index);
    int n = 0;
    if (NameList* list = RowList(ListBox5->currentRow(), n))
        LoadFiltTemp(*list, n, name);
}

void TFilter::LoadFiltTemp(NameList& list, int n, const QByteArray& name) {
    QListWidget* focused = FocusedList();
    for (int i = 0; i < n; ++i) {
        if (list[i].Name != name.toStdString())
            continue;
        if (focused == ListBox1)
            list[i].FiltEdit = true;
        else if (focused == ListBox2)
            list[i].FiltEdit = false;
    }
}

void TFilter::RBClick() { DTPageEnabled(); }

bool TFilter::Edit1Number(int& number) const {
    if (Edit1->text().isEmpty())
        return false;
    bool ok = false;
    number = Edit1->text().toInt(&ok);
    return ok;
}

void TFilter::DTPageEnabled() {
    if (RB1->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{DTPick1, DTPick2, DTPick3, DTPick4, Edit1, ComboBox2,
                                                          CheckBox14, Label3, Label4})
            w->hide();
    } else if (RB2->isChecked()) {
        Edit1->show();
        ComboBox2->show();
        CheckBox14->hide();
        Label4->hide();
        const bool hasText = !Edit1->text().isEmpty();
        for (QWidget* w : std::initializer_list<QWidget*>{DTPick1, DTPick2}) {
            w->setVisible(hasText);
            w->setEnabled(false); // they only show where the range starts
        }
        DTPick3->hide();
        DTPick4->hide();
        Label3->setVisible(hasText);
        int number = 0;
        if (Edit1Number(number)) {
            SetLastPeriod(m_v.Filter.EditDateFilter, number, ComboBox2->currentIndex(), Now());
            LoadDTPick();
        }
    } else if (RB3->isChecked()) {
        Edit1->hide();
        ComboBox2->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{Label3, Label4, CheckBox14, DTPick1, DTPick2, DTPick3,
                                                          DTPick4})
            w->show();
        DTPick1->setEnabled(true);
        DTPick2->setEnabled(true);
        if (CheckBox14->isChecked()) {
            DTPick3->setEnabled(false);
            DTPick4->setEnabled(false);
        }
    }
}

void TFilter::FillUnitWords(int count) {
    ComboBox2->clear();
    for (int kind = UnitKind::Hours; kind <= UnitKind::Years; ++kind)
        ComboBox2->addItem(Qs(UnitWord(count, kind)));
}

bool TFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1) {
        if (event->type() == QEvent::KeyPress && !Edit1KeyPress(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::KeyRelease)
            Edit1KeyUp();
        if (event->type() == QEvent::FocusOut)
            Edit1Exit();
    }
    return QDialog::eventFilter(watched, event);
}

bool TFilter::Edit1KeyPress(QKeyEvent* event) {
    const QString text = event->text();
    // Keys without a printable character (backspace, tab, arrows, shortcuts) are the edit's own;
    // the validator keeps whatever they paste to 1..99.
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return true;
    if (text.size() != 1 || !text.at(0).isDigit() || text.at(0).unicode() > '9')
        return false;
    const int caret = Edit1->hasSelectedText() ? Edit1->selectionStart() : Edit1->cursorPosition();
    if (text.at(0) == QChar('0') && caret == 0)
        return false;
    return caret < 2;
}

void TFilter::Edit1KeyUp() {
    int number = 0;
    if (!Edit1Number(number)) {
        for (QWidget* w : std::initializer_list<QWidget*>{Label3, DTPick1, DTPick2, ComboBox2})
            w->hide();
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Label3, DTPick1, DTPick2, ComboBox2})
        w->show();
    int index = ComboBox2->currentIndex();
    // A number without a unit would keep nothing but the single moment now; take days, as
    // leaving the box does.
    if (index < 0)
        index = 1;
    FillUnitWords(number);
    ComboBox2->setCurrentIndex(index);
    SetLastPeriod(m_v.Filter.EditDateFilter, number, index, Now());
    LoadDTPick();
}

void TFilter::Edit1Exit() {
    const int index = ComboBox2->currentIndex();
    ComboBox2->clear();
    int number = 0;
    if (Edit1Number(number)) {
        m_v.Filter.EditDateFilter.Kol = number;
        FillUnitWords(number);
        ComboBox2->setCurrentIndex(index >= 0 ? index : 1);
    }
}

void TFilter::ComboBox2CloseUp() {
    int number = 0;
    if (Edit1Number(number)) {
        SetLastPeriod(m_v.Filter.EditDateFilter, number, ComboBox2->currentIndex(), Now());
        LoadDTPick();
    }
}

void TFilter::CheckBox14Click() {
    const bool now = CheckBox14->isChecked();
    DTPick3->setEnabled(!now);
    DTPick4->setEnabled(!now);
    if (now)
        SetPickers(DTPick3, DTPick4, Now());
}

void TFilter::Timer1Timer() {
    if (RB2->isChecked()) {
        int number = 0;
        if (Edit1Number(number))
            SetLastPeriod(m_v.Filter.EditDateFilter, number, ComboBox2->currentIndex(), Now());
        LoadDTPick();
    }
    if (CheckBox14->isChecked())
        SetPickers(DTPick3, DTPick4, Now());
}

void TFilter::SetPickers(QTimeEdit* time, QDateEdit* date, double value) {
    if (!(value >= MinPickerValue)) // also NaN
        value = MinPickerValue;
    value = std::min(value, MaxPickerValue);
    const DateTimeParts p = DecodeDateTime(value);
    date->setDate(QDate(p.Year, p.Month, p.Day));
    time->setTime(QTime(p.Hour, p.Minute, p.Second, p.Millisecond));
}

double TFilter::PickerValue(const QTimeEdit* time, const QDateEdit* date) const {
    const QDate d = date->date();
    const QTime t = time->time();
    return EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()})
        .value_or(MinPickerValue);
}

void TFilter::LoadDTPick() {
    SetPickers(DTPick1, DTPick2, m_v.Filter.EditDateFilter.fromDate);
    SetPickers(DTPick3, DTPick4, m_v.Filter.EditDateFilter.toDate);
}

void TFilter::FilterDTToPage() {
    const TDateFilter& f = m_v.Filter.EditDateFilter;
    if (f.Krit == -1)
        RB1->setChecked(true);
    else if (f.Krit == 0)
        RB2->setChecked(true);
    else if (f.Krit == 1)
        RB3->setChecked(true);
    FillUnitWords(f.Kol);
    ComboBox2->setCurrentIndex(f.HMS >= 0 && f.HMS <= 4 ? f.HMS : -1);
    Edit1->setText(f.Kol >= 1 ? QString::number(f.Kol) : QString());
    DTPageEnabled();
    CheckBox14->setChecked(f.Now);
    SetPickers(DTPick1, DTPick2, f.fromDate);
    SetPickers(DTPick3, DTPick4, CheckBox14->isChecked() ? Now() : f.toDate);
}

void TFilter::PageToFilterDT() {
    TDateFilter& f = m_v.Filter.EditDateFilter;
    if (Edit1->text().isEmpty() && RB2->isChecked())
        RB1->setChecked(true);
    if (RB1->isChecked()) {
        f.Krit = -1;
        return;
    }
    f.Krit = RB2->isChecked() ? 0 : 1;
    int number = 0;
    if (Edit1Number(number))
        f.Kol = number;
    f.HMS = ComboBox2->currentIndex();
    f.fromDate = PickerValue(DTPick1, DTPick2);
    f.toDate = PickerValue(DTPick3, DTPick4);
    f.Now = CheckBox14->isChecked();
}

void TFilter::SB3Click() {
    ForEachEntry(m_v.Data, [](NameEntry& e) { e.FiltOn = e.FiltEdit; });
    PageToFilterDT();
    m_v.Filter.ActiveDateFilter = m_v.Filter.EditDateFilter;
    m_v.Filter.FActInd = static_cast<uint8_t>(std::max(0, ListBox5->currentRow()));
    accept();
}

void TFilter::SB4Click() {
    RB1->setChecked(true);
    ClearFiltEdit(m_v.Data);
    EmptyLists();
    GetIndLB5();
    ButtonOrient(1, 3);
    if (ListBox1->isVisibleTo(this))
        ListBox1->setFocus();
    SelectRow(ListBox1, 0);
}

void TFilter::SB6Click() {
    ClearFiltEdit(m_v.Data);
    reject();
}

QString TFilter::InitialFolder() const {
    const QString dir = QString::fromStdString(m_v.Filter.FSaveDir);
    const qsizetype folderEnd =
        std::max({dir.lastIndexOf(QChar('/')), dir.lastIndexOf(QChar('\\')), dir.lastIndexOf(QChar(':'))});
    return folderEnd >= 0 ? dir : QCoreApplication::applicationDirPath();
}

void TFilter::PrepareFileDialog(QFileDialog& dialog, bool save) {
    dialog.setObjectName(save ? "SaveDialog1" : "OpenDialog1");
    // Qt's own dialog reports every folder the user enters.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(Qs(save ? SaveTitle : OpenTitle));
    dialog.setNameFilter(Qs(save ? SaveFilter : OpenFilter));
    dialog.setFileMode(QFileDialog::AnyFile); // a name that does not exist loads the defaults
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setDefaultSuffix("fil");
    dialog.setDirectory(InitialFolder());
    dialog.selectFile(Qs(ProposedFileName));
    connect(&dialog, &QFileDialog::directoryEntered, this, &TFilter::SaveDialog1FolderChange);
}

QString TFilter::RunFileDialog(QFileDialog& dialog) {
    QString path;
    if (FileDialogHook)
        path = FileDialogHook(dialog);
    else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        path = dialog.selectedFiles().first();
    if (!path.isEmpty())
        SaveDialog1FolderChange(QFileInfo(path).absolutePath());
    return path;
}

void TFilter::SaveDialog1FolderChange(const QString& folder) {
    m_v.Filter.FSaveDir = QDir::toNativeSeparators(folder).toStdString();
}

void TFilter::SB7Click() {
    QFileDialog dialog(this);
    PrepareFileDialog(dialog, false);
    const QString path = RunFileDialog(dialog);
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    try {
        const IniFile ini(shown.toStdString(), shown.toStdString());
        LoadFilterFile(ini, m_v.Filter, m_v.Data, Now(), DecimalSep());
    } catch (const LoadError& e) {
        MsgBox(QString::fromStdString(e.what()), {}, {}, Qs(ErrorCaption), MessageIcon::Error, MsgButtons::Ok, this);
        return;
    }
    FilterDTToPage();
    EmptyLists();
    GetIndLB5();
}

void TFilter::SB8Click() {
    QFileDialog dialog(this);
    PrepareFileDialog(dialog, true);
    const QString path = RunFileDialog(dialog);
    if (path.isEmpty())
        return;
    PageToFilterDT();
    const QString shown = QDir::toNativeSeparators(path);
    std::string error;
    try {
        IniFile ini(shown.toStdString(), shown.toStdString());
        WriteFilterSettings(ini, m_v.Filter, m_v.Data, FilterSource::WorkingCopy, DecimalSep());
        error = ini.Save();
    } catch (const LoadError& e) {
        error = e.what();
    }
    if (!error.empty())
        MsgBox(QString::fromStdString(error), {}, {}, Qs(ErrorCaption), MessageIcon::Error, MsgButtons::Ok, this);
}

bool RunFilterDialog(ProgramState& v, QWidget* mainWindow) {
    TFilter dialog(v, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kel
