#pragma once
// TForm1: the main window. Stage list, the three statistics panels, the runs table and the
// status bar; start-up, window commands, panels, check boxes, keys, tray icon and shutdown.

#include "session/Events.h"
#include "session/Startup.h"
#include "session/ProgramState.h"

#include <QRect>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
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
class RunsGrid;

// Runs the filter dialog over the window's state (modal; returns when it is closed).
using FilterDialogRunner = std::function<void(ProgramState&, QWidget*)>;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // settingsPath: "Kelvara.ini" beside the executable; dataDir: the folder of the two data files.
    TForm1(const QString& settingsPath, const QString& dataDir, QWidget* parent = nullptr);
    ~TForm1() override;

    // False after a failed load: the message was shown and the window must not be shown.
    bool Loaded() const { return m_loaded; }
    bool InTransition() const { return m_inTransition; }
    ProgramState& Vars() { return m_v; }
    const QRect& NormalBounds() const { return m_normalBounds; }
    bool MaxWin() const { return m_maxWin; }
    bool SvGrInfo() const { return m_svGrInfo; }
    bool DockForm() const { return m_dockForm; }

    void SetFilterDialog(FilterDialogRunner runner) { m_filterDialog = std::move(runner); }
    // The executable whose file date the About box shows.
    void SetExecutablePath(const QString& path) { m_exePath = path; }

    // Controls, by their designer names.
    QListWidget* ListBox1 = nullptr;
    RunsGrid* Grid1 = nullptr;
    QHeaderView* CGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    PanelBox* TrackInfo = nullptr;
    PanelBox* GameInfo = nullptr;
    PanelBox* VisualSettings = nullptr;
    std::array<PanelBox*, 20> GB{};      // GB[n] is GBn; GB4, GB8, GB9 do not exist
    std::array<QLabel*, 20> Label{};     // Label[n] is Labeln; Label15 is the justified label
    JustifiedLabel* Label15 = nullptr;
    std::array<DisplayCheckBox*, 5> CheckBox{}; // CheckBox[1..4]
    PictureButton* SpeedButton2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 4> StatusPanel{};
    QSystemTrayIcon* TrayIcon = nullptr;

    // Handlers.
    void LoadCaptHintsF1();
    void SetGrInfoPos();
    void GrInfoDblClick(PanelBox* panel);
    void FormDblClick(const QPoint& globalPos);
    void ListBox1Click();
    void SpeedButton2Click();
    void CheckBoxMouseDown(DisplayCheckBox* box, bool byKeyboard);
    void ActionCheckBox3Click();
    void Grid1Click(int row);
    void CGrid1SectionClick(int section);
    // True when the key was handled (it then goes no further).
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void TrayActivated(int reason);
    void SaveSettingsNow();

    static constexpr int PanelFullHeight[3] = {317, 115, 95};
    static constexpr int CollapsedHeight = 18;

    // Tests: -1 asks the platform whether a notification area exists, 0 or 1 decide it.
    static inline int TrayAvailableOverride = -1;
    static bool TrayAvailable();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void FillStageListBox();
    void ApplySettings();
    void ApplyLayout();
    void ApplySizeLimits();
    void LayoutToSize();
    void ShowTexts(const DisplayTexts& texts);
    void ShowStageTexts(const StageStatsTexts& texts);
    void ShowGameTexts(const GameStatsTexts& texts);
    void ShowStatusTexts(const StatusBarTexts& texts);
    void ShowTable(const TableSnapshot& snapshot);
    void ShowDescription();
    void SyncListSelection();
    void ReportMissingStages();
    void UpdateFilterButton();
    void ConfineToWorkArea();
    void FocusToHeaderDuringSizing();
    void FormDestroy();
    void ApplyPendingBounds();
    int FrameExtraWidth() const;
    int FrameExtraHeight() const;
    QRect OuterBounds() const;
    void SetOuterBounds(const QRect& bounds);
    int ListWidth() const;
    int PanelWidth() const;

    ProgramState m_v;
    StartupOptions m_options;
    std::string m_decimalSep = ".";
    FilterDialogRunner m_filterDialog;
    QString m_settingsPath;
    QString m_exePath;
    QTimer* m_sizeMoveEnd = nullptr;
    QRect m_normalBounds;
    QRect m_pendingBounds; // outer bounds set before the frame was known
    bool m_loaded = false;
    bool m_destroyed = false;
    bool m_inTransition = true;
    bool m_svGrInfo = false;
    bool m_maxWin = false;
    bool m_dockForm = false;
    bool m_onTop = false;
    bool m_minimisedToTray = false;
    bool m_confining = false;
};

} // namespace kel
