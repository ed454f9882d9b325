// libFuzzer target: any bytes as "zlttimes.log" and as "trinfo.bin".

#include "data/LoadError.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckList(const kel::NameList& list) {
    for (const kel::NameEntry& e : list) {
        Check(e.Name.size() <= kel::MaxNameLength);
        Check(e.Rank >= 1 && static_cast<std::size_t>(e.Rank) <= list.size());
    }
}

void FuzzLog(std::string_view bytes) {
    kel::RunData data;
    data.CarList.push_back({.Name = "Filter Only", .FiltOn = true});
    try {
        kel::ReadTimesLogData(bytes, data);
    } catch (const kel::LoadError&) {
        return;
    }
    Check(data.RunCount >= 0 && static_cast<std::size_t>(data.RunCount) + 1 == data.Runs.size());
    Check(data.FinishedCount >= 0 && data.FinishedCount <= data.RunCount);

    std::vector<kel::RunRecord> selection(data.Runs.begin(), data.Runs.begin() + (data.Runs.size() + 1) / 2);
    kel::PackNameList(data.CarList, &kel::RunRecord::CarIdx, data.Runs, &selection);
    kel::PackNameList(data.ClassList, &kel::RunRecord::ClassIdx, data.Runs, nullptr);
    kel::PackNameList(data.ProfList, &kel::RunRecord::ProfIdx, data.Runs, nullptr);
    for (kel::NameList* list : {&data.WetnessList, &data.SurfAgeList, &data.TyresList, &data.DamageList,
                                &data.WeatherList})
        kel::RankCondList(*list);
    for (const kel::NameList* list : {&data.CarList, &data.ClassList, &data.ProfList, &data.WetnessList,
                                      &data.SurfAgeList, &data.TyresList, &data.DamageList, &data.WeatherList})
        CheckList(*list);

    int32_t finished = 0;
    for (std::size_t i = 1; i < data.Runs.size(); ++i) {
        const kel::RunRecord& r = data.Runs[i];
        Check(r.RunNo == static_cast<int32_t>(i));
        Check(r.StageNo >= 1 && r.StageNo <= 200);
        Check(r.Wetness >= 0 && r.Wetness < kel::WetnessListSize);
        Check(r.SurfAge >= 0 && r.SurfAge < kel::SurfAgeListSize);
        Check(r.Tyres >= 0 && r.Tyres < kel::TyresListSize);
        Check(r.Damage >= 0 && r.Damage < kel::DamageListSize);
        Check(r.Weather >= 0 && r.Weather < kel::WeatherListSize);
        Check(r.CarIdx >= 0 && static_cast<std::size_t>(r.CarIdx) < data.CarList.size());
        Check(r.ClassIdx >= 0 && static_cast<std::size_t>(r.ClassIdx) < data.ClassList.size());
        Check(r.ProfIdx >= 0 && static_cast<std::size_t>(r.ProfIdx) < data.ProfList.size());
        if (i < selection.size())
            Check(selection[i].CarIdx == r.CarIdx);
        finished += r.Finished ? 1 : 0;
    }
    Check(finished == data.FinishedCount);
}

void FuzzStages(std::string_view bytes) {
    kel::StageFile file;
    std::vector<std::string> names;
    try {
        names = file.FillStageListData(bytes.substr(0, bytes.size() - bytes.size() % kel::StageRecordSize));
    } catch (const kel::LoadError&) {
        std::abort(); // a whole number of records always loads
    }
    for (const std::string& name : names)
        Check(!name.empty() && name.size() <= 30);
    const std::vector<std::string> sorted = kel::SortedStageList(names);
    for (std::size_t i = 1; i < sorted.size(); ++i)
        Check(!kel::StageNameLess(sorted[i], sorted[i - 1]));
    for (int index : {-1, 0, 1, 200, file.RecordCount()})
        file.ReadStageRecord(index);
    if (!names.empty())
        Check(file.Record(file.FindStageByName(names.front())).StageName.size() <= 30);

    try {
        kel::StageFile raw;
        raw.FillStageListData(bytes);
        Check(bytes.size() % kel::StageRecordSize == 0);
    } catch (const kel::LoadError&) {
        Check(bytes.size() % kel::StageRecordSize != 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FuzzLog(bytes);
    FuzzStages(bytes);
    return 0;
}
