#pragma once
// The filter dialog: edits the working copy of the filter (EditDateFilter, FiltEdit) and
// copies it into the criteria in force only when confirmed; loads and saves filter files.

#include "session/ProgramState.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimeEdit;
class QTimer;
class QToolButton;

namespace kel {

// The object names of the dialog's controls: their stable names for UI automation and for the
// window tests, which find controls with findChild.
//
//   dialog "Filter"; page list "ListBox5" (date page, then the eight value lists)
//   value pages: shown values "ListBox1" with caption "Label1", hidden values "ListBox2" with
//     caption "Label2"; move "SB1", move all "SB2", swap "SB5"
//   date page "GroupBox1": no date "RB1", last period "RB2" with the number box "Edit1" and the
//     unit list "ComboBox2", interval "RB3" from "DTPick1" (time) "DTPick2" (date) with caption
//     "Label3" to "DTPick3" "DTPick4" with caption "Label4", until now "CheckBox14"
//   OK "SB3", close "SB6", open "SB7", save "SB8", reset "SB4"; clock "Timer1"; file dialogs
//     "OpenDialog1" and "SaveDialog1"
class FilterDialog : public QDialog {
    Q_OBJECT

public:
    FilterDialog(ProgramState& v, QWidget* mainWindow);
    ~FilterDialog() override;

    // Replaceable for tests: the current date-time (empty: the system clock) and the file
    // dialogs (given the prepared dialog, returns the chosen path or an empty string).
    static std::function<double()> clock;
    static std::function<QString(QFileDialog&)> fileDialogHook;

    void onFirstShow();
    void onClosing();
    void loadCaptionsAndHints();
    void onPageClicked();
    void showCurrentPage();
    void fillValueLists(const NameList& list, int n);
    void onShownListClicked();
    void onHiddenListClicked();
    enum class MoveDirection { ToHidden, ToShown };
    // The move buttons' arrows point from the list that was clicked last to the other one.
    void pointMoveButtons(MoveDirection direction);
    void onMoveClicked();
    void onMoveAllClicked();
    void onSwapClicked();
    void moveSelectedValue(QListWidget* source, QListWidget* target);
    void markMovedValue(NameList& list, int n, const QByteArray& name);
    void onDateModeClicked();
    void updateDatePage();
    void onPeriodNumberEdited();
    void onPeriodNumberLeft();
    void onPeriodUnitChosen();
    void onUntilNowToggled();
    void onClockTick();
    void showPeriodInPickers();
    void dateFilterToPage();
    void pageToDateFilter();
    void onOkClicked();
    void onResetClicked();
    void onCloseClicked();
    void onOpenClicked();
    void onSaveClicked();
    void onFileDialogFolderChanged(const QString& folder);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double now() const;
    // The list of a m_pageList row (1..8) and the number of its entries offered; null for others.
    NameList* pageValues(int row, int& n);
    QListWidget* focusedList() const;
    void selectRow(QListWidget* list, int row);
    void emptyLists();
    void showDatePage(bool show);
    void fillUnitWords(int count);
    void setPickers(QTimeEdit* time, QDateEdit* date, double value);
    double pickerValue(const QTimeEdit* time, const QDateEdit* date) const;
    bool periodNumber(int& number) const;
    bool acceptsPeriodKey(QKeyEvent* event);
    QString initialFolder() const;
    // The open or save dialog, prepared with their texts and the start folder.
    void prepareFileDialog(QFileDialog& dialog, bool save);
    QString runFileDialog(QFileDialog& dialog);

    ProgramState& m_state;
    QWidget* m_mainWindow;
    bool m_shown = false;
    int m_quiet = 0; // >0 while the dialog itself changes list selections

    QListWidget* m_pageList;
    QListWidget* m_shownList;
    QListWidget* m_hiddenList;
    QLabel* m_shownCaption;
    QLabel* m_hiddenCaption;
    QLabel* m_fromCaption;
    QLabel* m_toCaption;
    QToolButton* m_moveButton;
    QToolButton* m_moveAllButton;
    QToolButton* m_okButton;
    QToolButton* m_resetButton;
    QToolButton* m_swapButton;
    QToolButton* m_closeButton;
    QToolButton* m_openButton;
    QToolButton* m_saveButton;
    QGroupBox* m_datePage;
    QRadioButton* m_noDateRadio;
    QRadioButton* m_lastPeriodRadio;
    QRadioButton* m_intervalRadio;
    QLineEdit* m_periodNumberEdit;
    QComboBox* m_periodUnitList;
    QTimeEdit* m_fromTimePicker;
    QDateEdit* m_fromDatePicker;
    QTimeEdit* m_toTimePicker;
    QDateEdit* m_toDatePicker;
    QCheckBox* m_untilNowBox;
    QTimer* m_clockTimer;
    std::array<QIcon, 4> m_arrowIcons;
};

// The filter button's dialog: created with the main window as owner, shown modally and
// destroyed. True when the user confirmed; the caller re-applies the criteria either way.
bool RunFilterDialog(ProgramState& v, QWidget* mainWindow);

} // namespace kel
