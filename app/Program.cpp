#include "app/Program.h"

#include "gui/MsgBox.h"
#include "app/MainWindow.h"
#include "gui/QtText.h"
#include "gui/Translation.h"
#include "data/ValueTables.h"
#include "session/DataFolder.h"
#include "session/Events.h"
#include "session/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace kel {

std::function<QString(QFileDialog&)> FolderDialogHook;
std::function<FirstStartAnswer(const QString&, bool)> FirstStartHook;

namespace {

QString ToQString(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

// The chooser opens in the folder that lacked the files (or the home folder when that is gone).
QString ChooseDataFolder(const QString& startDir) {
    QFileDialog dialog;
    dialog.setObjectName(QStringLiteral("DataFolderDialog"));
    dialog.setWindowTitle(QCoreApplication::translate("kel::Program", "Выберите папку с файлами zlttimes.log и trinfo.bin"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QDir(startDir).exists() ? startDir : QDir::homePath());
    if (FolderDialogHook)
        return FolderDialogHook(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

FirstStartAnswer AskAtFirstStart(bool demoOffered) {
    if (FirstStartHook)
        return FirstStartHook(Tx(TextId::FirstStart), demoOffered);
    const std::unique_ptr<QMessageBox> box = MakeFirstStartBox(demoOffered);
    box->exec();
    const QAbstractButton* clicked = box->clickedButton();
    if (!clicked)
        return FirstStartAnswer::Quit;
    if (clicked->objectName() == QLatin1String("ChooseFolderButton"))
        return FirstStartAnswer::ChooseFolder;
    if (clicked->objectName() == QLatin1String("DemoDataButton"))
        return FirstStartAnswer::DemoData;
    return FirstStartAnswer::Quit;
}

} // namespace

std::unique_ptr<QMessageBox> MakeFirstStartBox(bool demoOffered) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, Q(ProgramCaption), Tx(TextId::FirstStart));
    box->setObjectName(QStringLiteral("FirstStartBox"));
    box->setWindowModality(Qt::ApplicationModal);
    QPushButton* choose = box->addButton(QCoreApplication::translate("kel::Program", "Выбрать папку…"), QMessageBox::AcceptRole);
    choose->setObjectName(QStringLiteral("ChooseFolderButton"));
    if (demoOffered)
        box->addButton(QCoreApplication::translate("kel::Program", "Демонстрационные данные"), QMessageBox::ActionRole)
            ->setObjectName(QStringLiteral("DemoDataButton"));
    QPushButton* quit = box->addButton(QCoreApplication::translate("kel::Program", "Выход"), QMessageBox::RejectRole);
    quit->setObjectName(QStringLiteral("QuitButton"));
    box->setDefaultButton(choose);
    box->setEscapeButton(quit);
    return box;
}

std::unique_ptr<MainWindow> StartProgram(const QString& settingsPath, const QString& dataDir) {
    if (const auto missing = CheckDataFiles(ToPath(dataDir), WindowLanguage())) {
        MsgBox(*missing);
        return nullptr;
    }
    auto form = std::make_unique<MainWindow>(settingsPath, dataDir);
    if (!form->isLoaded())
        return nullptr;
    return form;
}

std::unique_ptr<MainWindow> StartProgram(const StartRequest& request) {
    QString dataDir = request.DataDir;
    bool chosen = false;
    if (dataDir.isEmpty()) {
        dataDir = request.CurrentDir;
        if (CheckDataFiles(ToPath(dataDir), WindowLanguage())) {
            const std::filesystem::path remembered = RememberedDataDir(ToPath(request.SettingsPath));
            if (!remembered.empty()) {
                dataDir = ToQString(remembered);
            } else {
                // A first start: nothing named, nothing remembered, no data here.
                const std::filesystem::path demo =
                    request.ExecutableDir.isEmpty() ? std::filesystem::path() : FindSampleDir(ToPath(request.ExecutableDir));
                switch (AskAtFirstStart(!demo.empty())) {
                case FirstStartAnswer::Quit:
                    return nullptr;
                case FirstStartAnswer::DemoData:
                    // Shown, not remembered: the next start greets again until the game's folder is chosen.
                    dataDir = ToQString(demo);
                    break;
                case FirstStartAnswer::ChooseFolder: {
                    const QString folder = ChooseDataFolder(dataDir);
                    if (folder.isEmpty())
                        return nullptr;
                    dataDir = QDir(folder).absolutePath();
                    chosen = true;
                    break;
                }
                }
            }
        }
    }
    while (const auto missing = CheckDataFolder(ToPath(QDir::toNativeSeparators(dataDir)), WindowLanguage())) {
        MsgBox(*missing);
        const QString folder = ChooseDataFolder(dataDir);
        if (folder.isEmpty())
            return nullptr;
        dataDir = QDir(folder).absolutePath();
        chosen = true;
    }
    auto form = StartProgram(request.SettingsPath, dataDir);
    if (!form)
        return nullptr;
    if (chosen)
        form->state().ChosenDataDir = ToPath(QDir::toNativeSeparators(dataDir));
    if (request.CreateSettingsFolder)
        QDir().mkpath(QFileInfo(request.SettingsPath).absolutePath());
    return form;
}

} // namespace kel
