#include "tools/SampleGen.h"

#include "data/RunData.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace kel {
namespace {

// What the demo folder and the benchmarks rely on: the reader takes back exactly the runs
// the generator meant, on stages that exist, with every condition value present.
TEST(SampleGen, GeneratedSetReadsBackWhole) {
    test::TempDir dir;
    sample::SampleOptions options;
    options.Runs = 2500;
    options.Seed = 11;
    const sample::SampleSummary summary = sample::WriteSample(dir.Path(), options);

    StageFile stages;
    const std::vector<std::string> listed = stages.FillStageList((dir / "trinfo.bin").string());
    EXPECT_EQ(test::ReadFile(dir / "trinfo.bin").size(), summary.Records * StageRecordSize);
    EXPECT_EQ(stages.RecordCount(), summary.Records);
    EXPECT_EQ(static_cast<int>(listed.size()), summary.Stages);
    EXPECT_GE(summary.Stages, 40);
    EXPECT_LE(summary.Stages, 60);
    EXPECT_TRUE(stages.Record(0).StageName.empty());
    for (int k = 1; k < stages.RecordCount(); ++k) {
        const StageRecord& r = stages.Record(k);
        EXPECT_EQ(r.StageNo, k);
        if (r.StageName.empty()) continue;
        EXPECT_GE(r.StageLength, 2.0f);
        EXPECT_LE(r.StageLength, 30.0f);
        const std::size_t desc = r.StageDesc1.size() + r.StageDesc2.size();
        EXPECT_GE(desc, 100u);
        EXPECT_LE(desc, 500u);
    }

    RunData data;
    ReadTimesLog((dir / "zlttimes.log").string(), data);
    ASSERT_EQ(data.RunCount, options.Runs);
    EXPECT_EQ(data.FinishedCount, summary.Finished);
    EXPECT_LT(data.FinishedCount, data.RunCount);
    EXPECT_GE(data.CarList.size(), 10u);
    EXPECT_GE(data.ProfList.size(), 2u);

    std::set<int> wetness, surfAge, weather, tyres, damage;
    bool invalidCode = false;
    double last = 0;
    for (int i = 1; i <= data.RunCount; ++i) {
        const RunRecord& r = data.Runs[static_cast<std::size_t>(i)];
        EXPECT_EQ(r.RunNo, i);
        EXPECT_GE(r.StartTime, last) << "run " << i;
        last = r.StartTime;
        ASSERT_FALSE(stages.Record(r.StageNo).StageName.empty()) << "run " << i << " on stage " << r.StageNo;
        wetness.insert(r.Wetness);
        surfAge.insert(r.SurfAge);
        weather.insert(r.Weather);
        tyres.insert(r.Tyres);
        damage.insert(r.Damage);
        invalidCode = invalidCode || r.Wetness == 3 || r.SurfAge == 3 || r.Weather == 3 || r.Tyres == 7 || r.Damage == 4;
        if (r.Finished) {
            EXPECT_GT(r.Split1, 0);
            EXPECT_LT(r.Split1, r.Split2);
            EXPECT_LT(r.Split2, r.Finish);
            const double speed = stages.Record(r.StageNo).StageLength * 3600.0 / r.Finish;
            EXPECT_GT(speed, 20);
            EXPECT_LT(speed, 160);
        }
    }
    for (int v = 0; v < 3; ++v) {
        EXPECT_TRUE(wetness.contains(v) && surfAge.contains(v) && weather.contains(v)) << v;
    }
    for (int v = 0; v < 7; ++v) EXPECT_TRUE(tyres.contains(v)) << v;
    for (int v = 0; v < 4; ++v) EXPECT_TRUE(damage.contains(v)) << v;
    EXPECT_TRUE(invalidCode);
}

// The demo folder that ./run opens by default.
TEST(SampleGen, BundledSampleLoads) {
    const std::filesystem::path dir = std::filesystem::path(KELVARA_SOURCE_DIR) / "sample";
    StageFile stages;
    EXPECT_GE(stages.FillStageList((dir / "trinfo.bin").string()).size(), 40u);
    RunData data;
    ReadTimesLog((dir / "zlttimes.log").string(), data);
    EXPECT_GE(data.RunCount, 1000);
    EXPECT_GT(data.FinishedCount, data.RunCount / 2);
    for (int i = 1; i <= data.RunCount; ++i)
        ASSERT_FALSE(stages.Record(data.Runs[static_cast<std::size_t>(i)].StageNo).StageName.empty()) << i;
}

TEST(SampleGen, SameSeedSameBytes) {
    sample::SampleOptions options;
    options.Runs = 300;
    options.Seed = 3;
    const sample::SampleSet a = sample::GenerateSample(options);
    const sample::SampleSet b = sample::GenerateSample(options);
    EXPECT_EQ(a.TimesLog, b.TimesLog);
    EXPECT_EQ(a.StageFile, b.StageFile);
    options.Seed = 4;
    EXPECT_NE(sample::GenerateSample(options).TimesLog, a.TimesLog);

    options.Runs = 0;
    RunData data;
    ReadTimesLogData(sample::GenerateSample(options).TimesLog, data);
    EXPECT_EQ(data.RunCount, 0);
}

} // namespace
} // namespace kel
