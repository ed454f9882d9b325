#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/Controls.h"
#include "app/InterfaceLanguage.h"
#include "app/LogWatcher.h"
#include "gui/Look.h"
#include "gui/MsgBox.h"
#include "gui/Pictures.h"
#include "gui/QtText.h"
#include "gui/Translation.h"
#include "gui/ScreenPlace.h"
#include "data/Cp1251.h"
#include "data/Csv.h"
#include "data/DateTime.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "filter/ui/FilterDialog.h"
#include "progress/ProgressFigures.h"
#include "progress/ProgressTexts.h"
#include "progress/ui/ProgressWindow.h"
#include "settings/Settings.h"
#include "stats/ui/JustifiedLabel.h"
#include "table/TableExport.h"
#include "table/ui/RunsGrid.h"
#include "table/ui/RunsTableModel.h"

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
#include <QSignalBlocker>
#include <QStyle>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <limits>

namespace kel {
namespace {

PanelBox* MakeBox(QWidget* parent, const QString& name, int x, int y, int w, int h) {
    auto* box = new PanelBox(parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, h);
    return box;
}

// The value boxes of the two statistics panels. Number: the digits of the object names "GBn"
// and "Labeln", and the place of the caption and hint in PanelCaptionIds and PanelHintIds.
struct ValueBoxPlace {
    ValueBox MainWindow::*Member;
    PanelBox* MainWindow::*Panel;
    int Number;
    int X, Y, Width;
};
const ValueBoxPlace ValueBoxPlaces[] = {
    {&MainWindow::stageLength, &MainWindow::stagePanel, 1, 3, 190, 130},
    {&MainWindow::bestTime, &MainWindow::stagePanel, 6, 135, 190, 130},
    {&MainWindow::stageDistance, &MainWindow::stagePanel, 2, 3, 220, 130},
    {&MainWindow::worstTime, &MainWindow::stagePanel, 7, 135, 220, 130},
    {&MainWindow::stageSpeed, &MainWindow::stagePanel, 11, 3, 250, 130},
    {&MainWindow::averageTime, &MainWindow::stagePanel, 10, 135, 250, 130},
    {&MainWindow::stageRuns, &MainWindow::stagePanel, 3, 3, 280, 130},
    {&MainWindow::combinedBest, &MainWindow::stagePanel, 5, 135, 280, 130},
    {&MainWindow::totalTime, &MainWindow::gamePanel, 12, 3, 18, 262},
    {&MainWindow::gameSpeed, &MainWindow::gamePanel, 14, 3, 48, 130},
    {&MainWindow::totalDistance, &MainWindow::gamePanel, 13, 135, 48, 130},
    {&MainWindow::finishedRuns, &MainWindow::gamePanel, 18, 3, 78, 130},
    {&MainWindow::finishedShare, &MainWindow::gamePanel, 19, 135, 78, 130},
    {&MainWindow::level, &MainWindow::gamePanel, 16, 3, 108, 130},
    {&MainWindow::rank, &MainWindow::gamePanel, 17, 135, 108, 130},
};

// The status bar panels and their least widths.
struct StatusPanelPlace {
    QLabel* MainWindow::*Member;
    int Width;
};
const StatusPanelPlace StatusPanelPlaces[] = {{&MainWindow::cursorPanel, 125},
                                              {&MainWindow::datePanel, 230},
                                              {&MainWindow::speedPanel, 210},
                                              {&MainWindow::notePanel, 50}};

// The display boxes; Caption indexes CheckCaptionIds and CheckHintIds.
struct DisplayBoxPlace {
    DisplayCheckBox* MainWindow::*Member;
    const char* ObjectName;
    std::size_t Caption;
    QRect Geometry;
    bool Wrap;
};
// The run-number box sits beside the filter button, inside its panel.
const DisplayBoxPlace DisplayBoxPlaces[] = {
    {&MainWindow::bySectorsBox, "CheckBox1", 0, QRect(10, 22, 107, 17), false},
    {&MainWindow::relativeBox, "CheckBox2", 1, QRect(10, 44, 109, 23), true},
    {&MainWindow::allStagesBox, "CheckBox3", 2, QRect(10, 74, 81, 17), false},
    {&MainWindow::runNumberModeBox, "CheckBox4", 3, QRect(135, 58, 131, 25), true},
};

} // namespace

bool MainWindow::trayAvailable() {
    if (trayAvailableOverride >= 0)
        return trayAvailableOverride != 0;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// ---- construction -----------------------------------------------------------------------

MainWindow::MainWindow(const QString& settingsPath, const QString& dataDir, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath), m_exePath(QCoreApplication::applicationFilePath()) {
    m_filterDialog = [](ProgramState& v, QWidget* owner) { RunFilterDialog(v, owner); };
    m_state.Conv.DecimalSep = QLocale().decimalPoint().toStdString();
    m_state.Conv.Lang = WindowLanguage();
    createControls();

    // Loading: the stage list, the settings with the saved filter, the times log.
    m_options.DataDir = ToPath(dataDir);
    m_options.SettingsPath = ToPath(settingsPath);
    // Filter files start beside a portable settings file; settings kept in the user's hidden
    // configuration folder would hide them there, so they start in the data folder instead.
    const QString settingsFolder = QFileInfo(settingsPath).absolutePath();
    const QString filterFolder =
        settingsFolder == QFileInfo(QCoreApplication::applicationDirPath()).absoluteFilePath() || dataDir.isEmpty()
            ? settingsFolder
            : QFileInfo(dataDir).absoluteFilePath();
    m_options.ProgramDir = QDir::toNativeSeparators(filterFolder + QLatin1Char('/')).toStdString();
    m_options.Now = NowDateTime();
    try {
        LoadPhase(m_state, m_options);
    } catch (const LoadError& error) {
        MsgBox(LoadFailureMessage(error, WindowLanguage()));
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    }

    // The first display.
    fillStageList();
    applySettings();
    loadCaptionsAndHints();
    if (m_onTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    trayIcon = new QSystemTrayIcon(AppIcon(), this);
    trayIcon->setToolTip(Q(ProgramCaption));
    connect(trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        onTrayActivated(static_cast<int>(reason));
    });
    if (trayAvailable())
        trayIcon->show();
    applyLayout();

    DisplayTexts texts;
    try {
        texts = SetupPhase(m_state, m_options);
    } catch (const LoadError& error) {
        MsgBox(LoadFailureMessage(error, WindowLanguage()));
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    } catch (const std::exception& error) {
        MsgBox(QString::fromUtf8(error.what()), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error);
        m_inTransition = false;
        QCoreApplication::quit();
        return;
    }
    bySectorsBox->setChecked(m_state.Disp.BySectors);
    relativeBox->setChecked(m_state.Disp.Relative && !m_state.Disp.AllStages);
    allStagesBox->setChecked(m_state.Disp.AllStages);
    stageList->setEnabled(!m_state.Disp.AllStages);
    relativeBox->setEnabled(!m_state.Disp.AllStages);
    syncStageListSelection();
    if (QListWidgetItem* item = stageList->currentItem())
        stageList->scrollToItem(item, QAbstractItemView::PositionAtTop);
    showTexts(texts);
    runsGrid->followAllStages(m_state.Disp.AllStages);
    showOrdering();
    updateFilterButton();
    if (m_state.Sel.SelCount > 0)
        runsGrid->setCurrentRow(m_state.Disp.SelCur);
    runsGrid->setTopRow(m_state.Config.PosTableTop);

    m_loaded = true;
    m_inTransition = false;
    // A window that starts maximised gets its saved normal bounds at the first restore.
    m_pendingBounds = m_maximised ? m_normalBounds : outerBounds();
    applySizeLimits();
    qApp->installEventFilter(this);

    if (const std::optional<Message> notice = ClosingNotice(m_state))
        MsgBox(*notice);
    reportMissingStages();

    if (m_state.Config.LiveLog != 0) {
        m_logWatcher = new LogWatcher(QString::fromStdU16String(m_state.Log.Path().u16string()), this);
        connect(m_logWatcher, &LogWatcher::changed, this, [this] { onLogChanged(); });
    }
}

MainWindow::~MainWindow() {
    if (qApp)
        qApp->removeEventFilter(this);
    shutDown();
}

void MainWindow::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setFont(WindowFont());
    setWindowIcon(AppIcon());

    m_sizeMoveEnd = new QTimer(this);
    m_sizeMoveEnd->setSingleShot(true);
    m_sizeMoveEnd->setInterval(250);
    connect(m_sizeMoveEnd, &QTimer::timeout, this, [this] {
        if (runsHeader->hasFocus())
            runsGrid->setFocus();
    });

    stageList = new QListWidget(this);
    stageList->setObjectName(QStringLiteral("ListBox1"));
    stageList->setGeometry(2, 2, 141, 300);
    stageList->setUniformItemSizes(true);
    stageList->setSelectionMode(QAbstractItemView::SingleSelection);
    stageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(stageList, &QListWidget::currentRowChanged, this, [this] { onStageClicked(); });

    runsGrid = new RunsGrid(this);
    runsHeader = runsGrid->columnHeader();
    columnMenu = runsGrid->columnMenu();
    connect(runsGrid, &RunsGrid::headerSectionClicked, this, [this](int section) { onHeaderSectionClicked(section); });
    connect(runsGrid, &RunsGrid::cursorMoved, this, [this](int row) { onCursorMoved(row); });
    connect(runsGrid, &RunsGrid::exportRequested, this, [this] { onExportRequested(); });

    const QFont captionFont = PanelCaptionFont();
    const QFont boxFont = WindowFont();
    const QFont valueFont = ValueFont();
    QPalette valuePalette = palette();
    valuePalette.setColor(QPalette::WindowText, Maroon);

    stagePanel = MakeBox(this, QStringLiteral("TrackInfo"), 148, 2, 269, PanelFullHeight[0]);
    gamePanel = MakeBox(this, QStringLiteral("GameInfo"), 148, 324, 269, PanelFullHeight[1]);
    displayPanel = MakeBox(this, QStringLiteral("VisualSettings"), 148, 442, 269, PanelFullHeight[2]);
    for (PanelBox* panel : {stagePanel, gamePanel, displayPanel}) {
        panel->setFont(captionFont);
        connect(panel, &PanelBox::doubleClicked, this, [this](PanelBox* box) { onPanelDoubleClicked(box); });
    }

    const int captionHeight = QFontMetrics(boxFont).height();
    for (const ValueBoxPlace& place : ValueBoxPlaces) {
        ValueBox& vb = this->*place.Member;
        vb.box = MakeBox(this->*place.Panel, QStringLiteral("GB%1").arg(place.Number), place.X, place.Y, place.Width,
                         31);
        vb.box->setFont(boxFont);
        vb.value = new QLabel(vb.box);
        vb.value->setObjectName(QStringLiteral("Label%1").arg(place.Number));
        vb.value->setFont(valueFont);
        vb.value->setPalette(valuePalette);
        vb.value->setAlignment(Qt::AlignCenter);
        vb.value->setGeometry(2, captionHeight, place.Width - 4, 31 - captionHeight - 2);
    }
    level.box->hide();
    rank.box->hide();

    descriptionBox = MakeBox(stagePanel, QStringLiteral("GB15"), 4, 18, 261, 170);
    descriptionBox->setFont(boxFont);
    descriptionLabel = new JustifiedLabel(descriptionBox);
    descriptionLabel->setObjectName(QStringLiteral("Label15"));
    descriptionLabel->setGeometry(2, captionHeight + 2, 257, 170 - captionHeight - 4);
    stageNumberLabel = new QLabel(descriptionBox);
    stageNumberLabel->setObjectName(QStringLiteral("Label4"));
    stageNumberLabel->setFont(valueFont);
    stageNumberLabel->setPalette(valuePalette);
    stageNumberLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stageNumberLabel->setGeometry(196, 154, 61, 14);
    // The description never runs over the stage number in the corner.
    descriptionLabel->setTextBottom(stageNumberLabel->y() - descriptionLabel->y());

    for (const DisplayBoxPlace& place : DisplayBoxPlaces) {
        auto* box = new DisplayCheckBox(displayPanel);
        box->setObjectName(QLatin1String(place.ObjectName));
        box->setFont(boxFont);
        box->setGeometry(place.Geometry);
        box->setWordWrap(place.Wrap);
        connect(box, &DisplayCheckBox::activated, this,
                [this](DisplayCheckBox* b, bool byKeyboard) { onDisplayBoxPressed(b, byKeyboard); });
        this->*place.Member = box;
    }
    runNumberModeBox->setTristate(true);

    filterButton = new PictureButton(displayPanel);
    filterButton->setObjectName(QStringLiteral("SpeedButton2"));
    filterButton->setFont(boxFont);
    filterButton->setGeometry(176, 20, 87, 30);
    filterButton->setPicture(FilterPicture());
    connect(filterButton, &QAbstractButton::clicked, this, [this] { onFilterButtonClicked(); });

    // Under the run-number box, in the room the panel grew for it.
    progressButton = new PictureButton(displayPanel);
    progressButton->setObjectName(QStringLiteral("ProgressButton"));
    progressButton->setFont(boxFont);
    progressButton->setGeometry(176, 88, 87, 30);
    progressButton->setPicture(ProgressPicture());
    connect(progressButton, &QAbstractButton::clicked, this, [this] { openProgress(); });

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setFont(boxFont);
    statusBar->setFixedHeight(18);
    statusBar->setSizeGripEnabled(true);
    // Panels keep their widths in a narrow window (cut at the right edge, never squeezed).
    int number = 1;
    for (const StatusPanelPlace& place : StatusPanelPlaces) {
        auto* panel = new QLabel(statusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(number++));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        this->*place.Member = panel;
    }
    layoutStatusPanels();

    panelScroll = new QScrollBar(Qt::Vertical, this);
    panelScroll->setObjectName(QStringLiteral("PanelScroll"));
    panelScroll->hide();
    connect(panelScroll, &QScrollBar::valueChanged, this, [this] { movePanels(); });
}

// Each panel keeps its own width, or more when its text needs it; in a narrow window the last
// ones are cut at the right edge, never squeezed.
void MainWindow::layoutStatusPanels() {
    int left = 0;
    for (const StatusPanelPlace& place : StatusPanelPlaces) {
        QLabel* panel = this->*place.Member;
        const int need = panel->text().isEmpty() ? 0 : panel->sizeHint().width() + 2;
        const int width = std::max(place.Width, need);
        panel->setGeometry(left, 1, width - 2, 17);
        left += width;
    }
}

void MainWindow::fillStageList() {
    stageList->blockSignals(true);
    stageList->clear();
    for (const std::string& name : m_state.StageList) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1251ToUtf8(name)), stageList);
        item->setSizeHint(QSize(0, 13));
    }
    stageList->blockSignals(false);
}

// The window's share of the settings, in the order they were stored (no handler runs).
void MainWindow::applySettings() {
    const Settings& c = m_state.Config;
    bySectorsBox->setChecked(c.TimeForSect);
    relativeBox->setChecked(c.Otnos);
    allStagesBox->setChecked(c.AllTrack);
    runsGrid->setRowSelect(c.GridStrSel);
    stagePanel->resize(stagePanel->width(), c.TrInfo ? PanelFullHeight[0] : CollapsedHeight);
    gamePanel->resize(gamePanel->width(), c.GameInfo ? PanelFullHeight[1] : CollapsedHeight);
    displayPanel->resize(displayPanel->width(), c.VisSett ? PanelFullHeight[2] : CollapsedHeight);
    m_panelsHidden = c.SvGrInfo;
    m_normalBounds = placeOnScreen(QRect(c.X, c.Y, c.Width, c.Height));
    setOuterBounds(m_normalBounds);
    m_keepInWorkArea = c.DockForm;
    m_onTop = c.OnTop;
    m_maximised = c.MaxWin;
    if (m_maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    runsGrid->setSectionWidths(c.HSW);
    runsGrid->setStageColumnByHand(c.TrackColByHand);
}

void MainWindow::loadCaptionsAndHints() {
    setWindowTitle(Q(ProgramCaption));
    descriptionLabel->setText(QString());
    stagePanel->setTitle(tr("Статистика трассы"));
    gamePanel->setTitle(tr("Статистика игры"));
    displayPanel->setTitle(tr("Параметры отображения"));
    stageList->setToolTip(tr("Выберите трассу, статистику которой хотите посмотреть"));
    for (const ValueBoxPlace& place : ValueBoxPlaces) {
        const ValueBox& vb = this->*place.Member;
        vb.box->setTitle(Tx(PanelCaptionIds[static_cast<std::size_t>(place.Number - 1)]));
        vb.value->setToolTip(Tx(PanelHintIds[static_cast<std::size_t>(place.Number - 1)]));
    }
    descriptionBox->setTitle(Tx(PanelCaptionIds[15 - 1]));
    descriptionLabel->setToolTip(Tx(PanelHintIds[15 - 1]));
    stageNumberLabel->setToolTip(Tx(PanelHintIds[4 - 1]));
    filterButton->setText(tr("Фильтр ..."));
    filterButton->setToolTip(tr("Нажмите здесь, чтобы задать условия выборки записей"));
    progressButton->setText(Tx(TextId::ProgressButton));
    progressButton->setToolTip(Tx(TextId::ProgressButtonHint));
    for (const DisplayBoxPlace& place : DisplayBoxPlaces) {
        DisplayCheckBox* box = this->*place.Member;
        box->setText(Tx(CheckCaptionIds[place.Caption]));
        box->setToolTip(Tx(CheckHintIds[place.Caption]).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    }
}

// ---- layout ----------------------------------------------------------------------------

int MainWindow::listWidth() const { return stageList->width(); }
int MainWindow::panelWidth() const { return stagePanel->width(); }

int MainWindow::frameExtraWidth() const { return isWindow() ? frameGeometry().width() - width() : 0; }
int MainWindow::frameExtraHeight() const { return isWindow() ? frameGeometry().height() - height() : 0; }

QRect MainWindow::outerBounds() const { return frameGeometry(); }

void MainWindow::setOuterBounds(const QRect& bounds) {
    move(bounds.topLeft());
    resize(std::max(1, bounds.width() - frameExtraWidth()), std::max(1, bounds.height() - frameExtraHeight()));
}

void MainWindow::applyLayout() {
    const int wl = listWidth();
    const int wt = panelWidth();
    runsGrid->move(m_panelsHidden ? wl + 7 : wl + wt + 12, 2);
    for (PanelBox* panel : {stagePanel, gamePanel, displayPanel})
        panel->setVisible(!m_panelsHidden);
    stageList->move(2, 2);
    stagePanel->move(wl + 7, 2);
    gamePanel->move(wl + 7, gamePanel->y());
    displayPanel->move(wl + 7, displayPanel->y());
    placePanels();
    layoutToSize();
}

void MainWindow::placePanels() {
    movePanels();
    if (!m_panelsHidden) {
        // The window grows to hold the column, as far as its screen allows.
        const int need = std::min(panelColumnHeight() + 34, screenRoomHeight());
        const QRect outer = outerBounds();
        if (outer.height() < need)
            setOuterBounds(QRect(outer.topLeft(), QSize(outer.width(), need)));
    }
    applySizeLimits();
    layoutToSize();
}

void MainWindow::movePanels() {
    const int x = listWidth() + 7;
    const int offset = panelScroll->isHidden() ? 0 : panelScroll->value();
    stagePanel->move(x, 2 - offset);
    gamePanel->move(x, stagePanel->height() + 7 - offset);
    displayPanel->move(x, stagePanel->height() + gamePanel->height() + 10 - offset);
}

// From the top of the first panel to the bottom of the last.
int MainWindow::panelColumnHeight() const {
    return stagePanel->height() + gamePanel->height() + displayPanel->height() + 10;
}

// The outer height that the window's screen offers.
int MainWindow::screenRoomHeight() const {
    return screen() ? screen()->availableGeometry().height() : std::numeric_limits<int>::max();
}

// Size limits; none while the window is being created or closed.
void MainWindow::applySizeLimits() {
    if (m_inTransition) {
        setMinimumSize(0, 0);
        return;
    }
    const int wl = listWidth();
    const int fw = frameExtraWidth();
    const int fh = frameExtraHeight();
    int minWidth = 0;
    int minHeight = 0;
    if (m_panelsHidden) {
        minWidth = wl + 200;
        minHeight = 200;
    } else {
        minWidth = wl + panelWidth() + 200;
        minHeight = std::max(200, fh + statusBar->height() + stagePanel->height() + gamePanel->height() +
                                      displayPanel->height() + 14);
        // On a screen too short for the panel column the column scrolls instead.
        minHeight = std::max(200, std::min(minHeight, screenRoomHeight()));
    }
    setMinimumSize(std::max(0, minWidth - fw), std::max(0, minHeight - fh));
    if (const QScreen* s = screen())
        setMaximumSize(std::max(minimumWidth(), s->geometry().width() - fw),
                       std::max(minimumHeight(), s->geometry().height() - fh));
}

// The table always ends at the right edge of the client area; the list and the table end
// one pixel above the status bar.
void MainWindow::layoutToSize() {
    const int wl = listWidth();
    const int wt = panelWidth();
    const int cw = width();
    const int ch = height();
    stageList->resize(wl, std::max(0, ch - 21));
    // The panel column ends 22 pixels above the client's bottom; when the window cannot be that
    // tall it scrolls, with its scroll bar between the column and the table.
    const int room = ch - 22;
    const bool scroll = !m_panelsHidden && panelColumnHeight() > room;
    int gridLeft = m_panelsHidden ? wl + 7 : wl + wt + 12;
    if (scroll) {
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, panelScroll);
        panelScroll->setGeometry(wl + wt + 9, 2, barWidth, std::max(0, ch - 21));
        {
            const QSignalBlocker quiet(panelScroll);
            panelScroll->setRange(0, panelColumnHeight() - room);
            panelScroll->setPageStep(std::max(1, room));
            panelScroll->setSingleStep(20);
        }
        gridLeft += barWidth;
        // Over the panels that the column's scrolling moved under it.
        statusBar->setAutoFillBackground(true);
        statusBar->raise();
    }
    panelScroll->setHidden(!scroll);
    runsGrid->setGeometry(gridLeft, 2, std::max(0, cw - gridLeft), std::max(0, ch - 21));
    statusBar->setGeometry(0, ch - statusBar->height(), cw, statusBar->height());
    if (!m_panelsHidden)
        movePanels();
}

// The outer bounds were set while the window had no frame yet; once the frame is known they are
// set again, so that a restart keeps the outer size instead of growing by the frame each time.
void MainWindow::applyPendingBounds() {
    if (!m_pendingBounds.isValid() || !isVisible())
        return;
    if (isMaximized() || isMinimized()) {
        // Kept for the first restore: the platform would restore the client size as the outer one.
        applySizeLimits();
        return;
    }
    if (frameExtraWidth() == 0 && frameExtraHeight() == 0)
        return;
    const QRect bounds = placeOnScreen(m_pendingBounds);
    m_pendingBounds = QRect();
    applySizeLimits();
    setOuterBounds(bounds);
}

// Saved bounds on a screen that is gone, or larger than the screen (a higher scale factor), would
// open the window out of reach: it opens inside a screen's work area instead.
QRect MainWindow::placeOnScreen(const QRect& bounds) const {
    const Settings defaults;
    return PlaceOnScreens(bounds, QPoint(defaults.X, defaults.Y));
}

void MainWindow::showAsSaved() {
    if (!m_maximised) {
        show();
        return;
    }
    // The normal bounds are set already (a restore returns to them); asking for the maximised
    // state as the window is shown is what every window system honours.
    showMaximized();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    applyPendingBounds();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyPendingBounds();
    layoutToSize();
    focusToHeaderDuringSizing();
    confineToWorkArea();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    applyPendingBounds();
    focusToHeaderDuringSizing();
    confineToWorkArea();
}

// While the window is moved or sized the table gives the focus to its header; it gets it back
// once the window has stood still for a moment.
void MainWindow::focusToHeaderDuringSizing() {
    if (m_inTransition)
        return;
    if (runsGrid->hasFocus())
        runsHeader->setFocus();
    if (runsHeader->hasFocus())
        m_sizeMoveEnd->start();
}

void MainWindow::confineToWorkArea() {
    if (!m_keepInWorkArea || m_confining || m_inTransition || isMaximized() || isMinimized() || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    const int left = area.x();
    const int top = area.y();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    const QRect outer = outerBounds();
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

void MainWindow::onPanelDoubleClicked(PanelBox* panel) {
    int full = PanelFullHeight[0];
    if (panel == gamePanel)
        full = PanelFullHeight[1];
    else if (panel == displayPanel)
        full = PanelFullHeight[2];
    else if (panel != stagePanel)
        return;
    panel->resize(panel->width(), panel->height() == CollapsedHeight ? full : CollapsedHeight);
    placePanels();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    onWindowDoubleClicked(event->globalPosition().toPoint());
}

void MainWindow::onWindowDoubleClicked(const QPoint& globalPos) {
    const QRect outer = outerBounds();
    const int l = outer.x();
    const int t = outer.y();
    const int h = outer.height();
    const int wl = listWidth();
    const int wt = panelWidth();
    const int x = globalPos.x();
    const int y = globalPos.y();
    const bool inHeight = t < y && y < t + h;
    if (l + wl + wt < x && x < l + wl + wt + 30 && inHeight) {
        m_panelsHidden = true;
        runsGrid->move(wl + 7, 2);
        for (PanelBox* panel : {stagePanel, gamePanel, displayPanel})
            panel->hide();
        applySizeLimits();
        const int screenWidth = screen() ? screen()->geometry().width() : outer.width() + 1;
        if (outer.width() < screenWidth && !isMaximized())
            setOuterBounds(QRect(outer.topLeft(), QSize(outer.width() - (wt + 5), outer.height())));
        layoutToSize();
    } else if (l + wl < x && x < l + wl + 30 && inHeight) {
        for (PanelBox* panel : {stagePanel, gamePanel, displayPanel})
            panel->show();
        if (m_panelsHidden) {
            if (!isMaximized())
                setOuterBounds(QRect(outer.topLeft(), QSize(outer.width() + wt + 5, outer.height())));
            placePanels();
        }
        runsGrid->move(wl + wt + 12, 2);
        m_panelsHidden = false;
        applySizeLimits();
        layoutToSize();
    }
}

// ---- window commands ---------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!m_loaded)
        return;
    m_inTransition = true;
    applySizeLimits();
    QCoreApplication::quit();
}

void MainWindow::changeEvent(QEvent* event) {
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
                                   normal.width() + frameExtraWidth(), normal.height() + frameExtraHeight());
        m_maximised = true;
    } else if ((old & Qt::WindowMaximized) && !(now & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        m_maximised = false;
        QTimer::singleShot(0, this, [this] { applyPendingBounds(); });
    }
    // Minimised, the window leaves the task bar and only the tray icon brings it back; without a
    // notification area it stays an ordinary minimised window.
    if ((now & Qt::WindowMinimized) && !(old & Qt::WindowMinimized) && trayAvailable()) {
        m_minimisedToTray = true;
        QTimer::singleShot(0, this, [this] {
            if (m_minimisedToTray)
                hide();
        });
    }
}

void MainWindow::onTrayActivated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
        return;
    if (!m_minimisedToTray && !isMinimized())
        return;
    m_minimisedToTray = false;
    if (m_maximised)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
}

// ---- events that recompute ---------------------------------------------------------------

void MainWindow::onStageClicked() {
    if (m_inTransition || stageList->currentRow() < 0)
        return;
    m_state.StageIndex = stageList->currentRow();
    showTexts(OnStageChosen(m_state));
    showOrdering();
}

void MainWindow::onFilterButtonClicked() {
    filterButton->setChecked(true);
    if (m_filterDialog) {
        try {
            m_filterDialog(m_state, this);
        } catch (const std::exception& error) {
            updateFilterButton();
            MsgBox(QString::fromUtf8(error.what()), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error);
            return;
        }
    }
    update();
    updateFilterButton();
    showTexts(OnFilterClosed(m_state));
    showOrdering();
    if (const std::optional<Message> notice = NothingPassesNotice(m_state))
        MsgBox(*notice, this);
}

void MainWindow::onDisplayBoxPressed(DisplayCheckBox* box, bool byKeyboard) {
    if (m_inTransition || !box->isEnabled())
        return;
    // A mouse press leaves the focus on the game panel, not on the box.
    if (!byKeyboard)
        gamePanel->setFocus();
    box->advanceState();
    if (box == allStagesBox) {
        onAllStagesToggled();
        return;
    }
    m_state.Disp.BySectors = bySectorsBox->isChecked();
    m_state.Disp.Relative = relativeBox->isChecked();
    switch (runNumberModeBox->checkState()) {
    case Qt::Unchecked:
        m_state.Disp.NumMode = NumberMode::Unchecked;
        break;
    case Qt::Checked:
        m_state.Disp.NumMode = NumberMode::Checked;
        break;
    case Qt::PartiallyChecked:
        m_state.Disp.NumMode = NumberMode::Grayed;
        break;
    }
    showTable(OnDisplayOptionChanged(m_state));
    if (m_progress)
        m_progress->refresh(); // run numbers follow the run-number mode
}

void MainWindow::onAllStagesToggled() {
    const bool all = allStagesBox->isChecked();
    stageList->setEnabled(!all);
    relativeBox->setEnabled(!all);
    if (all)
        relativeBox->setChecked(false);
    m_state.Disp.AllStages = all;
    m_state.Disp.Relative = relativeBox->isChecked();
    showTexts(OnAllStagesChanged(m_state));
    runsGrid->followAllStages(all);
    // The selection is rebuilt in log order: no column orders it until the next header click.
    runsGrid->hideSortIndicator();
}

void MainWindow::onCursorMoved(int row) {
    if (m_inTransition)
        return;
    const DisplayTexts texts = OnCursorMoved(m_state, row);
    if (m_state.Disp.AllStages) {
        showStageTexts(texts.Stage);
        runsGrid->setMarks(m_state.Disp);
        showDescription();
        syncStageListSelection();
    }
    showStatusTexts(texts.Status);
    if (texts.Table.Data)
        showTable(texts.Table);
    reportMissingStages();
}

void MainWindow::onHeaderSectionClicked(int section) {
    if (m_inTransition)
        return;
    showTexts(OnHeaderClick(m_state, section));
    showOrdering();
}

void MainWindow::onLogChanged() {
    // Not while a dialog or a message is open: the filter dialog works on the lists, and the
    // next look comes within a second anyway.
    if (m_inTransition || !m_loaded || QApplication::activeModalWidget())
        return;
    const int top = runsGrid->topRow();
    const LogUpdate update = OnLogChanged(m_state, NowDateTime());
    if (update.Texts) {
        showTexts(*update.Texts);
        showOrdering();
        updateFilterButton();
        // The view stays where it was unless the cursor's run would leave it.
        const int cursor = m_state.Disp.SelCur;
        const int rows = runsGrid->visibleRowCount();
        if (cursor < top)
            runsGrid->setTopRow(cursor);
        else if (cursor >= top + rows)
            runsGrid->setTopRow(cursor - rows + 1);
        else
            runsGrid->setTopRow(top);
        // The new runs stay framed until the next user action or the next new runs.
        if (!update.Note.empty())
            runsGrid->setNewRuns(update.FirstNewRun, update.FirstNewRun > 0 ? m_state.Data.RunCount : 0);
        if (update.Reread || update.NewestRun > 0)
            m_newestRun = update.NewestRun;
        if (m_progress)
            m_progress->setNewestRun(m_newestRun);
        if (!update.Note.empty()) {
            const QString note = QString::fromStdString(update.Note);
            showNote(note);
            m_runsNoteShown = true;
            const bool background = !isVisible() || isMinimized() || !isActiveWindow();
            if (background && !update.Reread && m_state.Config.NewRunMessages != 0 && trayAvailable()) {
                trayIcon->showMessage(Q(ProgramCaption), note, QSystemTrayIcon::Information);
                emit newRunMessage(note);
            }
        }
    }
    if (update.Failure)
        MsgBox(*update.Failure, this);
}

void MainWindow::onExportRequested() {
    const std::string name = m_state.Disp.AllStages ? std::string(Text(TextId::CheckAllStages, m_state.Conv.Lang))
                                                    : Cp1251ToUtf8(m_state.Stages.Buffer.StageName);
    SaveExportFile(
        this, tr("Экспорт таблицы в CSV"), QString::fromStdString(ExportFileName(name, ".csv")),
        m_state.Config.ExportFolder,
        [this] {
            return ExportTableCsv(runsGrid->runsModel()->snapshot(), runsGrid->shownColumns(),
                                  runsGrid->shownCaptions());
        },
        m_askSaveFile);
}

void MainWindow::showOrdering() { runsGrid->showSortIndicator(m_state.Disp.TypeSort, m_state.Disp.UpOrDown == 1); }

bool MainWindow::onKeyPressed(int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete && runsGrid->hasFocus()) {
        MsgBox(tr("А удалять показанные результаты нехорошо"), {}, {}, Tx(TextId::CheatTitle),
               MessageIcon::Warning, MsgButtons::Ok, this);
        return true;
    }
    if (key == Qt::Key_F3) {
        jumpToNewestRun();
        return true;
    }
    if (key == Qt::Key_F2) {
        openProgress();
        return true;
    }
    if (key == Qt::Key_F1) {
        QWidget* const noted = stageList->hasFocus() ? static_cast<QWidget*>(stageList)
                               : runsGrid->hasFocus()  ? static_cast<QWidget*>(runsGrid)
                                                    : nullptr;
        runsGrid->setFocus();
        chooseLanguage();
        activateWindow();
        if (noted)
            noted->setFocus();
        else
            setFocus();
        return true;
    }
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over a scrolling panel column scrolls it.
    if (event->type() == QEvent::Wheel && !panelScroll->isHidden()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        for (PanelBox* panel : {stagePanel, gamePanel, displayPanel})
            if (widget && (widget == panel || panel->isAncestorOf(widget))) {
                QCoreApplication::sendEvent(panelScroll, event);
                return true;
            }
    }
    if (m_runsNoteShown) {
        const QEvent::Type type = event->type();
        auto* widget = qobject_cast<QWidget*>(watched);
        if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel) && widget &&
            widget->window() == this) {
            m_runsNoteShown = false;
            showNote({});
            runsGrid->setNewRuns(0, 0);
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == notePanel && m_loaded && !m_inTransition) {
        jumpToNewestRun();
        return true;
    }
    if (event->type() == QEvent::KeyPress && m_loaded && !m_inTransition) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (onKeyPressed(key->key(), key->modifiers()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- showing what the core computed ------------------------------------------------------

void MainWindow::showTexts(const DisplayTexts& texts) {
    showStageTexts(texts.Stage);
    showGameTexts(texts.Game);
    showStatusTexts(texts.Status);
    if (texts.Table.Data)
        showTable(texts.Table);
    showDescription();
    syncStageListSelection();
    if (!m_inTransition)
        reportMissingStages();
    if (m_progress)
        m_progress->refresh();
}

void MainWindow::openProgress() {
    if (!m_progress) {
        m_progress = new ProgressWindow(m_state, this);
        connect(m_progress, &ProgressWindow::runChosen, this, [this](int runNo) { moveCursorToRun(runNo); });
        m_progress->setNewestRun(m_newestRun);
    }
    m_progress->showAndRaise();
}

void MainWindow::jumpToNewestRun() {
    if (m_newestRun <= 0 || m_newestRun > m_state.Data.RunCount)
        return;
    const RunRecord& run = m_state.Data.Runs[static_cast<std::size_t>(m_newestRun)];
    if (run.FilteredOut) {
        showNote(tr("Новый проезд скрыт фильтром"));
        m_runsNoteShown = true;
        return;
    }
    if (SelectionRowOfRun(m_state.Sel, m_newestRun) == 0) {
        const std::string& name = m_state.Stages.Record(run.StageNo).StageName;
        const auto it = std::find(m_state.StageList.begin(), m_state.StageList.end(), name);
        if (it == m_state.StageList.end() || name.empty()) {
            // A stage the list does not name: its runs show among all stages only.
            if (!allStagesBox->isChecked()) {
                allStagesBox->setChecked(true);
                onAllStagesToggled();
            }
        } else {
            if (allStagesBox->isChecked()) {
                allStagesBox->setChecked(false);
                onAllStagesToggled();
            }
            const int index = static_cast<int>(it - m_state.StageList.begin());
            if (stageList->currentRow() != index)
                stageList->setCurrentRow(index); // runs onStageClicked
        }
    }
    const int row = SelectionRowOfRun(m_state.Sel, m_newestRun);
    if (row <= 0)
        return;
    runsGrid->setCurrentRow(row);
    runsGrid->scrollTo(runsGrid->currentIndex());
    runsGrid->setFocus();
}

void MainWindow::moveCursorToRun(int runNo) {
    const int row = SelectionRowOfRun(m_state.Sel, runNo);
    if (row > 0)
        runsGrid->setCurrentRow(row);
}

// Runs on stages that "trinfo.bin" does not describe are named once, when first met.
void MainWindow::reportMissingStages() {
    if (const std::optional<Message> notice = MissingStagesNotice(m_state))
        MsgBox(*notice, isVisible() ? this : nullptr);
}

void MainWindow::showStageTexts(const StageStatsTexts& t) {
    stageLength.value->setText(QString::fromStdString(t.Length));
    stageDistance.value->setText(QString::fromStdString(t.Distance));
    stageRuns.value->setText(QString::fromStdString(t.Runs));
    stageNumberLabel->setText(QString::fromStdString(t.Number));
    combinedBest.value->setText(QString::fromStdString(t.Combined));
    bestTime.value->setText(QString::fromStdString(t.Best));
    worstTime.value->setText(QString::fromStdString(t.Worst));
    averageTime.value->setText(QString::fromStdString(t.Average));
    stageSpeed.value->setText(QString::fromStdString(t.Speed));
}

void MainWindow::showGameTexts(const GameStatsTexts& t) {
    totalTime.value->setText(QString::fromStdString(t.TotalTime));
    totalDistance.value->setText(QString::fromStdString(t.Distance));
    gameSpeed.value->setText(QString::fromStdString(t.Speed));
    finishedRuns.value->setText(QString::fromStdString(t.Finished));
    finishedShare.value->setText(QString::fromStdString(t.Share));
}

void MainWindow::showStatusTexts(const StatusBarTexts& t) {
    cursorPanel->setText(QString::fromStdString(t.Cursor));
    datePanel->setText(QString::fromStdString(t.Date));
    speedPanel->setText(QString::fromStdString(t.Speed));
    layoutStatusPanels();
}

void MainWindow::showNote(const QString& note) {
    notePanel->setText(note);
    // A long note is cut at the window's edge; the tip shows it whole.
    const QString jump = QLatin1Char('\n') + tr("F3 или щелчок — перейти к проезду");
    notePanel->setToolTip(note.isEmpty() || m_newestRun == 0 ? note : note + jump);
    layoutStatusPanels();
}

void MainWindow::showDescription() {
    const StageRecord& stage = m_state.Stages.Buffer;
    descriptionLabel->setTexts(Cp1251ToUtf8(stage.StageDesc1), Cp1251ToUtf8(stage.StageDesc2));
    // A description too long for the box ends in "…" and shows whole as the tip.
    descriptionLabel->setToolTip(descriptionLabel->isCut()
                                     ? QString::fromStdString(Cp1251ToUtf8(stage.StageDesc1 + stage.StageDesc2))
                                     : Tx(PanelHintIds[15 - 1]));
}

// The list follows the stage the core selected (all-stages mode follows the cursor run).
void MainWindow::syncStageListSelection() {
    if (m_state.StageIndex == stageList->currentRow())
        return;
    stageList->blockSignals(true);
    if (m_state.StageIndex >= 0 && m_state.StageIndex < stageList->count())
        stageList->setCurrentRow(m_state.StageIndex);
    else
        stageList->setCurrentRow(-1);
    stageList->blockSignals(false);
}

void MainWindow::updateFilterButton() {
    m_state.Filter.FilterActive = ComputeFilterActive(m_state.Filter.ActiveDateFilter, m_state.Data);
    filterButton->setChecked(m_state.Filter.FilterActive);
    QFont f = filterButton->font();
    f.setBold(m_state.Filter.FilterActive);
    filterButton->setFont(f);
    filterButton->setCaptionColour(m_state.Filter.FilterActive ? QColor(Qt::red) : QColor(Qt::black));
}

// ---- the runs table ----------------------------------------------------------------------

void MainWindow::showTable(const TableSnapshot& snapshot) { runsGrid->setSnapshot(snapshot, m_state.Disp); }

// ---- shutdown ----------------------------------------------------------------------------

void MainWindow::shutDown() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (!m_loaded)
        return;
    if (trayIcon)
        trayIcon->hide();
    runsGrid->horizontalScrollBar()->setValue(0);
    m_state.Stages.CloseStageFile();
    if (m_inTransition)
        saveSettings();
}

void MainWindow::saveSettings() {
    if (m_progress)
        m_progress->storeSettings();
    Settings& c = m_state.Config;
    c.TimeForSect = bySectorsBox->isChecked();
    c.Otnos = relativeBox->isChecked();
    c.AllTrack = allStagesBox->isChecked();
    c.NumView = runNumberModeBox->checkState() == Qt::Checked ? 1 : runNumberModeBox->checkState() == Qt::PartiallyChecked ? 2 : 0;
    c.TrCur = stageList->currentRow();
    c.PrCur = runsGrid->currentRow();
    c.PosTableTop = runsGrid->topRow();
    c.GridStrSel = runsGrid->rowSelect();
    c.TrInfo = stagePanel->height() != CollapsedHeight;
    c.GameInfo = gamePanel->height() != CollapsedHeight;
    c.VisSett = displayPanel->height() != CollapsedHeight;
    c.SvGrInfo = m_panelsHidden;
    c.MaxWin = m_maximised;
    const QRect bounds = m_maximised ? m_normalBounds : outerBounds();
    c.X = bounds.x();
    c.Y = bounds.y();
    c.Height = bounds.height();
    c.Width = bounds.width();
    c.DockForm = m_keepInWorkArea;
    c.OnTop = m_onTop;
    c.HSW = runsGrid->sectionWidths();
    c.TrackColByHand = runsGrid->stageColumnByHand();
    c.TypeSort = m_state.Disp.TypeSort;
    c.UpOrDown = m_state.Disp.UpOrDown != 0;

    std::string failure = SaveSettingsFile(m_state, ToPath(m_settingsPath));
    if (failure.empty() && m_languageChoice) // after the other keys: the value read at start-up is older
        failure = WriteLanguageSetting(m_settingsPath, m_languageChoice->toStdString());
    if (!failure.empty())
        MsgBox(QString::fromStdString(failure), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error);
}

// The About box, with the language choice: written at once and again with the other settings at the end.
void MainWindow::chooseLanguage() {
    QString setting = m_languageChoice ? *m_languageChoice : QString::fromStdString(ReadLanguageSetting(m_settingsPath));
    const QString before = setting;
    if (!ShowAbout(this, m_exePath, &setting) || setting == before)
        return;
    m_languageChoice = setting;
    const std::string failure = WriteLanguageSetting(m_settingsPath, setting.toStdString());
    if (!failure.empty())
        MsgBox(QString::fromStdString(failure), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error);
}

} // namespace kel
