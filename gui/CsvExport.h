#pragma once
// Saving an exported table: the file dialog, the safe write and the message when it fails.

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace kel {

// Asks where to save (given the proposed path); an empty result cancels. Replaceable in tests.
using SaveFileAsker = std::function<QString(QWidget* parent, const QString& proposedPath)>;

// Asks for a file, starting in `folder` (the folder of the last export; the home folder when
// it is empty or gone) with `proposedName`, and writes the bytes that `makeBytes` gives there
// through a temporary file, so a failure leaves no partial file: it shows a message naming the
// file and the reason. After a save `folder` is the file's folder. True when the file was written.
bool SaveExportFile(QWidget* parent, const QString& title, const QString& proposedName, std::string& folder,
                    const std::function<std::string()>& makeBytes, const SaveFileAsker& asker = {});

} // namespace kel
