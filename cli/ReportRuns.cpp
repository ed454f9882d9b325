#include "cli/ReportRuns.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace kel {
namespace {

// Without a precision, to_chars gives the shortest form that reads back exactly.
template <class T> std::string_view Shortest(T value, std::array<char, 32>& buf) {
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return {buf.data(), static_cast<std::size_t>(res.ptr - buf.data())};
}

std::string_view Integer(long long value, std::array<char, 32>& buf) {
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return {buf.data(), static_cast<std::size_t>(res.ptr - buf.data())};
}

// The fields of a list's names as they are written, made once instead of once per run.
std::vector<std::string> EncodedNames(const ReportOutput& out, const NameList& list) {
    std::vector<std::string> names;
    names.reserve(list.size());
    for (const NameEntry& e : list)
        names.push_back(out.Encoded(Cp1251ToUtf8(e.Name)));
    return names;
}

std::string_view At(const std::vector<std::string>& names, int32_t idx) {
    return idx >= 0 && static_cast<std::size_t>(idx) < names.size() ? std::string_view(names[static_cast<std::size_t>(idx)])
                                                                      : std::string_view();
}

} // namespace

std::string ShortestNumber(double value) {
    std::array<char, 32> buf;
    return std::string(Shortest(value, buf));
}

std::string ShortestNumber(float value) {
    std::array<char, 32> buf;
    return std::string(Shortest(value, buf));
}

void PrintStages(ReportOutput& out, const StageFile& stages) {
    struct Item {
        std::string name;
        int no;
        float length;
    };
    std::vector<Item> items;
    for (int k = 0; k < stages.RecordCount(); ++k) {
        const StageRecord& r = stages.Record(k);
        if (!r.StageName.empty())
            items.push_back({r.StageName, r.StageNo, r.StageLength});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return StageNameLess(a.name, b.name); });
    out.Header({"name", "number", "length"});
    for (const Item& it : items)
        out.Row(std::array<std::string, 3>{Cp1251ToUtf8(it.name), std::to_string(it.no), ShortestNumber(it.length)});
}

void PrintRuns(ReportOutput& out, const RunData& d, const StageFile& stages) {
    // TSV and CSV add the names behind the codes, for readers without the program's tables.
    const bool names = out.Format() != ReportFormat::Text;
    std::vector<std::string_view> header{"run",    "date",  "stage",   "wetness", "surface_age",
                                         "weather", "tyres", "damage",  "car",     "class",
                                         "profile", "finished", "split1", "split2", "finish"};
    if (names)
        header.insert(header.end(), {"stage_name", "wetness_name", "surface_age_name", "weather_name", "tyres_name",
                                     "damage_name"});
    out.Header(header);

    const std::vector<std::string> cars = EncodedNames(out, d.CarList), classes = EncodedNames(out, d.ClassList),
                                   profiles = EncodedNames(out, d.ProfList);
    std::vector<std::string> wetness, surfAge, weather, tyres, damage, stageNames;
    if (names) {
        wetness = EncodedNames(out, d.WetnessList);
        surfAge = EncodedNames(out, d.SurfAgeList);
        weather = EncodedNames(out, d.WeatherList);
        tyres = EncodedNames(out, d.TyresList);
        damage = EncodedNames(out, d.DamageList);
        uint16_t lastStage = 0;
        for (int32_t i = 1; i <= d.RunCount; ++i)
            lastStage = std::max(lastStage, d.Runs[static_cast<std::size_t>(i)].StageNo);
        stageNames.resize(std::size_t{lastStage} + 1);
        for (std::size_t no = 0; no < stageNames.size(); ++no)
            stageNames[no] = out.Encoded(Cp1251ToUtf8(stages.Record(static_cast<int>(no)).StageName));
    }

    std::array<char, 32> buf;
    std::string date;
    for (int32_t i = 1; i <= d.RunCount && out.Ok(); ++i) {
        const RunRecord& r = d.Runs[static_cast<std::size_t>(i)];
        out.EncodedField(Integer(r.RunNo, buf));
        date.clear();
        if (r.StartTime != 0)
            AppendLogDateTime(date, r.StartTime);
        out.EncodedField(date);
        for (long long n : {static_cast<long long>(r.StageNo), static_cast<long long>(r.Wetness),
                            static_cast<long long>(r.SurfAge), static_cast<long long>(r.Weather),
                            static_cast<long long>(r.Tyres), static_cast<long long>(r.Damage)})
            out.EncodedField(Integer(n, buf));
        out.EncodedField(At(cars, r.CarIdx));
        out.EncodedField(At(classes, r.ClassIdx));
        out.EncodedField(At(profiles, r.ProfIdx));
        out.EncodedField(r.Finished ? "1" : "0");
        out.EncodedField(Shortest(r.Split1, buf));
        out.EncodedField(Shortest(r.Split2, buf));
        out.EncodedField(Shortest(r.Finish, buf));
        if (names) {
            out.EncodedField(At(stageNames, r.StageNo));
            out.EncodedField(At(wetness, r.Wetness));
            out.EncodedField(At(surfAge, r.SurfAge));
            out.EncodedField(At(weather, r.Weather));
            out.EncodedField(At(tyres, r.Tyres));
            out.EncodedField(At(damage, r.Damage));
        }
        out.EndRow();
    }
}

} // namespace kel
