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

class TFilter : public QDialog {
    Q_OBJECT

public:
    TFilter(ProgramState& v, QWidget* mainWindow);
    ~TFilter() override;

    // Replaceable for tests: the current date-time (empty: the system clock) and the file
    // dialogs (given the prepared dialog, returns the chosen path or an empty string).
    static std::function<double()> Clock;
    static std::function<QString(QFileDialog&)> FileDialogHook;

    void FormShow();
    void FormClose();
    void LoadCaptHintsFil();
    void ListBox5Click();
    void GetIndLB5();
    void LoadLB12(const NameList& list, int n);
    void ListBox1Click();
    void ListBox2Click();
    void ButtonOrient(int a, int b);
    void SB1Click();
    void SB2Click();
    void SB5Click();
    void MoveLB12(QListWidget* source, QListWidget* target);
    void LoadFiltTemp(NameList& list, int n, const QByteArray& name);
    void RBClick();
    void DTPageEnabled();
    void Edit1KeyUp();
    void Edit1Exit();
    void ComboBox2CloseUp();
    void CheckBox14Click();
    void Timer1Timer();
    void LoadDTPick();
    void FilterDTToPage();
    void PageToFilterDT();
    void SB3Click();
    void SB4Click();
    void SB6Click();
    void SB7Click();
    void SB8Click();
    void SaveDialog1FolderChange(const QString& folder);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double Now() const;
    std::string DecimalSep() const;
    // The list of a ListBox5 row (1..8) and the number of its entries offered; null for others.
    NameList* RowList(int row, int& n);
    QListWidget* FocusedList() const;
    void SelectRow(QListWidget* list, int row);
    void EmptyLists();
    void ShowDatePage(bool show);
    void FillUnitWords(int count);
    void SetPickers(QTimeEdit* time, QDateEdit* date, double value);
    double PickerValue(const QTimeEdit* time, const QDateEdit* date) const;
    bool Edit1Number(int& number) const;
    bool Edit1KeyPress(QKeyEvent* event);
    QString InitialFolder() const;
    // OpenDialog1 / SaveDialog1, prepared with their texts and the start folder.
    void PrepareFileDialog(QFileDialog& dialog, bool save);
    QString RunFileDialog(QFileDialog& dialog);

    ProgramState& m_v;
    QWidget* m_mainWindow;
    bool m_shown = false;
    int m_quiet = 0; // >0 while the dialog itself changes list selections

    QListWidget* ListBox5;
    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QToolButton* SB1;
    QToolButton* SB2;
    QToolButton* SB3;
    QToolButton* SB4;
    QToolButton* SB5;
    QToolButton* SB6;
    QToolButton* SB7;
    QToolButton* SB8;
    QGroupBox* GroupBox1;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QRadioButton* RB3;
    QLineEdit* Edit1;
    QComboBox* ComboBox2;
    QTimeEdit* DTPick1;
    QDateEdit* DTPick2;
    QTimeEdit* DTPick3;
    QDateEdit* DTPick4;
    QCheckBox* CheckBox14;
    QTimer* Timer1;
    std::array<QIcon, 4> ImageList1;
};

// The filter button's dialog: created with the main window as owner, shown modally and
// destroyed. True when the user confirmed; the caller re-applies the criteria either way.
bool RunFilterDialog(ProgramState& v, QWidget* mainWindow);

} // namespace kel
