// libFuzzer target: any bytes as "Kelvara.ini". The settings are loaded and applied to the first
// display, saved and loaded again: the second load gives the same settings and filter, and a
// second save writes the same lines.

#include "session/Events.h"
#include "session/Startup.h"
#include "tests/TestUtil.h"
#include "tests/fuzz/FuzzUtil.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kel;
using fuzz::Check;

void LoadAndSetUp(ProgramState& v, const StartupOptions& o) {
    v.Conv.DecimalSep = ",";
    try {
        LoadPhase(v, o);
    } catch (const LoadError&) {
        Check(false); // a regular settings file always loads, whatever it holds
    }
    SetupPhase(v, o);
}

std::vector<std::string> Hidden(const NameList& list) {
    std::vector<std::string> names;
    for (const NameEntry& e : list)
        if (e.FiltOn)
            names.push_back(e.Name);
    return names;
}

std::vector<bool> Flags(const NameList& list) {
    std::vector<bool> flags;
    for (const NameEntry& e : list)
        flags.push_back(e.FiltOn);
    return flags;
}

// Each section's lines (sections of the same name together), without regard to the sections' order.
std::map<std::string, std::vector<std::string>> Sections(const std::string& text) {
    std::map<std::string, std::vector<std::string>> sections;
    std::string current;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.starts_with('['))
            current = line;
        else if (!line.empty() && line != "\r")
            sections[current].push_back(line);
    }
    return sections;
}

// Dates are stored with 15 significant digits.
bool SameDate(double a, double b) { return a == b || std::fabs(a - b) <= 1e-13 * std::fmax(std::fabs(a), 1.0); }

void CheckSameFilter(const ProgramState& a, const ProgramState& b) {
    const TDateFilter& fa = a.Filter.ActiveDateFilter;
    const TDateFilter& fb = b.Filter.ActiveDateFilter;
    Check(fa.Krit == fb.Krit && fa.Kol == fb.Kol && fa.HMS == fb.HMS && fa.Now == fb.Now);
    Check(SameDate(fa.fromDate, fb.fromDate) && SameDate(fa.toDate, fb.toDate));
    Check(a.Filter.FActInd == b.Filter.FActInd);
    Check(a.Filter.FilterActive == b.Filter.FilterActive);
    Check(Hidden(a.Data.CarList) == Hidden(b.Data.CarList));
    Check(Hidden(a.Data.ClassList) == Hidden(b.Data.ClassList));
    Check(Hidden(a.Data.ProfList) == Hidden(b.Data.ProfList));
    for (NameList RunData::*list : {&RunData::WetnessList, &RunData::SurfAgeList, &RunData::TyresList,
                                    &RunData::DamageList, &RunData::WeatherList})
        Check(Flags(a.Data.*list) == Flags(b.Data.*list));
    Check(a.Sel.SelCount == b.Sel.SelCount && a.StageIndex == b.StageIndex);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto ini = fuzz::WorkDir() / "Kelvara.ini";
    test::WriteFile(ini, std::string_view(reinterpret_cast<const char*>(data), size));
    const StartupOptions o = fuzz::Options(fuzz::SampleDataDir(), ini);

    ProgramState first;
    LoadAndSetUp(first, o);
    Check(SaveSettingsFile(first, ini).empty());
    const std::string saved = test::ReadFile(ini);

    ProgramState second;
    LoadAndSetUp(second, o);
    // The export folder may lose a byte that Windows-1251 lacks once; the saved lines compare it below.
    Settings config = second.Config;
    config.ExportFolder = first.Config.ExportFolder;
    Check(config == first.Config);
    Check(second.Progress == first.Progress);
    CheckSameFilter(first, second);
    Check(SaveSettingsFile(second, ini).empty());
    // The same lines in each section; a rewritten name section moves to the end of the file.
    const std::string again = test::ReadFile(ini);
    if (Sections(again) != Sections(saved)) {
        std::fprintf(stderr, "First save:\n%s\nSecond save:\n%s\n", saved.c_str(), again.c_str());
        Check(false);
    }
    return 0;
}
