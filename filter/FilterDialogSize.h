#pragma once
// The filter dialog's size in "Kelvara.ini" (section "FilterDialog", keys "Width" and "Height").

#include "filter/FilterState.h"

namespace kel {

class IniFile;

// Reads the size into f.DialogWidth and f.DialogHeight; missing or unreadable: 0 (the designed size).
void LoadFilterDialogSize(const IniFile& ini, FilterState& f);
// Writes the size once the user has given the dialog one (both above 0); leaves the file alone before.
void SaveFilterDialogSize(IniFile& ini, const FilterState& f);

} // namespace kel
