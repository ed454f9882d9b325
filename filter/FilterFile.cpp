#include "filter/FilterFile.h"

#include "data/Cp1251.h"
#include "data/ValueTables.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <span>

namespace kel {
namespace {

// A damaged count must neither hang the reader nor allocate without limit; no log holds
// this many distinct names.
constexpr long long MaxHiddenNames = 10000;

struct NameSection {
    std::string_view Section;
    std::string_view CountKey;
    std::string_view Prefix;
    NameList RunData::*List;
};

constexpr NameSection NameSections[] = {
    {"FiltCar", "NumFCars", "Car", &RunData::CarList},
    {"FiltClass", "NumFClass", "Class", &RunData::ClassList},
    {"FiltProf", "NumFProf", "Prof", &RunData::ProfList},
};

struct CondSection {
    std::string_view Section;
    std::span<const std::string_view> Names; // the last one is "Ошибка"
    NameList RunData::*List;
};

// The order in which the condition sections are read and written.
const CondSection CondSections[] = {
    {"FiltSurf", WetnessNames, &RunData::WetnessList},
    {"FiltAgeSurf", SurfAgeNames, &RunData::SurfAgeList},
    {"FiltDamage", DamageNames, &RunData::DamageList},
    {"FiltWeather", WeatherNames, &RunData::WeatherList},
    {"FiltTyres", TyresNames, &RunData::TyresList},
};

constexpr std::string_view DateSection = "FiltDT";
constexpr std::string_view VisSetSection = "FiltVisSet";

std::string NumberedKey(std::string_view prefix, long long k) { return std::string(prefix) + std::to_string(k); }

std::string CutName(std::string name) {
    if (name.size() > MaxNameLength)
        name.resize(MaxNameLength);
    return name;
}

long long ReadCount(const IniFile& ini, const NameSection& names) {
    return std::clamp(ini.ReadInteger(names.Section, names.CountKey, 0), 0LL, MaxHiddenNames);
}

TDateFilter ReadDateFilter(const IniFile& ini, double now, std::string_view decimalSep) {
    TDateFilter f;
    // "Now" first: it decides whether "toDate" is read at all.
    f.Now = ini.ReadBool(DateSection, "Now", false);
    f.Krit = ini.ReadInt32(DateSection, "Krit", -1);
    f.Kol = ini.ReadInt32(DateSection, "Kol", 0);
    f.HMS = ini.ReadInt32(DateSection, "HMS", -1);
    f.fromDate = ini.ReadFloat(DateSection, "fromDate", now, decimalSep);
    f.toDate = f.Now ? now : ini.ReadFloat(DateSection, "toDate", now, decimalSep);
    return f;
}

} // namespace

void ReadFilterSettings(const IniFile& ini, FilterState& filter, RunData& data, double now,
                        std::string_view decimalSep, const std::string& programDir) {
    filter.ActiveDateFilter = ReadDateFilter(ini, now, decimalSep);

    // The hidden names go to the head of their lists; the log reader then finds them there.
    for (const NameSection& names : NameSections) {
        const long long count = ReadCount(ini, names);
        NameList& list = data.*names.List;
        list.assign(static_cast<std::size_t>(count), NameEntry{});
        for (long long k = 0; k < count; ++k) {
            NameEntry& entry = list[static_cast<std::size_t>(k)];
            entry.Name = CutName(ini.ReadString(names.Section, NumberedKey(names.Prefix, k), ""));
            entry.FiltOn = !entry.Name.empty();
        }
    }

    for (const CondSection& cond : CondSections) {
        NameList& list = data.*cond.List;
        const std::size_t n = std::min(list.size(), cond.Names.size());
        for (std::size_t i = 0; i < n; ++i)
            list[i].FiltOn = ini.ReadBool(cond.Section, Utf8ToCp1251(cond.Names[i]), false);
    }

    filter.FActInd = static_cast<uint8_t>(ini.ReadInteger(VisSetSection, "FActInd", 0));
    filter.FSaveDir = ini.HasKey(VisSetSection, "FSaveDir")
                          ? Cp1251ToUtf8(ini.ReadString(VisSetSection, "FSaveDir", ""))
                          : programDir;
}

void WriteFilterSettings(IniFile& ini, const FilterState& filter, const RunData& data, FilterSource source,
                         std::string_view decimalSep) {
    const bool inForce = source == FilterSource::InForce;
    const auto flag = [inForce](const NameEntry& e) { return inForce ? e.FiltOn : e.FiltEdit; };

    const TDateFilter& date = inForce ? filter.ActiveDateFilter : filter.EditDateFilter;
    ini.WriteBool(DateSection, "Now", date.Now);
    ini.WriteInteger(DateSection, "Krit", date.Krit);
    ini.WriteInteger(DateSection, "Kol", date.Kol);
    ini.WriteInteger(DateSection, "HMS", date.HMS);
    ini.WriteFloat(DateSection, "fromDate", date.fromDate, decimalSep);
    ini.WriteFloat(DateSection, "toDate", date.toDate, decimalSep);

    // Erased first, so that no name of an earlier, longer list survives.
    for (const NameSection& names : NameSections) {
        ini.EraseSection(names.Section);
        long long written = 0;
        for (const NameEntry& entry : data.*names.List)
            if (flag(entry))
                ini.WriteString(names.Section, NumberedKey(names.Prefix, written++), entry.Name);
        ini.WriteInteger(names.Section, names.CountKey, written);
    }

    // "Ошибка" is never written: no criterion can apply to it.
    for (const CondSection& cond : CondSections) {
        const NameList& list = data.*cond.List;
        const std::size_t tested = std::min(list.size(), cond.Names.size() - 1);
        for (std::size_t i = 0; i < tested; ++i)
            ini.WriteBool(cond.Section, Utf8ToCp1251(cond.Names[i]), flag(list[i]));
    }

    ini.WriteInteger(VisSetSection, "FActInd", filter.FActInd);
    ini.WriteString(VisSetSection, "FSaveDir", Utf8ToCp1251(filter.FSaveDir));
}

void LoadFilterFile(const IniFile& ini, FilterState& filter, RunData& data, double now,
                    std::string_view decimalSep) {
    filter.EditDateFilter = ReadDateFilter(ini, now, decimalSep);
    filter.FActInd = static_cast<uint8_t>(ini.ReadInteger(VisSetSection, "FActInd", 0));

    // Names absent from the current lists are ignored; the lists themselves never change here.
    for (const NameSection& names : NameSections) {
        NameList& list = data.*names.List;
        for (NameEntry& entry : list)
            entry.FiltEdit = false;
        const long long count = ReadCount(ini, names);
        for (long long k = 0; k < count; ++k) {
            const std::string name = CutName(ini.ReadString(names.Section, NumberedKey(names.Prefix, k), ""));
            if (name.empty())
                continue; // a missing key names nothing
            const auto it = std::find_if(list.begin(), list.end(), [&](const NameEntry& e) { return e.Name == name; });
            if (it != list.end())
                it->FiltEdit = true;
        }
    }

    for (const CondSection& cond : CondSections) {
        NameList& list = data.*cond.List;
        const std::size_t n = std::min(list.size(), cond.Names.size());
        for (std::size_t i = 0; i < n; ++i)
            list[i].FiltEdit = ini.ReadBool(cond.Section, Utf8ToCp1251(cond.Names[i]), false);
    }
}

} // namespace kel
