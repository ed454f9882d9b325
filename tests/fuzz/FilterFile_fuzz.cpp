// libFuzzer target: any bytes as a filter file (".fil"), loaded by the filter dialog into its
// working copy and by the start-up as the filter in force; the working copy saved to a new
// file and loaded again gives the same working copy.

#include "data/TimesLog.h"
#include "filter/FilterFile.h"
#include "settings/IniFile.h"
#include "tests/TestUtil.h"
#include "tests/fuzz/FuzzUtil.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace {

using namespace kel;
using fuzz::Check;

// The name lists of the sample log slice, as the dialog sees them.
const RunData& SampleLists() {
    static const RunData data = [] {
        RunData d;
        ReadTimesLogData(fuzz::SampleLogSlice(), d);
        return d;
    }();
    return data;
}

bool SameDate(double a, double b) { return a == b || std::fabs(a - b) <= 1e-13 * std::fmax(std::fabs(a), 1.0); }

void CheckSameWorkingCopy(const FilterState& fa, const RunData& a, const FilterState& fb, const RunData& b) {
    const TDateFilter& da = fa.EditDateFilter;
    const TDateFilter& db = fb.EditDateFilter;
    Check(da.Krit == db.Krit && da.Kol == db.Kol && da.HMS == db.HMS && da.Now == db.Now);
    Check(SameDate(da.fromDate, db.fromDate) && SameDate(da.toDate, db.toDate));
    Check(fa.FActInd == fb.FActInd);
    for (NameList RunData::*list : {&RunData::CarList, &RunData::ClassList, &RunData::ProfList})
        for (std::size_t i = 0; i < (a.*list).size(); ++i)
            Check((a.*list)[i].FiltEdit == (b.*list)[i].FiltEdit);
    // "Ошибка", the last entry of each condition list, is read but never written.
    for (NameList RunData::*list : {&RunData::WetnessList, &RunData::SurfAgeList, &RunData::TyresList,
                                    &RunData::DamageList, &RunData::WeatherList})
        for (std::size_t i = 0; i + 1 < (a.*list).size(); ++i)
            Check((a.*list)[i].FiltEdit == (b.*list)[i].FiltEdit);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
    namespace fs = std::filesystem;
    const fs::path input = fuzz::WorkDir() / "Filter.fil";
    const fs::path output = fuzz::WorkDir() / "Saved.fil";
    test::WriteFile(input, std::string_view(reinterpret_cast<const char*>(bytes), size));

    const IniFile ini(input.string(), "Filter.fil");
    FilterState filter;
    RunData data = SampleLists();
    LoadFilterFile(ini, filter, data, fuzz::Now, ",");

    // The same bytes as the settings file's filter sections.
    FilterState inForce;
    RunData fresh;
    ReadFilterSettings(ini, inForce, fresh, fuzz::Now, ",", "/");
    for (const NameList* list : {&fresh.CarList, &fresh.ClassList, &fresh.ProfList})
        for (const NameEntry& e : *list)
            Check(e.Name.size() <= MaxNameLength);

    std::error_code ec;
    fs::remove(output, ec);
    {
        IniFile out(output.string(), "Saved.fil");
        WriteFilterSettings(out, filter, data, FilterSource::WorkingCopy, ",");
        Check(out.Save().empty());
    }
    const IniFile again(output.string(), "Saved.fil");
    FilterState back;
    RunData backData = SampleLists();
    LoadFilterFile(again, back, backData, fuzz::Now, ",");
    CheckSameWorkingCopy(filter, data, back, backData);
    return 0;
}
