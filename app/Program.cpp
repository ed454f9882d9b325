#include "app/Program.h"

#include "app/MsgBox.h"
#include "app/MainWindow.h"
#include "session/Events.h"
#include "session/Startup.h"

namespace kel {

std::unique_ptr<MainWindow> StartProgram(const QString& settingsPath, const QString& dataDir) {
    if (const auto missing = CheckDataFiles(std::filesystem::path(dataDir.toStdU16String()))) {
        MsgBox(*missing);
        return nullptr;
    }
    auto form = std::make_unique<MainWindow>(settingsPath, dataDir);
    if (!form->isLoaded())
        return nullptr;
    return form;
}

} // namespace kel
