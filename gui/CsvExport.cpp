#include "gui/CsvExport.h"

#include "gui/MsgBox.h"
#include "gui/QtText.h"
#include "gui/Translation.h"
#include "data/SafeWrite.h"
#include "data/ValueTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace kel {

bool SaveExportFile(QWidget* parent, const QString& title, const QString& proposedName, std::string& folder,
                    const std::function<std::string()>& makeBytes, const SaveFileAsker& asker) {
    QString start = QString::fromStdString(folder);
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath();
    const QString proposed = QDir(start).filePath(proposedName);
    const QString path = asker ? asker(parent, proposed)
                               : QFileDialog::getSaveFileName(parent, title, proposed,
                                                              QCoreApplication::translate("kel::CsvExport", "Файлы CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    const std::string failure = WriteFileSafely(QDir::toNativeSeparators(path).toStdString(), makeBytes(), WindowLanguage());
    if (!failure.empty()) {
        MsgBox(Q(failure), {}, {}, Tx(TextId::ErrorTitle), MessageIcon::Error, MsgButtons::Ok, parent);
        return false;
    }
    folder = QFileInfo(path).absolutePath().toStdString();
    return true;
}

} // namespace kel
