#include "app/AboutBox.h"

#include "app/Look.h"
#include "app/Pictures.h"
#include "stats/ui/JustifiedLabel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#ifdef _WIN32
#include <windows.h>

#include <QCoreApplication>
#include <cwchar>
#include <string>
#include <vector>
#endif

#ifndef KELVARA_FILE_VERSION
#define KELVARA_FILE_VERSION "0.0.0.0"
#endif

namespace kel {
namespace {
bool g_aboutOpen = false;
}

#ifdef _WIN32
namespace {
// The string values of the executable's version resource, in the language and code page of its
// first translation entry; the values it lacks stay as they are.
void ReadVersionResource(const QString& exePath, VersionInfo& info) {
    const std::wstring path = exePath.toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return;
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return;
    struct Translation {
        WORD Language;
        WORD CodePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < sizeof(Translation))
        return;
    const QString block = QStringLiteral("\\StringFileInfo\\%1%2\\")
                              .arg(translation->Language, 4, 16, QLatin1Char('0'))
                              .arg(translation->CodePage, 4, 16, QLatin1Char('0'))
                              .toUpper();
    const auto value = [&](const wchar_t* name, QString& into) {
        const std::wstring key = (block + QString::fromWCharArray(name)).toStdWString();
        wchar_t* text = nullptr;
        UINT chars = 0;
        if (VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars) && chars > 0)
            into = QString::fromWCharArray(text, static_cast<int>(wcsnlen(text, chars)));
    };
    value(L"ProductName", info.ProductName);
    value(L"FileVersion", info.FileVersion);
    value(L"FileDescription", info.FileDescription);
    value(L"LegalCopyright", info.LegalCopyright);
}
} // namespace
#endif

VersionInfo ProgramVersionInfo() {
    VersionInfo info{QStringLiteral("Kelvara"), QStringLiteral(KELVARA_FILE_VERSION),
                     QStringLiteral("Kelvara — статистика проездов"),
                     QStringLiteral("© Авторы Kelvara. Свободная программа, GPL-3.0-or-later")};
#ifdef _WIN32
    // On Windows the executable describes itself (its version resource, dist/windows/version.rc.in).
    if (QCoreApplication::instance())
        ReadVersionResource(QCoreApplication::applicationFilePath(), info);
#endif
    return info;
}

QString AboutDescription(const VersionInfo& info) {
    return info.FileDescription + QStringLiteral(". ") +
           QStringLiteral("Для работы программы необходим плагин ZLTTimes 0.2 (для более подробной информации "
                          "смотрите файл readme.txt).");
}

QString DonationNotice() {
    return QStringLiteral("Программа бесплатна и останется такой. Если она пригодилась вам в заездах, вы можете "
                          "поддержать её развитие добровольным пожертвованием любого размера: это поможет "
                          "выпускать новые версии чаще.");
}

bool AboutOpen() { return g_aboutOpen; }

AboutBox::AboutBox(const VersionInfo& info, const QString& fileDate, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    setFixedSize(400, 300);

    iconImage = new QLabel(this);
    iconImage->setObjectName(QStringLiteral("IconImage"));
    iconImage->setPixmap(AppIconPixmap(32));
    iconImage->setGeometry(10, 10, 32, 32);

    titleLabel = new QLabel(this);
    titleLabel->setObjectName(QStringLiteral("TitleLabel"));
    titleLabel->setFont(AboutTitleFont());
    QPalette titlePalette = titleLabel->palette();
    titlePalette.setColor(QPalette::WindowText, Navy);
    titleLabel->setPalette(titlePalette);
    titleLabel->setText(info.ProductName + QStringLiteral("  ") + info.FileVersion + QStringLiteral("   (") +
                        fileDate + QStringLiteral(")"));
    titleLabel->move(60, 15);
    titleLabel->adjustSize();

    descriptionLabel = new JustifiedLabel(this);
    descriptionLabel->setObjectName(QStringLiteral("AboutDescLabel"));
    descriptionLabel->setGeometry(10, 50, 380, 55);
    descriptionLabel->setTexts(AboutDescription(info).toStdString());

    noticeLabel = new JustifiedLabel(this);
    noticeLabel->setObjectName(QStringLiteral("AboutNoticeLabel"));
    noticeLabel->setGeometry(10, 100, 380, 55);
    noticeLabel->setTexts(DonationNotice().toStdString());

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OkButton"));
    okButton->setGeometry((width() - 75) / 2, height() - 60, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    rightsLabel = new QLabel(info.LegalCopyright, this);
    rightsLabel->setObjectName(QStringLiteral("RightsLabel"));
    rightsLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    rightsLabel->setGeometry(0, 175, width(), 16);
}

// The raised line above the button row.
void AboutBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int y = okButton->y() - 19;
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, y, width(), y);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, y + 1, width(), y + 1);
}

bool ShowAbout(QWidget* parent, const QString& exePath) {
    QFile exe(exePath);
    if (!exe.open(QIODevice::ReadOnly))
        return false;
    const QString date = QFileInfo(exe).lastModified().toLocalTime().toString(QStringLiteral("dd.MM.yyyy")).left(11);
    exe.close();

    AboutBox box(ProgramVersionInfo(), date, parent);
    if (const QScreen* screen = parent ? parent->screen() : box.screen())
        box.move(screen->geometry().center() - box.rect().center());
    g_aboutOpen = true;
    box.exec();
    g_aboutOpen = false;
    return true;
}

} // namespace kel
