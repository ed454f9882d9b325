#pragma once
// The About box: built for one showing from the program's version data and the file date of
// the running executable.

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

namespace kel {

class JustifiedLabel;

// The program's version data (what a version resource holds on Windows).
struct VersionInfo {
    QString ProductName;
    QString FileVersion;
    QString FileDescription;
    QString LegalCopyright;
};
VersionInfo ProgramVersionInfo();

// The description painted in the box: the file description and the plug-in sentence.
QString AboutDescription(const VersionInfo& info);
QString DonationNotice();

// Object names: the box "AboutBox" with "IconImage", "TitleLabel", "AboutDescLabel",
// "AboutNoticeLabel", "RightsLabel", "LanguageBox" and "OkButton".
// The language box offers the values of [Interface] Language: "" (the system's), "ru", "en";
// its item data is the value. A choice takes effect at the next start.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const VersionInfo& info, const QString& fileDate, const QString& languageSetting = {},
             QWidget* parent = nullptr);

    // The value chosen in the language box.
    QString languageSetting() const;

    QLabel* iconImage;
    QLabel* titleLabel;
    JustifiedLabel* descriptionLabel;
    JustifiedLabel* noticeLabel;
    QLabel* rightsLabel;
    QLabel* languageLabel;
    QComboBox* languageBox;
    QPushButton* okButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Opens the box modally and returns when it is closed. Returns false, showing nothing, when the
// executable `exePath` cannot be opened for reading. `languageSetting` is the current value of
// [Interface] Language; the value chosen in the box is put there.
bool ShowAbout(QWidget* parent, const QString& exePath, QString* languageSetting = nullptr);

// True while the box is shown.
bool AboutOpen();

} // namespace kel
