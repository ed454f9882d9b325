#pragma once
// The progress window beside the main window: the chart of the selected stage's times over time
// and the bests table below it, following the main window's selection.
//
// How the main window uses it: one instance, created on first use with the program state and
// the user's decimal separator; showAndRaise() opens it, refresh() after every recomputation
// of the selection (stage chosen, filter dialog closed, new runs, display options),
// storeSettings() before the settings are saved. runChosen(runNo) asks the main window to
// put its cursor on that run (a chart point clicked, a bests row double-clicked).
//
// Object names: window "ProgressForm", chart "ProgressChart", splitter "ProgressSplitter", bests
// table "BestsGrid", grouping drop-down "GroupingBox", export button "ExportButton", note
// "ProgressNote", the all-stages line "AllStagesLine".

#include "gui/CsvExport.h"
#include "progress/ProgressFigures.h"
#include "session/ProgramState.h"

#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTableView;

namespace kel {

class BestsTableModel;
class ProgressChartView;

// Asks where to save a file (the proposed path given); empty for none. Tests replace it.

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    ProgressWindow(ProgramState& state, QWidget* parent = nullptr);

    void showAndRaise();
    // Position, size, splitter and grouping into the state's settings.
    void storeSettings();
    const ProgressFigures& figures() const { return m_figures; }
    BestsTableModel* bestsModel() const { return m_model; }
    void setSaveFileAsker(SaveFileAsker asker) { m_askSaveFile = std::move(asker); }
    void exportBests();
    // The newest run that the log brought (RunNo, 0 none): ringed on the chart and its group's
    // row marked in the bests table while the window shows its stage.
    void setNewestRun(int runNo);

    ProgressChartView* chartView = nullptr;
    QSplitter* splitter = nullptr;
    QTableView* bestsTable = nullptr;
    QComboBox* groupingBox = nullptr;
    QPushButton* exportButton = nullptr;
    QLabel* noteLabel = nullptr;
    QLabel* allStagesLabel = nullptr;
    QStackedWidget* pages = nullptr;

public slots:
    // Recomputes from the state; while the window is hidden, only when it is shown next.
    void refresh();

signals:
    void runChosen(int runNo);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void restoreSettings();
    void showBests();
    void showNewestRun();
    void onHeaderClicked(int column);
    ProgressGrouping grouping() const;

    ProgramState& m_state;
    BestsTableModel* m_model = nullptr;
    ProgressFigures m_figures;
    bool m_chartShown = false;  // the chart shows m_figures' points
    bool m_stale = true;        // the state changed while the window was hidden
    bool m_shownOnce = false;   // only a window that was shown has settings to keep
    int m_newestRun = 0;
    int m_sortColumn = BestsBest;
    bool m_ascending = true;
    SaveFileAsker m_askSaveFile;
};

} // namespace kel
