#include "filter/FilterFile.h"

#include "data/Cp1251.h"
#include "settings/IniFile.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

const std::string ErrorKey = Utf8ToCp1251("Ошибка");
constexpr double Now = 45123.75;
const std::string ProgramDir = "/opt/kelvara/";

class FilterFileTest : public ::testing::Test {
protected:
    void Read(std::string_view sep = ",") {
        const IniFile ini(path.string(), "Kelvara.ini");
        ReadFilterSettings(ini, filter, data, Now, sep, ProgramDir);
    }

    std::string WriteAndReadBack(FilterSource source) {
        {
            IniFile ini(path.string(), "Filter.fil");
            WriteFilterSettings(ini, filter, data, source, ",");
            EXPECT_EQ(ini.Save(), "");
        }
        return test::ReadFile(path);
    }

    // Line by line, whatever the line ends (CR LF on Windows).
    static bool Has(std::string text, const std::string& line) {
        std::erase(text, '\r');
        return text.find("\n" + line + "\n") != std::string::npos || text.starts_with(line + "\n");
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "Kelvara.ini";
    FilterState filter;
    RunData data;
};

TEST_F(FilterFileTest, NoFilterSectionsGiveNoCriteria) {
    test::WriteFile(path, "[Visparam]\nX=1\n");
    Read();
    const TDateFilter& f = filter.ActiveDateFilter;
    EXPECT_EQ(f.Krit, -1);
    EXPECT_EQ(f.Kol, 0);
    EXPECT_EQ(f.HMS, -1);
    EXPECT_FALSE(f.Now);
    EXPECT_EQ(f.fromDate, Now);
    EXPECT_EQ(f.toDate, Now);
    EXPECT_TRUE(data.CarList.empty() && data.ClassList.empty() && data.ProfList.empty());
    for (const NameList* list : {&data.WetnessList, &data.TyresList, &data.DamageList})
        for (const NameEntry& e : *list)
            EXPECT_FALSE(e.FiltOn);
    EXPECT_EQ(filter.FActInd, 0);
    EXPECT_EQ(filter.FSaveDir, ProgramDir);
}

TEST_F(FilterFileTest, ReadsTheCriteriaInForce) {
    const std::string longName(40, 'Z');
    test::WriteFile(path, "[FiltDT]\nNow=1\nKrit=1\nKol=4\nHMS=2\nfromDate=45000,5\ntoDate=45001,5\n"
                          "[FiltCar]\nNumFCars=4\nCar0=Vortan GT\nCar2=" + longName + "\nCar3=Pellix R4\n"
                          "[FiltProf]\nNumFProf=1\nProf0=Mira\n"
                          "[FiltSurf]\nDry=0\nDamp=1\n" + ErrorKey + "=1\n"
                          "[FiltTyres]\nSnow=1\n"
                          "[FiltVisSet]\nFActInd=300\nFSaveDir=" + Utf8ToCp1251("/home/пилот/фильтры/") + "\n");
    Read();
    const TDateFilter& f = filter.ActiveDateFilter;
    EXPECT_TRUE(f.Now);
    EXPECT_EQ(f.Krit, 1);
    EXPECT_EQ(f.Kol, 4);
    EXPECT_EQ(f.HMS, 2);
    EXPECT_EQ(f.fromDate, 45000.5);
    EXPECT_EQ(f.toDate, Now) << "\"Now\" takes the moment of reading";

    ASSERT_EQ(data.CarList.size(), 4u);
    EXPECT_EQ(data.CarList[0].Name, "Vortan GT");
    EXPECT_TRUE(data.CarList[0].FiltOn);
    EXPECT_EQ(data.CarList[1].Name, "");
    EXPECT_FALSE(data.CarList[1].FiltOn);
    EXPECT_EQ(data.CarList[2].Name, std::string(30, 'Z'));
    EXPECT_EQ(data.CarList[3].Name, "Pellix R4");
    EXPECT_TRUE(data.ClassList.empty());
    ASSERT_EQ(data.ProfList.size(), 1u);
    EXPECT_TRUE(data.ProfList[0].FiltOn);

    EXPECT_FALSE(data.WetnessList[0].FiltOn);
    EXPECT_TRUE(data.WetnessList[1].FiltOn);
    EXPECT_TRUE(data.WetnessList[3].FiltOn) << "\"Ошибка\" is read";
    EXPECT_TRUE(data.TyresList[6].FiltOn);
    EXPECT_EQ(filter.FActInd, 300 % 256);
    EXPECT_EQ(filter.FSaveDir, "/home/пилот/фильтры/");

    // A date written under another separator is unreadable: now.
    test::WriteFile(path, "[FiltDT]\nKrit=1\nfromDate=45000.5\ntoDate=45001,25\n");
    Read();
    EXPECT_EQ(filter.ActiveDateFilter.fromDate, Now);
    EXPECT_EQ(filter.ActiveDateFilter.toDate, 45001.25);
}

TEST_F(FilterFileTest, CountKeysAreReadInFullButBounded) {
    test::WriteFile(path, "[FiltCar]\nNumFCars=257\nCar256=Sorrel 90\n"
                          "[FiltClass]\nNumFClass=-5\nClass0=Group K\n"
                          "[FiltProf]\nNumFProf=1099511627776\n");
    Read();
    ASSERT_EQ(data.CarList.size(), 257u);
    EXPECT_EQ(data.CarList[256].Name, "Sorrel 90");
    EXPECT_TRUE(data.ClassList.empty());
    EXPECT_EQ(data.ProfList.size(), 10000u);

    // The dialog's load is bounded the same way.
    data.CarList = {{"Sorrel 90"}};
    filter = {};
    const IniFile ini(path.string(), "Filter.fil");
    LoadFilterFile(ini, filter, data, Now, ",");
    EXPECT_TRUE(data.CarList[0].FiltEdit);
}

TEST_F(FilterFileTest, SavingThreeHiddenCarsReplacesALongerList) {
    test::WriteFile(path, "[FiltCar]\nCar0=Old A\nCar1=Old B\nCar2=Old C\nCar3=Old D\nCar4=Old E\nNumFCars=5\n"
                          "[FiltSurf]\n" + ErrorKey + "=1\n[Mine]\nKeep=1\n");
    data.CarList = {{"Vortan GT"}, {"Pellix R4"}, {"Sorrel 90"}, {"Brisk 2"}, {"Quillon"}};
    for (int i : {0, 2, 4})
        data.CarList[i].FiltOn = true;
    data.CarList[3].FiltEdit = true; // a working copy change not confirmed
    data.WetnessList[3].FiltOn = false;
    data.TyresList[7].FiltOn = true;
    const std::string text = WriteAndReadBack(FilterSource::InForce);

    EXPECT_TRUE(Has(text, "Car0=Vortan GT"));
    EXPECT_TRUE(Has(text, "Car1=Sorrel 90"));
    EXPECT_TRUE(Has(text, "Car2=Quillon"));
    EXPECT_TRUE(Has(text, "NumFCars=3"));
    EXPECT_EQ(text.find("Car3"), std::string::npos);
    EXPECT_EQ(text.find("Old"), std::string::npos);
    EXPECT_TRUE(Has(text, ErrorKey + "=1")) << "\"Ошибка\" is never written: the old key stays";
    EXPECT_EQ(text.find(ErrorKey + "=0"), std::string::npos);
    EXPECT_TRUE(Has(text, "Keep=1"));
    EXPECT_TRUE(Has(text, "NumFClass=0"));
    EXPECT_TRUE(Has(text, "Dry tarmac=0"));
    EXPECT_TRUE(Has(text, "Snow=0"));
    // "Ошибка" appears once: the kept key of "FiltSurf"; "FiltTyres" gets none.
    EXPECT_EQ(text.find(ErrorKey), text.rfind(ErrorKey));
}

TEST_F(FilterFileTest, ShutdownSavesTheCriteriaInForceAndTheDialogItsWorkingCopy) {
    filter.ActiveDateFilter = {1, 0, -1, 45000.5, 45010.25, false};
    filter.EditDateFilter = {0, 3, 1, 45100, 45103, false};
    filter.FActInd = 5;
    filter.FSaveDir = "/home/пилот/";
    data.CarList = {{"Vortan GT"}, {"Pellix R4"}};
    data.CarList[0].FiltOn = true;  // in force
    data.CarList[1].FiltEdit = true; // only in the dialog
    data.DamageList[2].FiltOn = true;
    data.WeatherList[1].FiltEdit = true;

    const std::string inForce = WriteAndReadBack(FilterSource::InForce);
    EXPECT_TRUE(Has(inForce, "Krit=1"));
    EXPECT_TRUE(Has(inForce, "fromDate=45000,5"));
    EXPECT_TRUE(Has(inForce, "toDate=45010,25"));
    EXPECT_TRUE(Has(inForce, "Car0=Vortan GT"));
    EXPECT_TRUE(Has(inForce, "NumFCars=1"));
    EXPECT_TRUE(Has(inForce, "Reduced=1"));
    EXPECT_TRUE(Has(inForce, "Random=0"));
    EXPECT_TRUE(Has(inForce, "FActInd=5"));
    EXPECT_TRUE(Has(inForce, "FSaveDir=" + Utf8ToCp1251("/home/пилот/")));

    // What the shutdown wrote comes back as the filter in force.
    FilterState back;
    RunData backData;
    {
        const IniFile ini(path.string(), "Kelvara.ini");
        ReadFilterSettings(ini, back, backData, Now, ",", ProgramDir);
    }
    EXPECT_EQ(back.ActiveDateFilter, filter.ActiveDateFilter);
    ASSERT_EQ(backData.CarList.size(), 1u);
    EXPECT_EQ(backData.CarList[0].Name, "Vortan GT");
    EXPECT_TRUE(backData.DamageList[2].FiltOn);
    EXPECT_EQ(back.FSaveDir, "/home/пилот/");

    const std::string working = WriteAndReadBack(FilterSource::WorkingCopy);
    EXPECT_TRUE(Has(working, "Krit=0"));
    EXPECT_TRUE(Has(working, "Kol=3"));
    EXPECT_TRUE(Has(working, "Car0=Pellix R4"));
    EXPECT_TRUE(Has(working, "NumFCars=1"));
    EXPECT_TRUE(Has(working, "Reduced=0"));
    EXPECT_TRUE(Has(working, "Random=1"));
}

TEST_F(FilterFileTest, NamesRoundTripExactlyThroughTheSettingsAndAFilterFile) {
    const std::vector<std::string> names = {" Car Lead", "Car X ", "  Два  пробела  ", "\"Quoted\"", "\"",
                                            "Car \"Y\"", "Ёлка\tТаб "};
    for (const std::string& name : names) {
        data.CarList.push_back({Utf8ToCp1251(name)});
        data.CarList.back().FiltOn = data.CarList.back().FiltEdit = true;
    }
    data.ProfList = {{Utf8ToCp1251(" Пилот")}};
    data.ProfList[0].FiltOn = data.ProfList[0].FiltEdit = true;
    WriteAndReadBack(FilterSource::InForce);

    Read();
    ASSERT_EQ(data.CarList.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(Cp1251ToUtf8(data.CarList[i].Name), names[i]);
    EXPECT_EQ(Cp1251ToUtf8(data.ProfList[0].Name), " Пилот");

    // The dialog's load finds every name in the lists by exact comparison.
    for (NameEntry& e : data.CarList)
        e.FiltEdit = false;
    const IniFile ini(path.string(), "Filter.fil");
    LoadFilterFile(ini, filter, data, Now, ",");
    for (const NameEntry& e : data.CarList)
        EXPECT_TRUE(e.FiltEdit) << Cp1251ToUtf8(e.Name);
}

TEST_F(FilterFileTest, LoadingAFilterFileChangesTheWorkingCopyOnly) {
    test::WriteFile(path, "[FiltDT]\nKrit=0\nKol=2\nHMS=1\nfromDate=45000\ntoDate=45002\n"
                          "[FiltCar]\nNumFCars=3\nCar0=Pellix R4\nCar1=Unknown Z\nCar2=Vortan GT\n"
                          "[FiltClass]\nNumFClass=1\nClass0=Group M\n"
                          "[FiltWeather]\nBad=1\n" + ErrorKey + "=1\n"
                          "[FiltVisSet]\nFActInd=3\nFSaveDir=/elsewhere/\n");
    data.CarList = {{"Vortan GT"}, {"Pellix R4"}, {"Sorrel 90"}};
    data.CarList[2].FiltEdit = true; // cleared by the load
    data.CarList[2].FiltOn = true;
    data.ClassList = {{"Group K"}};
    data.WeatherList[0].FiltEdit = true;
    filter.ActiveDateFilter = {1, 0, -1, 1, 2, false};
    filter.FSaveDir = "/kept/";

    const IniFile ini(path.string(), "Filter.fil");
    LoadFilterFile(ini, filter, data, Now, ",");

    EXPECT_EQ(filter.EditDateFilter, (TDateFilter{0, 2, 1, 45000, 45002, false}));
    EXPECT_EQ(filter.ActiveDateFilter, (TDateFilter{1, 0, -1, 1, 2, false}));
    EXPECT_EQ(filter.FActInd, 3);
    EXPECT_EQ(filter.FSaveDir, "/kept/");
    ASSERT_EQ(data.CarList.size(), 3u) << "unknown names are ignored";
    EXPECT_TRUE(data.CarList[0].FiltEdit);
    EXPECT_TRUE(data.CarList[1].FiltEdit);
    EXPECT_FALSE(data.CarList[2].FiltEdit);
    EXPECT_TRUE(data.CarList[2].FiltOn) << "the filter in force is not touched";
    EXPECT_FALSE(data.ClassList[0].FiltEdit);
    EXPECT_FALSE(data.WeatherList[0].FiltEdit);
    EXPECT_TRUE(data.WeatherList[2].FiltEdit);
    EXPECT_TRUE(data.WeatherList[3].FiltEdit) << "\"Ошибка\" is read";
    EXPECT_FALSE(data.WeatherList[3].FiltOn);
}

} // namespace
} // namespace kel
