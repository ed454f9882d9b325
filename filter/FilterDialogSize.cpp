#include "filter/FilterDialogSize.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace kel {
namespace {
constexpr std::string_view Section = "FilterDialog";
}

void LoadFilterDialogSize(const IniFile& ini, FilterState& f) {
    f.DialogWidth = ReadWindowSize(ini, Section, "Width", 0);
    f.DialogHeight = ReadWindowSize(ini, Section, "Height", 0);
}

void SaveFilterDialogSize(IniFile& ini, const FilterState& f) {
    if (f.DialogWidth <= 0 || f.DialogHeight <= 0)
        return;
    ini.WriteInteger(Section, "Width", f.DialogWidth);
    ini.WriteInteger(Section, "Height", f.DialogHeight);
}

} // namespace kel
