#include "app/Unit1.h"

#include "app/AboutF.h"
#include "app/Controls.h"
#include "app/Look.h"
#include "app/MsgBox.h"
#include "app/Pictures.h"
#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "filter/ui/Unit3.h"
#include "settings/Settings.h"
#include "stats/ui/JustifiedLabel.h"
#include "table/ui/RunsGrid.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace kel {
namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

PanelBox* MakeBox(QWidget* parent, const QString& name, int x, int y, int w, int h) {
    auto* box = new PanelBox(parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, h);
    return box;
}

} // namespace

bool TForm1::TrayAvailable() {
    if (TrayAvailableOverride >= 0)
        return TrayAvailableOverride != 0;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// ---- construction -----------------------------------------------------------------------

TForm1::TForm1(const QString& settingsPath, const QString& dataDir, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath), m_exePath(QCoreApplication::applicationFilePath()) {
    m_filterDialog = [](ProgramState& v, QWidget* owner) { RunFilterDialog(v, owner); };
    m_decimalSep = QLocale().decimalPoint().toStdString();
    CreateControls();

    // Loading: the stage list, the settings with the saved filter, the times log.
    m_options.DataDir = ToPath(dataDir);
    m_options.SettingsPath = ToPath(settingsPath);
    m_options.ProgramDir = QDir::toNativeSeparators(QFileInfo(settingsPath).absolutePath() + QLatin1Char('/'))
                               .toStdString();
    m_options.DecimalSep = m_decimalSep;
    m_options.Now = NowDateTime();
    try {
        LoadPhase(m_v, m_options);
    } catch (const LoadError& error) {
        MsgBox(LoadFailureMessage(error));
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    }

    // The first display.
    FillStageListBox();
    ApplySettings();
    LoadCaptHintsF1();
    if (m_onTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    TrayIcon = new QSystemTrayIcon(AppIcon(), this);
    TrayIcon->setToolTip(Q(ProgramCaption));
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        TrayActivated(static_cast<int>(reason));
    });
    if (TrayAvailable())
        TrayIcon->show();
    ApplyLayout();

    DisplayTexts texts;
    try {
        texts = SetupPhase(m_v, m_options);
    } catch (const LoadError& error) {
        MsgBox(LoadFailureMessage(error));
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    } catch (const std::exception& error) {
        MsgBox(QString::fromUtf8(error.what()), {}, {}, Q(ErrorCaption), MessageIcon::Error);
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    }
    CheckBox[1]->setChecked(m_v.Disp.BySectors);
    CheckBox[2]->setChecked(m_v.Disp.Relative && !m_v.Disp.AllStages);
    CheckBox[3]->setChecked(m_v.Disp.AllStages);
    ListBox1->setEnabled(!m_v.Disp.AllStages);
    CheckBox[2]->setEnabled(!m_v.Disp.AllStages);
    SyncListSelection();
    if (QListWidgetItem* item = ListBox1->currentItem())
        ListBox1->scrollToItem(item, QAbstractItemView::PositionAtTop);
    ShowTexts(texts);
    UpdateFilterButton();
    if (m_v.Sel.SelCount > 0)
        Grid1->setCurrentRow(m_v.Disp.SelCur);
    Grid1->setTopRow(m_v.Config.PosTableTop);

    m_loaded = true;
    m_inTransition = false;
    m_pendingBounds = OuterBounds();
    ApplySizeLimits();
    qApp->installEventFilter(this);

    if (const std::optional<Message> notice = ClosingNotice(m_v))
        MsgBox(*notice);
    ReportMissingStages();
}

TForm1::~TForm1() {
    if (qApp)
        qApp->removeEventFilter(this);
    FormDestroy();
}

void TForm1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    setFont(WindowFont());
    setWindowIcon(AppIcon());

    m_sizeMoveEnd = new QTimer(this);
    m_sizeMoveEnd->setSingleShot(true);
    m_sizeMoveEnd->setInterval(250);
    connect(m_sizeMoveEnd, &QTimer::timeout, this, [this] {
        if (CGrid1->hasFocus())
            Grid1->setFocus();
    });

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(2, 2, 141, 300);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });

    Grid1 = new RunsGrid(this);
    CGrid1 = Grid1->columnHeader();
    PopupMenu1 = Grid1->columnMenu();
    connect(Grid1, &RunsGrid::headerSectionClicked, this, [this](int section) { CGrid1SectionClick(section); });
    connect(Grid1, &RunsGrid::cursorMoved, this, [this](int row) { Grid1Click(row); });

    const QFont captionFont = PanelCaptionFont();
    const QFont boxFont = WindowFont();
    const QFont valueFont = ValueFont();
    QPalette valuePalette = palette();
    valuePalette.setColor(QPalette::WindowText, Maroon);

    TrackInfo = MakeBox(this, QStringLiteral("TrackInfo"), 148, 2, 269, PanelFullHeight[0]);
    GameInfo = MakeBox(this, QStringLiteral("GameInfo"), 148, 324, 269, PanelFullHeight[1]);
    VisualSettings = MakeBox(this, QStringLiteral("VisualSettings"), 148, 442, 269, PanelFullHeight[2]);
    for (PanelBox* panel : {TrackInfo, GameInfo, VisualSettings}) {
        panel->setFont(captionFont);
        connect(panel, &PanelBox::doubleClicked, this, [this](PanelBox* box) { GrInfoDblClick(box); });
    }

    struct BoxPlace {
        int N;
        PanelBox* Panel;
        int X, Y, W;
    };
    const BoxPlace places[] = {
        {1, TrackInfo, 3, 190, 130},    {6, TrackInfo, 135, 190, 130}, {2, TrackInfo, 3, 220, 130},
        {7, TrackInfo, 135, 220, 130},  {11, TrackInfo, 3, 250, 130},  {10, TrackInfo, 135, 250, 130},
        {3, TrackInfo, 3, 280, 130},    {5, TrackInfo, 135, 280, 130}, {12, GameInfo, 3, 18, 262},
        {14, GameInfo, 3, 48, 130},     {13, GameInfo, 135, 48, 130},  {18, GameInfo, 3, 78, 130},
        {19, GameInfo, 135, 78, 130},   {16, GameInfo, 3, 108, 130},   {17, GameInfo, 135, 108, 130},
    };
    const int captionHeight = QFontMetrics(boxFont).height();
    for (const BoxPlace& place : places) {
        PanelBox* box = MakeBox(place.Panel, QStringLiteral("GB%1").arg(place.N), place.X, place.Y, place.W, 31);
        box->setFont(boxFont);
        GB[place.N] = box;
        auto* label = new QLabel(box);
        label->setObjectName(QStringLiteral("Label%1").arg(place.N));
        label->setFont(valueFont);
        label->setPalette(valuePalette);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(2, captionHeight, place.W - 4, 31 - captionHeight - 2);
        Label[place.N] = label;
    }
    GB[16]->hide();
    GB[17]->hide();

    GB[15] = MakeBox(TrackInfo, QStringLiteral("GB15"), 4, 18, 261, 170);
    GB[15]->setFont(boxFont);
    Label15 = new JustifiedLabel(GB[15]);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setGeometry(2, captionHeight + 2, 257, 170 - captionHeight - 4);
    Label[15] = Label15;
    Label[4] = new QLabel(GB[15]);
    Label[4]->setObjectName(QStringLiteral("Label4"));
    Label[4]->setFont(valueFont);
    Label[4]->setPalette(valuePalette);
    Label[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label[4]->setGeometry(196, 154, 61, 14);

    struct CheckPlace {
        int X, Y, W, H;
        bool Wrap;
    };
    // The run-number box sits beside the filter button, inside its panel.
    const CheckPlace checks[5] = {
        {}, {10, 22, 107, 17, false}, {10, 44, 109, 23, true}, {10, 74, 81, 17, false}, {135, 58, 131, 25, true}};
    for (int n = 1; n <= 4; ++n) {
        auto* box = new DisplayCheckBox(VisualSettings);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        box->setFont(boxFont);
        box->setGeometry(checks[n].X, checks[n].Y, checks[n].W, checks[n].H);
        box->setWordWrap(checks[n].Wrap);
        connect(box, &DisplayCheckBox::activated, this,
                [this](DisplayCheckBox* b, bool byKeyboard) { CheckBoxMouseDown(b, byKeyboard); });
        CheckBox[n] = box;
    }
    CheckBox[4]->setTristate(true);

    SpeedButton2 = new PictureButton(VisualSettings);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setFont(boxFont);
    SpeedButton2->setGeometry(176, 20, 87, 30);
    SpeedButton2->setPicture(FilterPicture());
    connect(SpeedButton2, &QAbstractButton::clicked, this, [this] { SpeedButton2Click(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(boxFont);
    StatusBar1->setFixedHeight(18);
    StatusBar1->setSizeGripEnabled(true);
    // Panels keep their widths in a narrow window (cut at the right edge, never squeezed).
    const int panelWidths[4] = {125, 230, 210, 50};
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        panel->setGeometry(left, 1, panelWidths[i] - 2, 17);
        left += panelWidths[i];
        StatusPanel[i] = panel;
    }
}

void TForm1::FillStageListBox() {
    ListBox1->blockSignals(true);
    ListBox1->clear();
    for (const std::string& name : m_v.StageList) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1251ToUtf8(name)), ListBox1);
        item->setSizeHint(QSize(0, 13));
    }
    ListBox1->blockSignals(false);
}

// The window's share of the settings, in the order they were stored (no handler runs).
void TForm1::ApplySettings() {
    const Settings& c = m_v.Config;
    CheckBox[1]->setChecked(c.TimeForSect);
    CheckBox[2]->setChecked(c.Otnos);
    CheckBox[3]->setChecked(c.AllTrack);
    Grid1->setRowSelect(c.GridStrSel);
    TrackInfo->resize(TrackInfo->width(), c.TrInfo ? PanelFullHeight[0] : CollapsedHeight);
    GameInfo->resize(GameInfo->width(), c.GameInfo ? PanelFullHeight[1] : CollapsedHeight);
    VisualSettings->resize(VisualSettings->width(), c.VisSett ? PanelFullHeight[2] : CollapsedHeight);
    m_svGrInfo = c.SvGrInfo;
    SetOuterBounds(QRect(c.X, c.Y, c.Width, c.Height));
    m_dockForm = c.DockForm;
    m_onTop = c.OnTop;
    m_maxWin = c.MaxWin;
    m_normalBounds = QRect(c.X, c.Y, c.Width, c.Height);
    if (m_maxWin)
        setWindowState(windowState() | Qt::WindowMaximized);
    Grid1->setSectionWidths(c.HSW);
}

void TForm1::LoadCaptHintsF1() {
    setWindowTitle(Q(ProgramCaption));
    Label15->setText(QString());
    TrackInfo->setTitle(QStringLiteral("Статистика трассы"));
    GameInfo->setTitle(QStringLiteral("Статистика игры"));
    VisualSettings->setTitle(QStringLiteral("Параметры отображения"));
    ListBox1->setToolTip(QStringLiteral("Выберите трассу, статистику которой хотите посмотреть"));
    for (int n = 1; n <= 20; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (n < static_cast<int>(GB.size()) && GB[static_cast<std::size_t>(n)])
            GB[static_cast<std::size_t>(n)]->setTitle(Q(PanelCaptions[i]));
        if (n < static_cast<int>(Label.size()) && Label[static_cast<std::size_t>(n)])
            Label[static_cast<std::size_t>(n)]->setToolTip(Q(PanelHints[i]));
    }
    SpeedButton2->setText(QStringLiteral("Фильтр ..."));
    SpeedButton2->setToolTip(QStringLiteral("Нажмите здесь, чтобы задать условия выборки записей"));
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        CheckBox[static_cast<std::size_t>(n)]->setText(Q(CheckCaptions[i]));
        CheckBox[static_cast<std::size_t>(n)]->setToolTip(Q(CheckHints[i]).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
}

// ---- layout ----------------------------------------------------------------------------

int TForm1::ListWidth() const { return ListBox1->width(); }
int TForm1::PanelWidth() const { return TrackInfo->width(); }

int TForm1::FrameExtraWidth() const { return isWindow() ? frameGeometry().width() - width() : 0; }
int TForm1::FrameExtraHeight() const { return isWindow() ? frameGeometry().height() - height() : 0; }

QRect TForm1::OuterBounds() const { return frameGeometry(); }

void TForm1::SetOuterBounds(const QRect& bounds) {
    move(bounds.topLeft());
    resize(std::max(1, bounds.width() - FrameExtraWidth()), std::max(1, bounds.height() - FrameExtraHeight()));
}

void TForm1::ApplyLayout() {
    const int wl = ListWidth();
    const int wt = PanelWidth();
    Grid1->move(m_svGrInfo ? wl + 7 : wl + wt + 12, 2);
    for (PanelBox* panel : {TrackInfo, GameInfo, VisualSettings})
        panel->setVisible(!m_svGrInfo);
    ListBox1->move(2, 2);
    TrackInfo->move(wl + 7, 2);
    GameInfo->move(wl + 7, GameInfo->y());
    VisualSettings->move(wl + 7, VisualSettings->y());
    SetGrInfoPos();
    LayoutToSize();
}

void TForm1::SetGrInfoPos() {
    const int x = ListWidth() + 7;
    TrackInfo->move(x, 2);
    GameInfo->move(x, TrackInfo->height() + 7);
    VisualSettings->move(x, TrackInfo->height() + GameInfo->height() + 10);
    if (!m_svGrInfo) {
        const int need = TrackInfo->height() + GameInfo->height() + VisualSettings->height() + 44;
        const QRect outer = OuterBounds();
        if (outer.height() < need)
            SetOuterBounds(QRect(outer.topLeft(), QSize(outer.width(), need)));
    }
    ApplySizeLimits();
}

// Size limits; none while the window is being created or closed.
void TForm1::ApplySizeLimits() {
    if (m_inTransition) {
        setMinimumSize(0, 0);
        return;
    }
    const int wl = ListWidth();
    const int fw = FrameExtraWidth();
    const int fh = FrameExtraHeight();
    int minWidth = 0;
    int minHeight = 0;
    if (m_svGrInfo) {
        minWidth = wl + 200;
        minHeight = 200;
    } else {
        minWidth = wl + PanelWidth() + 200;
        minHeight = std::max(200, fh + StatusBar1->height() + TrackInfo->height() + GameInfo->height() +
                                      VisualSettings->height() + 14);
    }
    setMinimumSize(std::max(0, minWidth - fw), std::max(0, minHeight - fh));
    if (const QScreen* s = screen())
        setMaximumSize(std::max(minimumWidth(), s->geometry().width() - fw),
                       std::max(minimumHeight(), s->geometry().height() - fh));
}

// The table always ends at the right edge of the client area; the list and the table end
// one pixel above the status bar.
void TForm1::LayoutToSize() {
    const int wl = ListWidth();
    const int wt = PanelWidth();
    const int cw = width();
    const int ch = height();
    ListBox1->resize(wl, std::max(0, ch - 21));
    const int gridWidth = m_svGrInfo ? cw - wl - 7 : cw - wl - wt - 12;
    Grid1->resize(std::max(0, gridWidth), std::max(0, ch - 21));
    StatusBar1->setGeometry(0, ch - StatusBar1->height(), cw, StatusBar1->height());
}

// The outer bounds were set while the window had no frame yet; once the frame is known they are
// set again, so that a restart keeps the outer size instead of growing by the frame each time.
void TForm1::ApplyPendingBounds() {
    if (!m_pendingBounds.isValid() || !isVisible())
        return;
    if (isMaximized() || isMinimized()) {
        m_pendingBounds = QRect();
        ApplySizeLimits();
        return;
    }
    if (FrameExtraWidth() == 0 && FrameExtraHeight() == 0)
        return;
    const QRect bounds = m_pendingBounds;
    m_pendingBounds = QRect();
    ApplySizeLimits();
    SetOuterBounds(bounds);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ApplyPendingBounds();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyPendingBounds();
    LayoutToSize();
    FocusToHeaderDuringSizing();
    ConfineToWorkArea();
}

void TForm1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    ApplyPendingBounds();
    FocusToHeaderDuringSizing();
    ConfineToWorkArea();
}

// While the window is moved or sized the table gives the focus to its header; it gets it back
// once the window has stood still for a moment.
void TForm1::FocusToHeaderDuringSizing() {
    if (m_inTransition)
        return;
    if (Grid1->hasFocus())
        CGrid1->setFocus();
    if (CGrid1->hasFocus())
        m_sizeMoveEnd->start();
}

void TForm1::ConfineToWorkArea() {
    if (!m_dockForm || m_confining || m_inTransition || isMaximized() || isMinimized() || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    const int left = area.x();
    const int top = area.y();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    const QRect outer = OuterBounds();
    int x = outer.x();
    int y = outer.y();
    if (x <= left)
        x = left;
    if (x + outer.width() >= right)
        x = right - outer.width();
    if (y <= top)
        y = top;
    if (y + outer.height() >= bottom)
        y = bottom - outer.height();
    if (x != outer.x() || y != outer.y()) {
        m_confining = true;
        move(x, y);
        m_confining = false;
    }
}

void TForm1::GrInfoDblClick(PanelBox* panel) {
    int full = PanelFullHeight[0];
    if (panel == GameInfo)
        full = PanelFullHeight[1];
    else if (panel == VisualSettings)
        full = PanelFullHeight[2];
    else if (panel != TrackInfo)
        return;
    panel->resize(panel->width(), panel->height() == CollapsedHeight ? full : CollapsedHeight);
    SetGrInfoPos();
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    FormDblClick(event->globalPosition().toPoint());
}

void TForm1::FormDblClick(const QPoint& globalPos) {
    const QRect outer = OuterBounds();
    const int l = outer.x();
    const int t = outer.y();
    const int h = outer.height();
    const int wl = ListWidth();
    const int wt = PanelWidth();
    const int x = globalPos.x();
    const int y = globalPos.y();
    const bool inHeight = t < y && y < t + h;
    if (l + wl + wt < x && x < l + wl + wt + 30 && inHeight) {
        m_svGrInfo = true;
        Grid1->move(wl + 7, 2);
        for (PanelBox* panel : {TrackInfo, GameInfo, VisualSettings})
            panel->hide();
        ApplySizeLimits();
        const int screenWidth = screen() ? screen()->geometry().width() : outer.width() + 1;
        if (outer.width() < screenWidth && !isMaximized())
            SetOuterBounds(QRect(outer.topLeft(), QSize(outer.width() - (wt + 5), outer.height())));
        LayoutToSize();
    } else if (l + wl < x && x < l + wl + 30 && inHeight) {
        for (PanelBox* panel : {TrackInfo, GameInfo, VisualSettings})
            panel->show();
        if (m_svGrInfo) {
            if (!isMaximized())
                SetOuterBounds(QRect(outer.topLeft(), QSize(outer.width() + wt + 5, outer.height())));
            SetGrInfoPos();
        }
        Grid1->move(wl + wt + 12, 2);
        m_svGrInfo = false;
        ApplySizeLimits();
        LayoutToSize();
    }
}

// ---- window commands ---------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_loaded)
        return;
    m_inTransition = true;
    ApplySizeLimits();
    QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_inTransition)
        return;
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const Qt::WindowStates now = windowState();
    if ((now & Qt::WindowMaximized) && !(old & Qt::WindowMaximized)) {
        const QRect normal = normalGeometry();
        if (normal.isValid())
            m_normalBounds = QRect(normal.x() - (geometry().x() - frameGeometry().x()),
                                   normal.y() - (geometry().y() - frameGeometry().y()),
                                   normal.width() + FrameExtraWidth(), normal.height() + FrameExtraHeight());
        m_maxWin = true;
    } else if ((old & Qt::WindowMaximized) && !(now & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        m_maxWin = false;
    }
    // Minimised, the window leaves the task bar and only the tray icon brings it back; without a
    // notification area it stays an ordinary minimised window.
    if ((now & Qt::WindowMinimized) && !(old & Qt::WindowMinimized) && TrayAvailable()) {
        m_minimisedToTray = true;
        QTimer::singleShot(0, this, [this] {
            if (m_minimisedToTray)
                hide();
        });
    }
}

void TForm1::TrayActivated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
        return;
    if (!m_minimisedToTray && !isMinimized())
        return;
    m_minimisedToTray = false;
    if (m_maxWin)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
}

// ---- events that recompute ---------------------------------------------------------------

void TForm1::ListBox1Click() {
    if (m_inTransition || ListBox1->currentRow() < 0)
        return;
    m_v.StageIndex = ListBox1->currentRow();
    ShowTexts(OnStageChosen(m_v, m_decimalSep));
}

void TForm1::SpeedButton2Click() {
    SpeedButton2->setChecked(true);
    if (m_filterDialog) {
        try {
            m_filterDialog(m_v, this);
        } catch (const std::exception& error) {
            UpdateFilterButton();
            MsgBox(QString::fromUtf8(error.what()), {}, {}, Q(ErrorCaption), MessageIcon::Error);
            return;
        }
    }
    update();
    UpdateFilterButton();
    ShowTexts(OnFilterClosed(m_v, m_decimalSep));
    if (const std::optional<Message> notice = NothingPassesNotice(m_v))
        MsgBox(*notice, this);
}

void TForm1::CheckBoxMouseDown(DisplayCheckBox* box, bool byKeyboard) {
    if (m_inTransition || !box->isEnabled())
        return;
    // A mouse press leaves the focus on the game panel, not on the box.
    if (!byKeyboard)
        GameInfo->setFocus();
    box->advanceState();
    if (box == CheckBox[3]) {
        ActionCheckBox3Click();
        return;
    }
    m_v.Disp.BySectors = CheckBox[1]->isChecked();
    m_v.Disp.Relative = CheckBox[2]->isChecked();
    switch (CheckBox[4]->checkState()) {
    case Qt::Unchecked:
        m_v.Disp.NumMode = NumberMode::Unchecked;
        break;
    case Qt::Checked:
        m_v.Disp.NumMode = NumberMode::Checked;
        break;
    case Qt::PartiallyChecked:
        m_v.Disp.NumMode = NumberMode::Grayed;
        break;
    }
    ShowTable(OnDisplayOptionChanged(m_v, m_decimalSep));
}

void TForm1::ActionCheckBox3Click() {
    const bool all = CheckBox[3]->isChecked();
    ListBox1->setEnabled(!all);
    CheckBox[2]->setEnabled(!all);
    if (all)
        CheckBox[2]->setChecked(false);
    m_v.Disp.AllStages = all;
    m_v.Disp.Relative = CheckBox[2]->isChecked();
    ShowTexts(OnAllStagesChanged(m_v, m_decimalSep));
}

void TForm1::Grid1Click(int row) {
    if (m_inTransition)
        return;
    const DisplayTexts texts = OnCursorMoved(m_v, row, m_decimalSep);
    if (m_v.Disp.AllStages) {
        ShowStageTexts(texts.Stage);
        Grid1->setMarks(m_v.Disp);
        ShowDescription();
        SyncListSelection();
    }
    ShowStatusTexts(texts.Status);
    if (texts.Table.Data)
        ShowTable(texts.Table);
    ReportMissingStages();
}

void TForm1::CGrid1SectionClick(int section) {
    if (m_inTransition)
        return;
    ShowTexts(OnHeaderClick(m_v, section, m_decimalSep));
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete && Grid1->hasFocus()) {
        MsgBox(QStringLiteral("А удалять показанные результаты нехорошо"), {}, {}, Q(CheatCaption),
               MessageIcon::Warning, MsgButtons::Ok, this);
        return true;
    }
    if (key == Qt::Key_F1) {
        QWidget* const noted = ListBox1->hasFocus() ? static_cast<QWidget*>(ListBox1)
                               : Grid1->hasFocus()  ? static_cast<QWidget*>(Grid1)
                                                    : nullptr;
        Grid1->setFocus();
        ShowAbout(this, m_exePath);
        activateWindow();
        if (noted)
            noted->setFocus();
        else
            setFocus();
        return true;
    }
    return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_loaded && !m_inTransition) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (FormKeyDown(key->key(), key->modifiers()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- showing what the core computed ------------------------------------------------------

void TForm1::ShowTexts(const DisplayTexts& texts) {
    ShowStageTexts(texts.Stage);
    ShowGameTexts(texts.Game);
    ShowStatusTexts(texts.Status);
    if (texts.Table.Data)
        ShowTable(texts.Table);
    ShowDescription();
    SyncListSelection();
    if (!m_inTransition)
        ReportMissingStages();
}

// Runs on stages that "trinfo.bin" does not describe are named once, when first met.
void TForm1::ReportMissingStages() {
    if (const std::optional<Message> notice = MissingStagesNotice(m_v))
        MsgBox(*notice, isVisible() ? this : nullptr);
}

void TForm1::ShowStageTexts(const StageStatsTexts& t) {
    Label[1]->setText(QString::fromStdString(t.Length));
    Label[2]->setText(QString::fromStdString(t.Distance));
    Label[3]->setText(QString::fromStdString(t.Runs));
    Label[4]->setText(QString::fromStdString(t.Number));
    Label[5]->setText(QString::fromStdString(t.Combined));
    Label[6]->setText(QString::fromStdString(t.Best));
    Label[7]->setText(QString::fromStdString(t.Worst));
    Label[10]->setText(QString::fromStdString(t.Average));
    Label[11]->setText(QString::fromStdString(t.Speed));
}

void TForm1::ShowGameTexts(const GameStatsTexts& t) {
    Label[12]->setText(QString::fromStdString(t.TotalTime));
    Label[13]->setText(QString::fromStdString(t.Distance));
    Label[14]->setText(QString::fromStdString(t.Speed));
    Label[18]->setText(QString::fromStdString(t.Finished));
    Label[19]->setText(QString::fromStdString(t.Share));
}

void TForm1::ShowStatusTexts(const StatusBarTexts& t) {
    StatusPanel[0]->setText(QString::fromStdString(t.Cursor));
    StatusPanel[1]->setText(QString::fromStdString(t.Date));
    StatusPanel[2]->setText(QString::fromStdString(t.Speed));
}

void TForm1::ShowDescription() {
    Label15->setTexts(Cp1251ToUtf8(m_v.Stages.Buffer.StageDesc1), Cp1251ToUtf8(m_v.Stages.Buffer.StageDesc2));
}

// The list follows the stage the core selected (all-stages mode follows the cursor run).
void TForm1::SyncListSelection() {
    if (m_v.StageIndex == ListBox1->currentRow())
        return;
    ListBox1->blockSignals(true);
    if (m_v.StageIndex >= 0 && m_v.StageIndex < ListBox1->count())
        ListBox1->setCurrentRow(m_v.StageIndex);
    else
        ListBox1->setCurrentRow(-1);
    ListBox1->blockSignals(false);
}

void TForm1::UpdateFilterButton() {
    m_v.Filter.FilterActive = ComputeFilterActive(m_v.Filter.ActiveDateFilter, m_v.Data);
    SpeedButton2->setChecked(m_v.Filter.FilterActive);
    QFont f = SpeedButton2->font();
    f.setBold(m_v.Filter.FilterActive);
    SpeedButton2->setFont(f);
    SpeedButton2->setCaptionColour(m_v.Filter.FilterActive ? QColor(Qt::red) : QColor(Qt::black));
}

// ---- the runs table ----------------------------------------------------------------------

void TForm1::ShowTable(const TableSnapshot& snapshot) { Grid1->setSnapshot(snapshot, m_v.Disp); }

// ---- shutdown ----------------------------------------------------------------------------

void TForm1::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (!m_loaded)
        return;
    if (TrayIcon)
        TrayIcon->hide();
    Grid1->horizontalScrollBar()->setValue(0);
    m_v.Stages.CloseStageFile();
    if (m_inTransition)
        SaveSettingsNow();
}

void TForm1::SaveSettingsNow() {
    Settings& c = m_v.Config;
    c.TimeForSect = CheckBox[1]->isChecked();
    c.Otnos = CheckBox[2]->isChecked();
    c.AllTrack = CheckBox[3]->isChecked();
    c.NumView = CheckBox[4]->checkState() == Qt::Checked ? 1 : CheckBox[4]->checkState() == Qt::PartiallyChecked ? 2 : 0;
    c.TrCur = ListBox1->currentRow();
    c.PrCur = Grid1->currentRow();
    c.PosTableTop = Grid1->topRow();
    c.GridStrSel = Grid1->rowSelect();
    c.TrInfo = TrackInfo->height() != CollapsedHeight;
    c.GameInfo = GameInfo->height() != CollapsedHeight;
    c.VisSett = VisualSettings->height() != CollapsedHeight;
    c.SvGrInfo = m_svGrInfo;
    c.MaxWin = m_maxWin;
    const QRect bounds = m_maxWin ? m_normalBounds : OuterBounds();
    c.X = bounds.x();
    c.Y = bounds.y();
    c.Height = bounds.height();
    c.Width = bounds.width();
    c.DockForm = m_dockForm;
    c.OnTop = m_onTop;
    c.HSW = Grid1->sectionWidths();
    c.TypeSort = m_v.Disp.TypeSort;
    c.UpOrDown = m_v.Disp.UpOrDown != 0;

    const std::string failure = SaveSettingsFile(m_v, ToPath(m_settingsPath), m_decimalSep);
    if (!failure.empty())
        MsgBox(QString::fromStdString(failure), {}, {}, Q(ErrorCaption), MessageIcon::Error);
}

} // namespace kel
