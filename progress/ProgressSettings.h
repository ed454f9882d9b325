#pragma once
// The progress window's keys in "Kelvara.ini" (section "Progress").

#include <cstdint>
#include <string>

namespace kel {

class IniFile;

struct ProgressSettings {
    int32_t X = 0;           // window bounds; Width 0: never opened, the window picks its place
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ChartHeight = 0; // splitter: heights of the chart and of the bests table, 0 default
    int32_t TableHeight = 0;
    int32_t Grouping = 0;    // 0 cars, 1 classes, 2 profiles

    bool operator==(const ProgressSettings&) const = default;
};

// Reads the section; missing or unreadable values give the defaults, a grouping out of range
// gives cars.
void LoadProgressSettings(const IniFile& ini, ProgressSettings& settings);
// Writes the section once the window has been opened (Width > 0); leaves the file alone before.
void SaveProgressSettings(IniFile& ini, const ProgressSettings& settings);

} // namespace kel
