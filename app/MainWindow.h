#pragma once
// The main window: stage list, the three panels (stage statistics, game statistics, display
// options), the runs table and the status bar; start-up, window commands, panels, display
// boxes, keys, tray icon and shutdown.

#include "gui/CsvExport.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "session/ProgramState.h"

#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QScrollBar;
class QStatusBar;
class QSystemTrayIcon;
class QHeaderView;
class QMenu;
class QTimer;

namespace kel {

class PanelBox;
class DisplayCheckBox;
class PictureButton;
class JustifiedLabel;
class ProgressWindow;
class RunsGrid;
class LogWatcher;

// Runs the filter dialog over the window's state (modal; returns when it is closed).
using FilterDialogRunner = std::function<void(ProgramState&, QWidget*)>;

// A captioned box of a statistics panel with the label that shows its value.
struct ValueBox {
    PanelBox* box = nullptr;
    QLabel* value = nullptr;
};

// The object names of the window's controls: their stable names for UI automation and for the
// window tests, which find controls with findChild.
//
//   window "Form1"            stage list "ListBox1"        runs grid "Grid1" (see RunsGrid.h)
//   panels: stage "TrackInfo", game "GameInfo", display options "VisualSettings"
//   value boxes "GBn" with their labels "Labeln":
//     stage panel: 1 length, 2 distance, 3 runs, 5 combined best, 6 best time, 7 worst time,
//                  10 average time, 11 average speed; 15 description box, whose label
//                  "Label15" is the description and "Label4" the stage number
//     game panel:  12 total driving time, 13 total distance, 14 average speed, 16 level
//                  (hidden), 17 rank (hidden), 18 finished runs, 19 finished share
//   display boxes "CheckBox1" by sectors, "CheckBox2" relative, "CheckBox3" all stages,
//     "CheckBox4" run-number mode; filter button "SpeedButton2", progress button "ProgressButton"
//   status bar "StatusBar1" with the panels "StatusPanel1" cursor position, "StatusPanel2" run
//     date, "StatusPanel3" run speed, "StatusPanel4" notes
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // settingsPath: the settings file; dataDir: the folder of the two data files.
    MainWindow(const QString& settingsPath, const QString& dataDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    // False after a failed load: the message was shown and the window must not be shown.
    bool isLoaded() const { return m_loaded; }
    // Shows the window as it was saved: normal at its bounds, or maximised.
    void showAsSaved();
    // True while the window is being created or closed: its controls' events change nothing.
    bool inTransition() const { return m_inTransition; }
    ProgramState& state() { return m_state; }
    // The outer bounds of the normal (not maximised) window.
    const QRect& normalBounds() const { return m_normalBounds; }
    bool maximisedAtClose() const { return m_maximised; }
    bool panelsHidden() const { return m_panelsHidden; }
    bool keepsInWorkArea() const { return m_keepInWorkArea; }

    void setFilterDialogRunner(FilterDialogRunner runner) { m_filterDialog = std::move(runner); }
    // The executable whose file date the About box shows.
    void setExecutablePath(const QString& path) { m_exePath = path; }

    // ---- controls
    QListWidget* stageList = nullptr;
    RunsGrid* runsGrid = nullptr;
    QHeaderView* runsHeader = nullptr;
    QMenu* columnMenu = nullptr;
    PanelBox* stagePanel = nullptr;
    PanelBox* gamePanel = nullptr;
    PanelBox* displayPanel = nullptr;
    // stage panel
    ValueBox stageLength;
    ValueBox stageDistance;
    ValueBox stageRuns;
    ValueBox combinedBest;
    ValueBox bestTime;
    ValueBox worstTime;
    ValueBox averageTime;
    ValueBox stageSpeed;
    PanelBox* descriptionBox = nullptr;
    JustifiedLabel* descriptionLabel = nullptr;
    QLabel* stageNumberLabel = nullptr;
    // game panel
    ValueBox totalTime;
    ValueBox totalDistance;
    ValueBox gameSpeed;
    ValueBox level; // hidden
    ValueBox rank;  // hidden
    ValueBox finishedRuns;
    ValueBox finishedShare;
    // display options panel
    DisplayCheckBox* bySectorsBox = nullptr;
    DisplayCheckBox* relativeBox = nullptr;
    DisplayCheckBox* allStagesBox = nullptr;
    DisplayCheckBox* runNumberModeBox = nullptr;
    PictureButton* filterButton = nullptr;
    PictureButton* progressButton = nullptr;
    // status bar
    QStatusBar* statusBar = nullptr;
    // Scrolls the panel column on a screen too short for it (a high scale factor); hidden otherwise.
    QScrollBar* panelScroll = nullptr;
    QLabel* cursorPanel = nullptr;
    QLabel* datePanel = nullptr;
    QLabel* speedPanel = nullptr;
    QLabel* notePanel = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;

    // ---- handlers
    void loadCaptionsAndHints();
    void placePanels();
    void onPanelDoubleClicked(PanelBox* panel);
    void onWindowDoubleClicked(const QPoint& globalPos);
    void onStageClicked();
    void onFilterButtonClicked();
    void onDisplayBoxPressed(DisplayCheckBox* box, bool byKeyboard);
    void onAllStagesToggled();
    void onCursorMoved(int row);
    void onHeaderSectionClicked(int section);
    // Saves the table as shown (every row, the shown columns) to a CSV file the user chooses.
    void onExportRequested();
    void setSaveFileAsker(SaveFileAsker asker) { m_askSaveFile = std::move(asker); }
    // True when the key was handled (it then goes no further).
    bool onKeyPressed(int key, Qt::KeyboardModifiers modifiers);
    void onTrayActivated(int reason);
    // The progress window (F2, the progress button): opened on first use, then shown and raised.
    void openProgress();
    ProgressWindow* progressWindow() const { return m_progress; }
    // The cursor onto the run with this number, when the selection holds it.
    void moveCursorToRun(int runNo);
    // A look at the times log: new runs shown where they belong, a failure reported once.
    void onLogChanged();
    void saveSettings();
    void chooseLanguage();
    // A short note in the status bar's last panel (empty clears it).
    void showNote(const QString& note);
    // F3 and a click on the note: the newest new run's stage chosen (the all-stages mode left
    // only when it does not show the run), the cursor on the run and the run in view; a note
    // instead when the filter hides it.
    void jumpToNewestRun();
    // The newest finished run that the log brought while the window was open (RunNo, 0 none).
    int newestRun() const { return m_newestRun; }
    // The watcher of the times log; null when "LiveLog" is 0 or the start failed.
    LogWatcher* logWatcher() const { return m_logWatcher; }

    static constexpr int PanelFullHeight[3] = {317, 115, 128};
    static constexpr int CollapsedHeight = 18;

    // Tests: -1 asks the platform whether a notification area exists, 0 or 1 decide it.
    static inline int trayAvailableOverride = -1;
    static bool trayAvailable();

signals:
    // A tray message about new runs was shown (the window was not the active one).
    void newRunMessage(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void fillStageList();
    void applySettings();
    void applyLayout();
    void applySizeLimits();
    void layoutToSize();
    void showTexts(const DisplayTexts& texts);
    void showStageTexts(const StageStatsTexts& texts);
    void showGameTexts(const GameStatsTexts& texts);
    void showStatusTexts(const StatusBarTexts& texts);
    void showTable(const TableSnapshot& snapshot);
    void showDescription();
    void showOrdering();
    void layoutStatusPanels();
    void syncStageListSelection();
    void reportMissingStages();
    void updateFilterButton();
    void confineToWorkArea();
    void focusToHeaderDuringSizing();
    void shutDown();
    void applyPendingBounds();
    QRect placeOnScreen(const QRect& bounds) const;
    int panelColumnHeight() const;
    int screenRoomHeight() const;
    void movePanels();
    int frameExtraWidth() const;
    int frameExtraHeight() const;
    QRect outerBounds() const;
    void setOuterBounds(const QRect& bounds);
    int listWidth() const;
    int panelWidth() const;

    ProgramState m_state;
    StartupOptions m_options;
    FilterDialogRunner m_filterDialog;
    SaveFileAsker m_askSaveFile;
    ProgressWindow* m_progress = nullptr;
    QString m_settingsPath;
    QString m_exePath;
    std::optional<QString> m_languageChoice; // chosen in the About box during this run
    QTimer* m_sizeMoveEnd = nullptr;
    LogWatcher* m_logWatcher = nullptr;
    QRect m_normalBounds;
    QRect m_pendingBounds; // outer bounds set before the frame was known
    bool m_loaded = false;
    bool m_destroyed = false;
    bool m_inTransition = true;
    bool m_panelsHidden = false;
    bool m_maximised = false;
    bool m_keepInWorkArea = false;
    bool m_onTop = false;
    bool m_minimisedToTray = false;
    bool m_confining = false;
    bool m_runsNoteShown = false; // the note about new runs, cleared by the next user action
    int m_newestRun = 0;
};

} // namespace kel
