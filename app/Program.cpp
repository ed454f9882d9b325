#include "app/Program.h"

#include "app/MsgBox.h"
#include "app/Unit1.h"
#include "session/Events.h"
#include "session/Startup.h"

namespace kel {

std::unique_ptr<TForm1> StartProgram(const QString& settingsPath, const QString& dataDir) {
    if (const auto missing = CheckDataFiles(std::filesystem::path(dataDir.toStdU16String()))) {
        MsgBox(*missing);
        return nullptr;
    }
    auto form = std::make_unique<TForm1>(settingsPath, dataDir);
    if (!form->Loaded())
        return nullptr;
    return form;
}

} // namespace kel
