#include "progress/ui/ProgressWindow.h"

#include "gui/CsvExport.h"
#include "gui/Look.h"
#include "gui/MsgBox.h"
#include "gui/QtText.h"
#include "gui/ScreenPlace.h"
#include "gui/Translation.h"
#include "data/Cp1251.h"
#include "data/ValueTables.h"
#include "progress/ProgressTexts.h"
#include "progress/ui/BestsTableModel.h"
#include "progress/ui/ProgressChart.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kel {
namespace {

constexpr QSize DefaultSize(960, 680);

} // namespace

ProgressWindow::ProgressWindow(ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state) {
    setObjectName(QStringLiteral("ProgressForm"));
    setFont(WindowFont());
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMinimumSize(480, 360);

    chartView = new ProgressChartView(this);
    connect(chartView, &ProgressChartView::runClicked, this, &ProgressWindow::runChosen);

    auto* lower = new QWidget(this);
    auto* groupingLabel = new QLabel(Tx(TextId::GroupingLabel), lower);
    groupingBox = new QComboBox(lower);
    groupingBox->setObjectName(QStringLiteral("GroupingBox"));
    for (TextId name : GroupingNameIds)
        groupingBox->addItem(Tx(name));
    groupingLabel->setBuddy(groupingBox);
    exportButton = new QPushButton(Tx(TextId::ExportBests), lower);
    exportButton->setObjectName(QStringLiteral("ExportButton"));
    exportButton->setToolTip(Tx(TextId::ExportBestsHint));
    connect(exportButton, &QPushButton::clicked, this, [this] { exportBests(); });

    m_model = new BestsTableModel(this);
    bestsTable = new QTableView(lower);
    bestsTable->setObjectName(QStringLiteral("BestsGrid"));
    bestsTable->setModel(m_model);
    bestsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    bestsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    bestsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bestsTable->setWordWrap(false);
    bestsTable->verticalHeader()->hide();
    bestsTable->verticalHeader()->setDefaultSectionSize(bestsTable->fontMetrics().height() + 4);
    bestsTable->horizontalHeader()->setSectionsClickable(true);
    bestsTable->horizontalHeader()->setSortIndicatorShown(true);
    bestsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    bestsTable->horizontalHeader()->setStretchLastSection(true);
    connect(bestsTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { onHeaderClicked(column); });
    connect(bestsTable, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const auto& rows = m_model->rows();
        if (index.isValid() && static_cast<std::size_t>(index.row()) < rows.size())
            emit runChosen(rows[static_cast<std::size_t>(index.row())].BestRunNo);
    });
    auto* exportAction = new QAction(Tx(TextId::ExportBests), bestsTable);
    connect(exportAction, &QAction::triggered, this, [this] { exportBests(); });
    bestsTable->addAction(exportAction);
    bestsTable->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* controls = new QHBoxLayout;
    controls->addWidget(groupingLabel);
    controls->addWidget(groupingBox);
    controls->addStretch(1);
    controls->addWidget(exportButton);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 4, 0, 0);
    lowerLayout->addLayout(controls);
    lowerLayout->addWidget(bestsTable);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("ProgressSplitter"));
    splitter->addWidget(chartView);
    splitter->addWidget(lower);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    allStagesLabel = new QLabel(Tx(TextId::ChooseOneStage), this);
    allStagesLabel->setObjectName(QStringLiteral("AllStagesLine"));
    allStagesLabel->setAlignment(Qt::AlignCenter);
    allStagesLabel->setWordWrap(true);

    pages = new QStackedWidget(this);
    pages->addWidget(splitter);
    pages->addWidget(allStagesLabel);

    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("ProgressNote"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(pages, 1);
    layout->addWidget(noteLabel);

    restoreSettings();
    connect(groupingBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_state.Progress.Grouping = std::clamp(index, 0, 2);
        refresh();
    });
}

ProgressGrouping ProgressWindow::grouping() const {
    return static_cast<ProgressGrouping>(std::clamp(groupingBox->currentIndex(), 0, 2));
}

void ProgressWindow::restoreSettings() {
    const ProgressSettings& s = m_state.Progress;
    groupingBox->setCurrentIndex(std::clamp(s.Grouping, 0, 2));
    // Never opened, or a size below the least: the default size, centred on the main window.
    QRect bounds(s.X, s.Y, s.Width, s.Height);
    QPoint defaultPos(0, 0);
    if (const QWidget* owner = parentWidget())
        defaultPos = owner->geometry().center() - QPoint(DefaultSize.width() / 2, DefaultSize.height() / 2);
    if (bounds.width() < minimumWidth() || bounds.height() < minimumHeight())
        bounds = QRect(defaultPos, DefaultSize);
    // A place on no screen (a monitor since removed) is not kept, and a size larger than the
    // screen (a higher scale factor) is limited to it.
    setGeometry(PlaceOnScreens(bounds, defaultPos));
    if (s.ChartHeight > 0 && s.TableHeight > 0)
        splitter->setSizes({s.ChartHeight, s.TableHeight});
    else
        splitter->setSizes({DefaultSize.height() * 3 / 5, DefaultSize.height() * 2 / 5});
}

void ProgressWindow::storeSettings() {
    if (!m_shownOnce)
        return;
    ProgressSettings& s = m_state.Progress;
    const QRect bounds = geometry();
    s.X = bounds.x();
    s.Y = bounds.y();
    s.Width = bounds.width();
    s.Height = bounds.height();
    const QList<int> sizes = splitter->sizes();
    if (sizes.size() == 2 && sizes[0] > 0 && sizes[1] > 0) {
        s.ChartHeight = sizes[0];
        s.TableHeight = sizes[1];
    }
    s.Grouping = static_cast<int32_t>(grouping());
}

void ProgressWindow::showAndRaise() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void ProgressWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Now that the frame is known, the whole of it goes inside the screen.
    if (!m_shownOnce)
        KeepOnScreen(*this, pos());
    m_shownOnce = true;
    if (m_stale)
        refresh();
}

void ProgressWindow::hideEvent(QHideEvent* event) {
    storeSettings();
    QWidget::hideEvent(event);
}

void ProgressWindow::refresh() {
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    const bool all = m_state.Disp.AllStages;
    std::string stage;
    if (all)
        stage = std::string(Text(TextId::CheckAllStages, m_state.Conv.Lang));
    else if (m_state.StageIndex >= 0 && static_cast<std::size_t>(m_state.StageIndex) < m_state.StageList.size())
        stage = Cp1251ToUtf8(m_state.StageList[static_cast<std::size_t>(m_state.StageIndex)]);
    setWindowTitle(QString::fromStdString(ProgressWindowTitle(stage, m_state.Conv.Lang)));

    if (all) {
        pages->setCurrentWidget(allStagesLabel);
        noteLabel->clear();
        m_figures = ComputeProgress(m_state.Data, m_state.Sel, true, grouping());
        m_model->setRows({}, m_state.Data, grouping(), m_state.Disp.NumMode, m_state.Conv);
        exportButton->setEnabled(false);
        return;
    }
    pages->setCurrentWidget(splitter);
    ProgressFigures f = ComputeProgress(m_state.Data, m_state.Sel, false, grouping());
    // A new run-number mode leaves the chart as it is; a new grouping recolours it.
    const bool sameChart = m_chartShown && f.Points == m_figures.Points && f.ColourGroups == m_figures.ColourGroups &&
                           f.Grouping == m_figures.Grouping;
    m_figures = std::move(f);
    if (sameChart) {
        chartView->setNumberMode(m_state.Disp.NumMode);
    } else {
        chartView->setFigures(m_figures, m_state.Data, m_state.Disp.NumMode, m_state.Conv);
        m_chartShown = true;
    }
    showBests();
    showNewestRun();
    std::string note = ProgressNote(m_figures, m_state.Conv.Lang);
    if (m_figures.Used == 0)
        note = std::string(Text(TextId::NoTimedRuns, m_state.Conv.Lang)) + (note.empty() ? "" : "; " + note);
    noteLabel->setText(QString::fromStdString(note));
    exportButton->setEnabled(!m_figures.Bests.empty());
}

void ProgressWindow::showBests() {
    std::vector<BestsRow> rows = m_figures.Bests;
    SortBests(rows, m_state.Data, m_figures.Grouping, m_sortColumn, m_ascending);
    m_model->setRows(std::move(rows), m_state.Data, m_figures.Grouping, m_state.Disp.NumMode, m_state.Conv);
    bestsTable->horizontalHeader()->setSortIndicator(m_sortColumn,
                                                     m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ProgressWindow::setNewestRun(int runNo) {
    if (runNo == m_newestRun)
        return;
    m_newestRun = runNo;
    if (isVisible() && !m_state.Disp.AllStages)
        showNewestRun();
}

void ProgressWindow::showNewestRun() {
    const auto point = std::find_if(m_figures.Points.begin(), m_figures.Points.end(), [this](const ProgressPoint& p) {
        return m_newestRun > 0 && p.RunNo == m_newestRun;
    });
    chartView->setMarkedRun(m_newestRun);
    int group = -1;
    if (point != m_figures.Points.end())
        group = m_figures.Grouping == ProgressGrouping::Car     ? point->CarIdx
                : m_figures.Grouping == ProgressGrouping::Class ? point->ClassIdx
                                                                : point->ProfIdx;
    m_model->setMarkedGroup(group);
}

void ProgressWindow::onHeaderClicked(int column) {
    if (column == m_sortColumn)
        m_ascending = !m_ascending;
    else
        m_ascending = true;
    m_sortColumn = column;
    showBests();
}

void ProgressWindow::exportBests() {
    std::string stage;
    if (m_state.StageIndex >= 0 && static_cast<std::size_t>(m_state.StageIndex) < m_state.StageList.size())
        stage = Cp1251ToUtf8(m_state.StageList[static_cast<std::size_t>(m_state.StageIndex)]);
    SaveExportFile(
        this, Tx(TextId::ExportBestsTitle), QString::fromStdString(BestsExportFileName(stage, m_state.Conv.Lang)), m_state.Config.ExportFolder,
        [this] {
            return ExportBestsCsv(m_model->rows(), m_state.Data, m_model->grouping(), m_state.Disp.NumMode,
                                  m_state.Conv);
        },
        m_askSaveFile);
}

} // namespace kel
