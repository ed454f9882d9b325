#include "filter/ui/FilterDialog.h"

#include "gui/Look.h"
#include "gui/MsgBox.h"
#include "gui/QtText.h"
#include "gui/Translation.h"
#include "gui/ScreenPlace.h"
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

std::function<double()> FilterDialog::clock;
std::function<QString(QFileDialog&)> FilterDialog::fileDialogHook;

namespace {

constexpr std::string_view ProposedFileName = "Filter.fil";
constexpr const char* OpenFilter = QT_TRANSLATE_NOOP("kel::FilterDialog", "Сохраненные параметры фильтра (*.fil);;Все файлы (*)");
constexpr const char* OpenTitle = QT_TRANSLATE_NOOP("kel::FilterDialog", "Загрузка файла параметров фильтра");
constexpr const char* SaveFilter = QT_TRANSLATE_NOOP("kel::FilterDialog", "Файл параметров фильтра (*.fil)");
constexpr const char* SaveTitle = QT_TRANSLATE_NOOP("kel::FilterDialog", "Сохранение параметров фильтра");

// The pickers' range. Runs of today must stay reachable, so the range goes well past now.
const double MinPickerValue = *EncodeDateTime({2000, 1, 1, 0, 0, 0, 0});
const double MaxPickerValue = *EncodeDateTime({2099, 12, 31, 23, 59, 59, 999});

const QSize DesignSize(459, 159);

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

FilterDialog::FilterDialog(ProgramState& v, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(v), m_mainWindow(mainWindow) {
    setObjectName("Filter");
    setModal(true);
    setFont(WindowFont()); // "MS Sans Serif" 8 pt, or the window's stand-in
    // The designed size is the least: widened, the two value lists share the extra room.
    setMinimumSize(DesignSize);
    resize(DesignSize);

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

    m_pageList = new QListWidget(this);
    place(m_pageList, "ListBox5", 0, 2, 131, 157);
    m_shownCaption = label(this, "Label1", 134, 2);
    m_hiddenCaption = label(this, "Label2", 317, 2);
    m_shownList = new QListWidget(this);
    place(m_shownList, "ListBox1", 134, 16, 143, 105);
    m_hiddenList = new QListWidget(this);
    place(m_hiddenList, "ListBox2", 316, 16, 143, 107);
    m_moveButton = button("SB1", 278, 16, 37);
    m_moveAllButton = button("SB2", 278, 52, 37);
    m_swapButton = button("SB5", 278, 88, 37);

    m_datePage = new QGroupBox(tr("Дата/Время"), this);
    place(m_datePage, "GroupBox1", 134, 2, 325, 121);
    m_noDateRadio = new QRadioButton(m_datePage);
    place(m_noDateRadio, "RB1", 10, 16, 205, 17);
    m_noDateRadio->setChecked(true);
    m_lastPeriodRadio = new QRadioButton(m_datePage);
    place(m_lastPeriodRadio, "RB2", 10, 34, 97, 17);
    m_periodNumberEdit = new QLineEdit(m_datePage);
    place(m_periodNumberEdit, "Edit1", 98, 32, 39, 21);
    m_periodNumberEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[1-9][0-9]?"), m_periodNumberEdit));
    m_periodUnitList = new QComboBox(m_datePage);
    place(m_periodUnitList, "ComboBox2", 138, 32, 83, 21);
    m_intervalRadio = new QRadioButton(m_datePage);
    place(m_intervalRadio, "RB3", 10, 54, 85, 17);
    m_fromCaption = label(m_datePage, "Label3", 50, 74);
    m_fromTimePicker = new QTimeEdit(m_datePage);
    place(m_fromTimePicker, "DTPick1", 66, 70, 71, 21);
    m_fromDatePicker = new QDateEdit(m_datePage);
    place(m_fromDatePicker, "DTPick2", 138, 70, 83, 21);
    m_toCaption = label(m_datePage, "Label4", 46, 96);
    m_toTimePicker = new QTimeEdit(m_datePage);
    place(m_toTimePicker, "DTPick3", 66, 92, 71, 21);
    m_toDatePicker = new QDateEdit(m_datePage);
    place(m_toDatePicker, "DTPick4", 138, 92, 83, 21);
    m_untilNowBox = new WrapCheckBox(m_datePage);
    place(m_untilNowBox, "CheckBox14", 226, 88, 97, 27);
    for (QTimeEdit* t : {m_fromTimePicker, m_toTimePicker})
        t->setDisplayFormat("H:mm:ss");
    for (QDateEdit* d : {m_fromDatePicker, m_toDatePicker}) {
        d->setDisplayFormat("dd.MM.yyyy");
        d->setCalendarPopup(true);
        d->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    }

    m_okButton = button("SB3", 134, 126, 91);
    m_okButton->setText(tr("ОК"));
    m_closeButton = button("SB6", 226, 126, 91);
    m_closeButton->setText(tr("Закрыть"));
    for (QToolButton* b : {m_okButton, m_closeButton})
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_openButton = button("SB7", 346, 126, 37);
    m_saveButton = button("SB8", 384, 126, 37);
    m_resetButton = button("SB4", 422, 126, 37);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName("Timer1");
    m_clockTimer->setInterval(1000);

    m_arrowIcons = {ArrowIcon(false, false), ArrowIcon(true, false), ArrowIcon(false, true), ArrowIcon(true, true)};
    m_swapButton->setIcon(SwapIcon());
    m_okButton->setIcon(StandardOr(QStyle::SP_DialogApplyButton, ArrowIcon(true, false)));
    m_closeButton->setIcon(StandardOr(QStyle::SP_DialogCloseButton, ResetIcon()));
    m_openButton->setIcon(StandardOr(QStyle::SP_DialogOpenButton, ArrowIcon(false, false)));
    m_saveButton->setIcon(StandardOr(QStyle::SP_DialogSaveButton, ArrowIcon(true, false)));
    m_resetButton->setIcon(ResetIcon());

    connect(m_pageList, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            onPageClicked();
    });
    connect(m_shownList, &QListWidget::itemClicked, this, &FilterDialog::onShownListClicked);
    connect(m_shownList, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            onShownListClicked();
    });
    connect(m_hiddenList, &QListWidget::itemClicked, this, &FilterDialog::onHiddenListClicked);
    connect(m_hiddenList, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            onHiddenListClicked();
    });
    connect(m_moveButton, &QToolButton::clicked, this, &FilterDialog::onMoveClicked);
    connect(m_moveAllButton, &QToolButton::clicked, this, &FilterDialog::onMoveAllClicked);
    connect(m_okButton, &QToolButton::clicked, this, &FilterDialog::onOkClicked);
    connect(m_resetButton, &QToolButton::clicked, this, &FilterDialog::onResetClicked);
    connect(m_swapButton, &QToolButton::clicked, this, &FilterDialog::onSwapClicked);
    connect(m_closeButton, &QToolButton::clicked, this, &FilterDialog::onCloseClicked);
    connect(m_openButton, &QToolButton::clicked, this, &FilterDialog::onOpenClicked);
    connect(m_saveButton, &QToolButton::clicked, this, &FilterDialog::onSaveClicked);
    // Checking a radio button from code runs the same handler as a click.
    for (QRadioButton* rb : {m_noDateRadio, m_lastPeriodRadio, m_intervalRadio})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                onDateModeClicked();
        });
    m_periodNumberEdit->installEventFilter(this);
    connect(m_periodNumberEdit, &QLineEdit::textEdited, this, &FilterDialog::onPeriodNumberEdited); // pasting with the mouse
    connect(m_periodUnitList, &QComboBox::activated, this, &FilterDialog::onPeriodUnitChosen);
    connect(m_untilNowBox, &QCheckBox::toggled, this, &FilterDialog::onUntilNowToggled);
    connect(m_clockTimer, &QTimer::timeout, this, &FilterDialog::onClockTick);
}

FilterDialog::~FilterDialog() = default;

void FilterDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int dx = std::max(0, width() - DesignSize.width());
    const int dy = std::max(0, height() - DesignSize.height());
    const int half = dx / 2;
    const auto at = [](QWidget* w, int x, int y, int width, int height) { w->setGeometry(x, y, width, height); };
    at(m_pageList, 0, 2, 131, 157 + dy);
    at(m_shownList, 134, 16, 143 + half, 105 + dy);
    at(m_hiddenList, 316 + half, 16, 143 + dx - half, 107 + dy);
    m_hiddenCaption->move(317 + half, 2);
    at(m_moveButton, 278 + half, 16, 37, 33);
    at(m_moveAllButton, 278 + half, 52, 37, 33);
    at(m_swapButton, 278 + half, 88, 37, 33);
    at(m_datePage, 134, 2, 325 + dx, 121 + dy);
    at(m_okButton, 134, 126 + dy, 91, 33);
    at(m_closeButton, 226, 126 + dy, 91, 33);
    at(m_openButton, 346 + dx, 126 + dy, 37, 33);
    at(m_saveButton, 384 + dx, 126 + dy, 37, 33);
    at(m_resetButton, 422 + dx, 126 + dy, 37, 33);
}

double FilterDialog::now() const { return clock ? clock() : NowDateTime(); }

void FilterDialog::showEvent(QShowEvent* event) {
    if (!m_shown) {
        m_shown = true;
        onFirstShow();
    }
    QDialog::showEvent(event);
}

void FilterDialog::done(int result) {
    m_clockTimer->stop();
    m_state.Filter.DialogWidth = width();
    m_state.Filter.DialogHeight = height();
    onClosing();
    QDialog::done(result);
}

void FilterDialog::onFirstShow() {
    loadCaptionsAndHints();
    // The size the user gave the dialog last time (never below the designed one), centred on the
    // main window, inside a screen's work area.
    const FilterState& saved = m_state.Filter;
    if (saved.DialogWidth > 0 && saved.DialogHeight > 0)
        resize(std::max(saved.DialogWidth, DesignSize.width()), std::max(saved.DialogHeight, DesignSize.height()));
    if (m_mainWindow) {
        const QRect main = m_mainWindow->frameGeometry();
        const QSize own = frameGeometry().size();
        move(main.left() + main.width() / 2 - own.width() / 2, main.top() + main.height() / 2 - own.height() / 2);
    }
    KeepOnScreen(*this, pos());
    FilterState& f = m_state.Filter;
    if (f.FActInd > 8) // a page that does not exist: open with the date page
        f.FActInd = 0;
    ++m_quiet;
    m_pageList->setCurrentRow(f.FActInd);
    --m_quiet;
    ForEachEntry(m_state.Data, [](NameEntry& e) { e.FiltEdit = e.FiltOn; });
    showCurrentPage();
    pointMoveButtons(MoveDirection::ToHidden);
    f.EditDateFilter = f.ActiveDateFilter;
    dateFilterToPage();
    m_clockTimer->start();
}

void FilterDialog::onClosing() { emptyLists(); }

void FilterDialog::loadCaptionsAndHints() {
    setWindowTitle(tr("Фильтр"));
    m_untilNowBox->setText(tr("Настоящий момент"));
    QLabel* const captions[] = {m_shownCaption, m_hiddenCaption, m_fromCaption, m_toCaption};
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        captions[i]->setText(Tx(FilterLabelIds[i]));
        captions[i]->adjustSize();
    }
    // "С" and "по" were placed for their short words; a longer caption moves left so that it
    // ends before its time picker instead of hiding under it.
    for (auto [caption, picker] : {std::pair{m_fromCaption, m_fromTimePicker}, std::pair{m_toCaption, m_toTimePicker}})
        if (caption->geometry().right() >= picker->x() - 2)
            caption->move(std::max(0, picker->x() - 3 - caption->width()), caption->y());
    QRadioButton* const modes[] = {m_noDateRadio, m_lastPeriodRadio, m_intervalRadio};
    for (std::size_t i = 0; i < std::size(modes); ++i)
        modes[i]->setText(Tx(DateModeNameIds[i]));
    // The hints in the order of the buttons' object names "SB1".."SB8".
    QToolButton* const buttons[] = {m_moveButton, m_moveAllButton, m_okButton,    m_resetButton,
                                    m_swapButton, m_closeButton,   m_openButton, m_saveButton};
    for (std::size_t i = 0; i < std::size(buttons); ++i)
        buttons[i]->setToolTip(Tx(FilterButtonHintIds[i]));
    ++m_quiet;
    m_pageList->clear();
    m_pageList->addItem(tr("Дата/время"));
    for (int column : {1, 2, 6, 7, 8, 9, 10, 11})
        m_pageList->addItem(Tx(ColumnNameIds[column]));
    --m_quiet;
}

NameList* FilterDialog::pageValues(int row, int& n) {
    RunData& d = m_state.Data;
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

void FilterDialog::onPageClicked() {
    emptyLists();
    showCurrentPage();
}

void FilterDialog::showCurrentPage() {
    const int row = m_pageList->currentRow();
    int n = 0;
    if (row == 0)
        showDatePage(true);
    else if (NameList* list = pageValues(row, n))
        fillValueLists(*list, n);
}

void FilterDialog::fillValueLists(const NameList& list, int n) {
    showDatePage(false);
    ++m_quiet;
    for (int i = 0; i < n; ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1251ToUtf8(list[i].Name)));
        item->setToolTip(item->text()); // whole, also where the list cuts it
        item->setData(Qt::UserRole, QByteArray::fromStdString(list[i].Name));
        AddSorted(list[i].FiltEdit ? m_hiddenList : m_shownList, item);
    }
    --m_quiet;
}

void FilterDialog::showDatePage(bool show) {
    // The date page covers the two lists; hiding them keeps the keyboard out of what is covered.
    for (QWidget* w : std::initializer_list<QWidget*>{m_shownCaption, m_hiddenCaption, m_shownList, m_hiddenList, m_moveButton, m_moveAllButton, m_swapButton})
        w->setVisible(!show);
    m_datePage->setVisible(show);
}

void FilterDialog::emptyLists() {
    ++m_quiet;
    m_shownList->clear();
    m_hiddenList->clear();
    --m_quiet;
}

void FilterDialog::onShownListClicked() {
    ++m_quiet;
    m_hiddenList->clearSelection();
    --m_quiet;
    pointMoveButtons(MoveDirection::ToHidden);
}

void FilterDialog::onHiddenListClicked() {
    ++m_quiet;
    m_shownList->clearSelection();
    --m_quiet;
    pointMoveButtons(MoveDirection::ToShown);
}

void FilterDialog::pointMoveButtons(MoveDirection direction) {
    // Icons: 0 left, 1 right, 2 double left, 3 double right.
    const int single = direction == MoveDirection::ToHidden ? 1 : 0;
    const int all = single + 2;
    m_moveButton->setIcon(m_arrowIcons[single]);
    m_moveButton->setProperty("ImageIndex", single);
    m_moveAllButton->setIcon(m_arrowIcons[all]);
    m_moveAllButton->setProperty("ImageIndex", all);
}

QListWidget* FilterDialog::focusedList() const {
    // The window's focus widget, so that the answer does not depend on the window being active.
    const QWidget* f = focusWidget();
    if (f && (f == m_shownList || m_shownList->isAncestorOf(f)))
        return m_shownList;
    if (f && (f == m_hiddenList || m_hiddenList->isAncestorOf(f)))
        return m_hiddenList;
    return nullptr;
}

void FilterDialog::selectRow(QListWidget* list, int row) {
    ++m_quiet;
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
    --m_quiet;
}

void FilterDialog::onMoveClicked() {
    if (QListWidget* source = focusedList())
        moveSelectedValue(source, source == m_shownList ? m_hiddenList : m_shownList);
}

void FilterDialog::onMoveAllClicked() {
    QListWidget* source = focusedList();
    if (!source)
        return;
    QListWidget* target = source == m_shownList ? m_hiddenList : m_shownList;
    while (source->count() > 0) {
        selectRow(source, 0);
        moveSelectedValue(source, target);
    }
}

void FilterDialog::onSwapClicked() {
    QListWidget* noted = focusedList();
    const int notedIndex = noted ? SelectedIndex(noted) : -1;
    QList<QByteArray> hidden;
    for (int i = 0; i < m_hiddenList->count(); ++i)
        hidden.append(m_hiddenList->item(i)->data(Qt::UserRole).toByteArray());
    const int m = static_cast<int>(hidden.size());

    while (m_shownList->count() > 0) {
        selectRow(m_shownList, 0);
        m_shownList->setFocus();
        moveSelectedValue(m_shownList, m_hiddenList);
    }
    for (int i = 0; i < m_hiddenList->count() && m_shownList->count() < m;) {
        if (hidden.contains(m_hiddenList->item(i)->data(Qt::UserRole).toByteArray())) {
            selectRow(m_hiddenList, i);
            m_hiddenList->setFocus();
            moveSelectedValue(m_hiddenList, m_shownList);
        } else {
            ++i;
        }
    }

    if (noted == m_shownList) {
        pointMoveButtons(MoveDirection::ToShown);
        selectRow(m_shownList, -1);
        selectRow(m_hiddenList, notedIndex);
        m_hiddenList->setFocus();
    } else if (noted == m_hiddenList) {
        pointMoveButtons(MoveDirection::ToHidden);
        selectRow(m_hiddenList, -1);
        selectRow(m_shownList, notedIndex);
        m_shownList->setFocus();
    }
}

void FilterDialog::moveSelectedValue(QListWidget* source, QListWidget* target) {
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
    selectRow(source, index == source->count() ? index - 1 : index);
    int n = 0;
    if (NameList* list = pageValues(m_pageList->currentRow(), n))
        markMovedValue(*list, n, name);
}

void FilterDialog::markMovedValue(NameList& list, int n, const QByteArray& name) {
    QListWidget* focused = focusedList();
    for (int i = 0; i < n; ++i) {
        if (list[i].Name != name.toStdString())
            continue;
        if (focused == m_shownList)
            list[i].FiltEdit = true;
        else if (focused == m_hiddenList)
            list[i].FiltEdit = false;
    }
}

void FilterDialog::onDateModeClicked() { updateDatePage(); }

bool FilterDialog::periodNumber(int& number) const {
    if (m_periodNumberEdit->text().isEmpty())
        return false;
    bool ok = false;
    number = m_periodNumberEdit->text().toInt(&ok);
    return ok;
}

void FilterDialog::updateDatePage() {
    if (m_noDateRadio->isChecked()) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_fromTimePicker, m_fromDatePicker, m_toTimePicker, m_toDatePicker, m_periodNumberEdit, m_periodUnitList,
                                                          m_untilNowBox, m_fromCaption, m_toCaption})
            w->hide();
    } else if (m_lastPeriodRadio->isChecked()) {
        m_periodNumberEdit->show();
        m_periodUnitList->show();
        m_untilNowBox->hide();
        m_toCaption->hide();
        const bool hasText = !m_periodNumberEdit->text().isEmpty();
        for (QWidget* w : std::initializer_list<QWidget*>{m_fromTimePicker, m_fromDatePicker}) {
            w->setVisible(hasText);
            w->setEnabled(false); // they only show where the range starts
        }
        m_toTimePicker->hide();
        m_toDatePicker->hide();
        m_fromCaption->setVisible(hasText);
        int number = 0;
        if (periodNumber(number)) {
            SetLastPeriod(m_state.Filter.EditDateFilter, number, m_periodUnitList->currentIndex(), now());
            showPeriodInPickers();
        }
    } else if (m_intervalRadio->isChecked()) {
        m_periodNumberEdit->hide();
        m_periodUnitList->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{m_fromCaption, m_toCaption, m_untilNowBox, m_fromTimePicker, m_fromDatePicker, m_toTimePicker,
                                                          m_toDatePicker})
            w->show();
        m_fromTimePicker->setEnabled(true);
        m_fromDatePicker->setEnabled(true);
        if (m_untilNowBox->isChecked()) {
            m_toTimePicker->setEnabled(false);
            m_toDatePicker->setEnabled(false);
        }
    }
}

void FilterDialog::fillUnitWords(int count) {
    m_periodUnitList->clear();
    for (int kind = UnitKind::Hours; kind <= UnitKind::Years; ++kind)
        m_periodUnitList->addItem(Q(UnitWord(count, kind, m_state.Conv.Lang)));
}

bool FilterDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_periodNumberEdit) {
        if (event->type() == QEvent::KeyPress && !acceptsPeriodKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::KeyRelease)
            onPeriodNumberEdited();
        if (event->type() == QEvent::FocusOut)
            onPeriodNumberLeft();
    }
    return QDialog::eventFilter(watched, event);
}

bool FilterDialog::acceptsPeriodKey(QKeyEvent* event) {
    const QString text = event->text();
    // Keys without a printable character (backspace, tab, arrows, shortcuts) are the edit's own;
    // the validator keeps whatever they paste to 1..99.
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return true;
    if (text.size() != 1 || !text.at(0).isDigit() || text.at(0).unicode() > '9')
        return false;
    const int caret = m_periodNumberEdit->hasSelectedText() ? m_periodNumberEdit->selectionStart() : m_periodNumberEdit->cursorPosition();
    if (text.at(0) == QChar('0') && caret == 0)
        return false;
    return caret < 2;
}

void FilterDialog::onPeriodNumberEdited() {
    int number = 0;
    if (!periodNumber(number)) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_fromCaption, m_fromTimePicker, m_fromDatePicker, m_periodUnitList})
            w->hide();
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{m_fromCaption, m_fromTimePicker, m_fromDatePicker, m_periodUnitList})
        w->show();
    int index = m_periodUnitList->currentIndex();
    // A number without a unit would keep nothing but the single moment now; take days, as
    // leaving the box does.
    if (index < 0)
        index = 1;
    fillUnitWords(number);
    m_periodUnitList->setCurrentIndex(index);
    SetLastPeriod(m_state.Filter.EditDateFilter, number, index, now());
    showPeriodInPickers();
}

void FilterDialog::onPeriodNumberLeft() {
    const int index = m_periodUnitList->currentIndex();
    m_periodUnitList->clear();
    int number = 0;
    if (periodNumber(number)) {
        m_state.Filter.EditDateFilter.Kol = number;
        fillUnitWords(number);
        m_periodUnitList->setCurrentIndex(index >= 0 ? index : 1);
    }
}

void FilterDialog::onPeriodUnitChosen() {
    int number = 0;
    if (periodNumber(number)) {
        SetLastPeriod(m_state.Filter.EditDateFilter, number, m_periodUnitList->currentIndex(), now());
        showPeriodInPickers();
    }
}

void FilterDialog::onUntilNowToggled() {
    const bool untilNow = m_untilNowBox->isChecked();
    m_toTimePicker->setEnabled(!untilNow);
    m_toDatePicker->setEnabled(!untilNow);
    if (untilNow)
        setPickers(m_toTimePicker, m_toDatePicker, now());
}

void FilterDialog::onClockTick() {
    if (m_lastPeriodRadio->isChecked()) {
        int number = 0;
        if (periodNumber(number))
            SetLastPeriod(m_state.Filter.EditDateFilter, number, m_periodUnitList->currentIndex(), now());
        showPeriodInPickers();
    }
    if (m_untilNowBox->isChecked())
        setPickers(m_toTimePicker, m_toDatePicker, now());
}

void FilterDialog::setPickers(QTimeEdit* time, QDateEdit* date, double value) {
    if (!(value >= MinPickerValue)) // also NaN
        value = MinPickerValue;
    value = std::min(value, MaxPickerValue);
    const DateTimeParts p = DecodeDateTime(value);
    date->setDate(QDate(p.Year, p.Month, p.Day));
    time->setTime(QTime(p.Hour, p.Minute, p.Second, p.Millisecond));
}

double FilterDialog::pickerValue(const QTimeEdit* time, const QDateEdit* date) const {
    const QDate d = date->date();
    const QTime t = time->time();
    return EncodeDateTime({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()})
        .value_or(MinPickerValue);
}

void FilterDialog::showPeriodInPickers() {
    setPickers(m_fromTimePicker, m_fromDatePicker, m_state.Filter.EditDateFilter.fromDate);
    setPickers(m_toTimePicker, m_toDatePicker, m_state.Filter.EditDateFilter.toDate);
}

void FilterDialog::dateFilterToPage() {
    const TDateFilter& f = m_state.Filter.EditDateFilter;
    if (f.Krit == -1)
        m_noDateRadio->setChecked(true);
    else if (f.Krit == 0)
        m_lastPeriodRadio->setChecked(true);
    else if (f.Krit == 1)
        m_intervalRadio->setChecked(true);
    fillUnitWords(f.Kol);
    m_periodUnitList->setCurrentIndex(f.HMS >= 0 && f.HMS <= 4 ? f.HMS : -1);
    m_periodNumberEdit->setText(f.Kol >= 1 ? QString::number(f.Kol) : QString());
    updateDatePage();
    m_untilNowBox->setChecked(f.Now);
    setPickers(m_fromTimePicker, m_fromDatePicker, f.fromDate);
    setPickers(m_toTimePicker, m_toDatePicker, m_untilNowBox->isChecked() ? now() : f.toDate);
}

void FilterDialog::pageToDateFilter() {
    TDateFilter& f = m_state.Filter.EditDateFilter;
    if (m_periodNumberEdit->text().isEmpty() && m_lastPeriodRadio->isChecked())
        m_noDateRadio->setChecked(true);
    if (m_noDateRadio->isChecked()) {
        f.Krit = -1;
        return;
    }
    f.Krit = m_lastPeriodRadio->isChecked() ? 0 : 1;
    int number = 0;
    if (periodNumber(number))
        f.Kol = number;
    f.HMS = m_periodUnitList->currentIndex();
    f.fromDate = pickerValue(m_fromTimePicker, m_fromDatePicker);
    f.toDate = pickerValue(m_toTimePicker, m_toDatePicker);
    f.Now = m_untilNowBox->isChecked();
}

void FilterDialog::onOkClicked() {
    ForEachEntry(m_state.Data, [](NameEntry& e) { e.FiltOn = e.FiltEdit; });
    pageToDateFilter();
    m_state.Filter.ActiveDateFilter = m_state.Filter.EditDateFilter;
    m_state.Filter.FActInd = static_cast<uint8_t>(std::max(0, m_pageList->currentRow()));
    accept();
}

void FilterDialog::onResetClicked() {
    m_noDateRadio->setChecked(true);
    ClearFiltEdit(m_state.Data);
    emptyLists();
    showCurrentPage();
    pointMoveButtons(MoveDirection::ToHidden);
    if (m_shownList->isVisibleTo(this))
        m_shownList->setFocus();
    selectRow(m_shownList, 0);
}

void FilterDialog::onCloseClicked() {
    ClearFiltEdit(m_state.Data);
    reject();
}

QString FilterDialog::initialFolder() const {
    const QString dir = QString::fromStdString(m_state.Filter.FSaveDir);
    const qsizetype folderEnd =
        std::max({dir.lastIndexOf(QChar('/')), dir.lastIndexOf(QChar('\\')), dir.lastIndexOf(QChar(':'))});
    return folderEnd >= 0 ? dir : QCoreApplication::applicationDirPath();
}

void FilterDialog::prepareFileDialog(QFileDialog& dialog, bool save) {
    dialog.setObjectName(save ? "SaveDialog1" : "OpenDialog1");
    // Qt's own dialog reports every folder the user enters.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(tr(save ? SaveTitle : OpenTitle));
    dialog.setNameFilter(tr(save ? SaveFilter : OpenFilter));
    dialog.setFileMode(QFileDialog::AnyFile); // a name that does not exist loads the defaults
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setDefaultSuffix("fil");
    dialog.setDirectory(initialFolder());
    dialog.selectFile(Q(ProposedFileName));
    connect(&dialog, &QFileDialog::directoryEntered, this, &FilterDialog::onFileDialogFolderChanged);
}

QString FilterDialog::runFileDialog(QFileDialog& dialog) {
    QString path;
    if (fileDialogHook)
        path = fileDialogHook(dialog);
    else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        path = dialog.selectedFiles().first();
    if (!path.isEmpty())
        onFileDialogFolderChanged(QFileInfo(path).absolutePath());
    return path;
}

void FilterDialog::onFileDialogFolderChanged(const QString& folder) {
    m_state.Filter.FSaveDir = QDir::toNativeSeparators(folder).toStdString();
}

void FilterDialog::onOpenClicked() {
    QFileDialog dialog(this);
    prepareFileDialog(dialog, false);
    const QString path = runFileDialog(dialog);
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    try {
        const IniFile ini(shown.toStdString(), shown.toStdString(), m_state.Conv.Lang);
        LoadFilterFile(ini, m_state.Filter, m_state.Data, now(), m_state.Conv.DecimalSep);
    } catch (const LoadError& e) {
        MsgBox(QString::fromStdString(e.what()), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error, MsgButtons::Ok, this);
        return;
    }
    dateFilterToPage();
    emptyLists();
    showCurrentPage();
}

void FilterDialog::onSaveClicked() {
    QFileDialog dialog(this);
    prepareFileDialog(dialog, true);
    const QString path = runFileDialog(dialog);
    if (path.isEmpty())
        return;
    pageToDateFilter();
    const QString shown = QDir::toNativeSeparators(path);
    std::string error;
    try {
        IniFile ini(shown.toStdString(), shown.toStdString(), m_state.Conv.Lang);
        WriteFilterSettings(ini, m_state.Filter, m_state.Data, FilterSource::WorkingCopy, m_state.Conv.DecimalSep);
        error = ini.Save();
    } catch (const LoadError& e) {
        error = e.what();
    }
    if (!error.empty())
        MsgBox(QString::fromStdString(error), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error, MsgButtons::Ok, this);
}

bool RunFilterDialog(ProgramState& v, QWidget* mainWindow) {
    FilterDialog dialog(v, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kel
