// Writes the seed corpora of the fuzz targets, made from the sample files of the repository:
//   kelvara-fuzzseeds FOLDER
// creates FOLDER/<target>/ for every target, each with a few inputs that reach deep into it.

#include "filter/FilterFile.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "settings/IniFile.h"
#include "tests/TestUtil.h"
#include "tests/fuzz/FuzzUtil.h"

#include <bit>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>

using namespace kel;
namespace fs = std::filesystem;

namespace {

void Seed(const fs::path& folder, const std::string& name, std::string_view bytes) {
    fs::create_directories(folder);
    test::WriteFile(folder / name, bytes);
}

// The log's header and the lines [first, first + count) of its body.
std::string LogPart(const std::string& log, int first, int count) {
    std::vector<std::size_t> starts{0};
    for (std::size_t pos = log.find('\n'); pos != std::string::npos; pos = log.find('\n', pos + 1))
        starts.push_back(pos + 1);
    const auto at = [&](int line) { return line < static_cast<int>(starts.size()) ? starts[line] : log.size(); };
    return log.substr(0, at(2)) + log.substr(at(2 + first), at(2 + first + count) - at(2 + first));
}

// A settings file as the program writes it after a start with hidden names and display options.
std::string SavedSettings(int variant) {
    const fs::path ini = fuzz::WorkDir() / ("seed" + std::to_string(variant) + ".ini");
    const StartupOptions o = fuzz::Options(fuzz::SampleDataDir(), ini);
    ProgramState v;
    v.Conv.DecimalSep = ",";
    LoadPhase(v, o);
    SetupPhase(v, o);
    Settings& c = v.Config;
    c.TimeForSect = c.Otnos = variant == 1;
    c.AllTrack = variant == 2;
    c.TrCur = 3;
    c.PrCur = 4;
    c.MaxWin = variant != 1;
    c.X = -20;
    c.Width = 1280;
    c.HSW[2] = 80;
    c.TypeSort = static_cast<uint8_t>(3 + variant);
    c.UpOrDown = variant == 0;
    if (!v.Data.CarList.empty())
        v.Data.CarList[0].FiltOn = true;
    if (!v.Data.ProfList.empty())
        v.Data.ProfList.back().FiltOn = true;
    v.Data.TyresList[2].FiltOn = true;
    TDateFilter& f = v.Filter.ActiveDateFilter;
    if (variant == 1) {
        f = {1, 0, -1, fuzz::Now - 900.25, fuzz::Now - 10, false};
    } else if (variant == 2) {
        f = {0, 3, 3, 0, 0, false};
    }
    SaveSettingsFile(v, ini);
    return test::ReadFile(ini);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Использование: kelvara-fuzzseeds ПАПКА\n";
        return 2;
    }
    const fs::path out = argv[1];
    const std::string log = fuzz::SampleFile("zlttimes.log");
    const std::string stages = fuzz::SampleFile("trinfo.bin");

    // The readers: parts of the log, and the first stage records.
    for (int part = 0; part < 4; ++part)
        Seed(out / "TimesLog_fuzz", "log" + std::to_string(part), LogPart(log, part * 400, 40));
    Seed(out / "TimesLog_fuzz", "stages", stages.substr(0, 4 * StageRecordSize));

    // The whole path: the same log parts with the sample stage file, and one with a stage file
    // of its own, shorter than the log needs, whose length of stage 1 is NaN.
    for (int part = 0; part < 4; ++part)
        Seed(out / "Session_fuzz", "log" + std::to_string(part), LogPart(log, part * 400, 40));
    std::string damaged = stages.substr(0, 30 * StageRecordSize);
    const auto nan = std::bit_cast<uint32_t>(std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 4; ++i)
        damaged[StageRecordSize + 32 + i] = static_cast<char>(nan >> (8 * i));
    Seed(out / "Session_fuzz", "with-stages", LogPart(log, 0, 40) + std::string("\0trinfo.bin\0", 12) + damaged);

    // The settings file as written after a start, in three variants, and one written by hand.
    for (int variant = 0; variant < 3; ++variant)
        Seed(out / "Settings_fuzz", "saved" + std::to_string(variant), SavedSettings(variant));
    Seed(out / "Settings_fuzz", "by-hand",
         "[VisParam]\r\nTimeForSect=$1\r\nTrCur=0x2\r\nX=2147483647\r\n[Visparam]\r\nHSW1=250\r\n"
         "[FiltCar]\r\nNumFCars=2\r\nCar0=\" Ferrow R4\"\r\nCar1=\"\"\r\n[FiltDT]\r\nKrit=0\r\nKol=2\r\nHMS=1\r\n");
    // A byte-order mark and a lone "[": a keyless section without a name, once written as empty lines.
    Seed(out / "Settings_fuzz", "mark-and-bracket", "\xEF\xBB\xBF[");

    // Filter files as the dialog's save button writes them: the filter sections of the saved settings.
    for (int variant = 0; variant < 3; ++variant) {
        const IniFile settings((fuzz::WorkDir() / ("seed" + std::to_string(variant) + ".ini")).string(), "s");
        FilterState filter;
        RunData data;
        ReadFilterSettings(settings, filter, data, fuzz::Now, ",", "/");
        filter.EditDateFilter = filter.ActiveDateFilter;
        for (NameList* list : {&data.CarList, &data.ClassList, &data.ProfList, &data.TyresList})
            for (NameEntry& e : *list)
                e.FiltEdit = e.FiltOn;
        const fs::path fil = fuzz::WorkDir() / "seed.fil";
        fs::remove(fil);
        IniFile file(fil.string(), "seed.fil");
        WriteFilterSettings(file, filter, data, FilterSource::WorkingCopy, ",");
        if (!file.Save().empty())
            return 1;
        Seed(out / "FilterFile_fuzz", "filter" + std::to_string(variant), test::ReadFile(fil));
    }
    return 0;
}
