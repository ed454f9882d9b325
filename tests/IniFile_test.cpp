#include "settings/IniFile.h"

#include "data/LoadError.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kel {
namespace {

namespace fs = std::filesystem;

// The file's non-empty lines, line ends dropped.
std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

TEST(IniFileTest, IntegersAndBooleans) {
    test::TempDir dir;
    const auto path = dir / "a.ini";
    test::WriteFile(path, "[N]\n"
                          "dec=-42\nplus=+7\nspaced =  19  \n"
                          "dollar=$1F\nhex=0x1f\nHEX=0X10\nupper=0X10\nbarehex=0x\nbaredollar=$\nneghex=-$1\n"
                          "junk=12abc\nempty=\nhuge=99999999999999999999\nallbits=$FFFFFFFFFFFFFFFF\n"
                          "big32=4294967296\n"
                          "[B]\nt=1\ntwo=2\nminus=-1\nf=0\nword=yes\nhexon=$10\n");
    const IniFile ini(path.string(), "a.ini");
    EXPECT_EQ(ini.ReadInteger("N", "dec", 5), -42);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 5), 7);
    EXPECT_EQ(ini.ReadInteger("N", "spaced", 5), 19);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", 5), 31);
    EXPECT_EQ(ini.ReadInteger("N", "hex", 5), 31);
    EXPECT_EQ(ini.ReadInteger("N", "HEX", 5), 31) << "keys match without regard to case: the first line wins";
    EXPECT_EQ(ini.ReadInteger("N", "upper", 5), 16);
    EXPECT_EQ(ini.ReadInteger("N", "barehex", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "baredollar", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "neghex", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "junk", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "empty", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "huge", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "allbits", 5), -1);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 5), 5);
    EXPECT_EQ(ini.ReadInteger("none", "dec", 5), 5);
    EXPECT_EQ(ini.ReadInt32("N", "big32", 5), 5);
    EXPECT_EQ(ini.ReadInt32("N", "dec", 5), -42);

    EXPECT_TRUE(ini.ReadBool("B", "t", false));
    EXPECT_TRUE(ini.ReadBool("B", "two", false));
    EXPECT_TRUE(ini.ReadBool("B", "minus", false));
    EXPECT_TRUE(ini.ReadBool("B", "hexon", false));
    EXPECT_FALSE(ini.ReadBool("B", "f", true));
    EXPECT_TRUE(ini.ReadBool("B", "word", true));
    EXPECT_FALSE(ini.ReadBool("B", "word", false));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
}

TEST(IniFileTest, FloatsUseTheGivenSeparator) {
    test::TempDir dir;
    const auto path = dir / "f.ini";
    {
        IniFile ini(path.string(), "f.ini");
        ini.WriteFloat("D", "half", 39585.5, ",");
        ini.WriteFloat("D", "tenth", 0.1 + 0.2, ",");
        ini.WriteFloat("D", "third", 1.0 / 3, ",");
        ini.WriteFloat("D", "whole", 45000, ",");
        ini.WriteFloat("D", "neg", -2.5, ",");
        ini.WriteFloat("D", "large", 1e20, ",");
        ini.WriteFloat("D", "small", 1.5e-7, ",");
        ini.WriteFloat("D", "tiny", 0.0001, ",");
        ini.WriteFloat("D", "zero", -0.0, ",");
        ini.WriteFloat("D", "dot", 39585.5, ".");
        ASSERT_EQ(ini.Save(), "");
    }
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[D]", "half=39585,5", "tenth=0,3", "third=0,333333333333333",
                                                    "whole=45000", "neg=-2,5", "large=1E20", "small=1,5E-7",
                                                    "tiny=0,0001", "zero=0", "dot=39585.5"}));

    test::WriteFile(path, "[D]\nhalf=39585,5\ndot=39585.5\nexp=1,5E3\nlead=,5\ntrail=1,\nplus=+2\n"
                          "twice=1,5,5\nword=abc\nsign=-\nnoexp=1E\nover=1E999\ncalc=45123,40625\n");
    const IniFile ini(path.string(), "f.ini");
    EXPECT_EQ(ini.ReadFloat("D", "half", -1, ","), 39585.5);
    EXPECT_EQ(ini.ReadFloat("D", "half", -1, "."), -1) << "written under another separator";
    EXPECT_EQ(ini.ReadFloat("D", "dot", -1, ","), -1);
    EXPECT_EQ(ini.ReadFloat("D", "dot", -1, "."), 39585.5);
    EXPECT_EQ(ini.ReadFloat("D", "exp", -1, ","), 1500);
    EXPECT_EQ(ini.ReadFloat("D", "lead", -1, ","), 0.5);
    EXPECT_EQ(ini.ReadFloat("D", "trail", -1, ","), 1);
    EXPECT_EQ(ini.ReadFloat("D", "plus", -1, ","), 2);
    for (const char* key : {"twice", "word", "sign", "noexp", "over", "missing"})
        EXPECT_EQ(ini.ReadFloat("D", key, -1, ","), -1) << key;
    EXPECT_EQ(ini.ReadFloat("D", "calc", -1, ","), 45123.40625);
}

TEST(IniFileTest, ExistingFileKeepsItsLinesAndOrder) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    test::WriteFile(path, "; notes of the user\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "Mine=keep me\r\n"
                          "; about the next key\r\n"
                          "Second=2\r\n"
                          "[VisParam]\r\n"
                          "TrCur=3\r\n"
                          "Extra=x\r\n"
                          "[FiltCar]\r\n"
                          "Car0=Vortan GT\r\n"
                          "Car1=Pellix R4\r\n"
                          "NumFCars=2\r\n"
                          "[Tail]\r\n"
                          "Last=1\r\n");
    {
        IniFile ini(path.string(), "Kelvara.ini");
        EXPECT_EQ(ini.ReadInteger("visparam", "TRCUR", 0), 3);
        ini.WriteInteger("Visparam", "trcur", 5);   // same section and key
        ini.WriteBool("Visparam", "AllTrack", true); // new key: end of its section
        ini.EraseSection("filtcar");
        ini.WriteString("FiltCar", "Car0", "Sorrel 90"); // erased and written again: at the end
        ini.WriteInteger("FiltCar", "NumFCars", 1);
        ini.WriteInteger("Sort", "TypeSort", 4); // new section: at the end
        ASSERT_EQ(ini.Save(), "");
    }
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"; notes of the user", "[Other]", "Mine=keep me",
                                                    "; about the next key", "Second=2", "[VisParam]", "trcur=5",
                                                    "Extra=x", "AllTrack=1", "[Tail]", "Last=1", "[FiltCar]",
                                                    "Car0=Sorrel 90", "NumFCars=1", "[Sort]", "TypeSort=4"}));
    const IniFile again(path.string(), "Kelvara.ini");
    EXPECT_FALSE(again.HasKey("FiltCar", "Car1"));
    EXPECT_EQ(again.ReadString("other", "mine", ""), "keep me");
}

TEST(IniFileTest, RawCp1251KeysAndValues) {
    test::TempDir dir;
    const auto path = dir / "c.ini";
    const std::string errorKey = "\xCE\xF8\xE8\xE1\xEA\xE0"; // "Ошибка"
    const std::string name = "\xCA\xEE\xF0\xEE\xED\xE0 7";   // "Корона 7"
    {
        IniFile ini(path.string(), "c.ini");
        ini.WriteBool("FiltSurf", errorKey, true);
        ini.WriteString("FiltCar", "Car0", name);
        ini.WriteString("FiltVisSet", "FSaveDir", "C:\\line\r\nbreak=1");
        ASSERT_EQ(ini.Save(), "");
    }
    const std::string bytes = test::ReadFile(path);
    EXPECT_NE(bytes.find(errorKey + "=1"), std::string::npos);
    EXPECT_NE(bytes.find("Car0=" + name), std::string::npos);
    const IniFile ini(path.string(), "c.ini");
    EXPECT_TRUE(ini.ReadBool("FiltSurf", errorKey, false));
    EXPECT_EQ(ini.ReadString("FiltCar", "Car0", ""), name);
    EXPECT_FALSE(ini.HasKey("FiltVisSet", "break")) << "a value never starts a new line";
}

TEST(IniFileTest, BlanksAtTheEndsAndLeadingQuotesAreKeptByQuoting) {
    test::TempDir dir;
    const auto path = dir / "q.ini";
    {
        IniFile ini(path.string(), "q.ini");
        ini.WriteString("S", "lead", " Car Lead");
        ini.WriteString("S", "trail", "Car X ");
        ini.WriteString("S", "inner", "Car  X");
        ini.WriteString("S", "quote", "\"Quoted\" car");
        ini.WriteString("S", "endquote", "Car \"X\"");
        ASSERT_EQ(ini.Save(), "");
    }
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[S]", "lead=\" Car Lead\"", "trail=\"Car X \"", "inner=Car  X",
                                                    "quote=\"\"Quoted\" car\"", "endquote=Car \"X\""}))
        << "only values that need it are quoted";

    // Files written before: a pair of quotes is removed on every read, a lone quote stays.
    test::WriteFile(path, "[S]\nold=  \"  padded \"  \nnum=\"12\"\nempty=\"\"\nlone=\"\nhalf=\"open\n");
    const IniFile ini(path.string(), "q.ini");
    EXPECT_EQ(ini.ReadString("S", "old", "d"), "  padded ");
    EXPECT_EQ(ini.ReadInteger("S", "num", 0), 12);
    EXPECT_EQ(ini.ReadString("S", "empty", "d"), "");
    EXPECT_EQ(ini.ReadString("S", "lone", "d"), "\"");
    EXPECT_EQ(ini.ReadString("S", "half", "d"), "\"open");
}

TEST(IniFileTest, AnUnclosedSectionLineNamesASectionUpToTheLineEnd) {
    test::TempDir dir;
    const auto path = dir / "s.ini";
    test::WriteFile(path, "\xEF\xBB\xBF[Open\nKey=1\n  [Other\r\nK=2\n[Sort]\nTypeSort=3\n");
    for (int save = 0; save < 2; ++save) {
        IniFile ini(path.string(), "s.ini");
        EXPECT_EQ(ini.ReadInteger("Open", "Key", 0), 1);
        EXPECT_EQ(ini.ReadInteger("Other", "K", 0), 2);
        ini.WriteInteger("Sort", "TypeSort", 4);
        ASSERT_EQ(ini.Save(), "");
    }
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"\xEF\xBB\xBF[Open]", "Key=1", "[Other]", "K=2", "[Sort]",
                                                    "TypeSort=4"}))
        << "the file does not grow from save to save";
}

TEST(IniFileTest, ALoneSectionMarkAtTheStartSettlesAtTheFirstSave) {
    for (const char* start : {"\xEF\xBB\xBF[", "[", "\xEF\xBB\xBF\r\n\r\n[\r\n"}) {
        test::TempDir dir;
        const auto path = dir / "s.ini";
        test::WriteFile(path, start);
        std::vector<std::string> saves;
        for (int save = 0; save < 2; ++save) {
            IniFile ini(path.string(), "s.ini");
            ini.WriteInteger("Visparam", "X", 10);
            ASSERT_EQ(ini.Save(), "");
            saves.push_back(test::ReadFile(path));
        }
        EXPECT_EQ(saves[0], saves[1]) << "two saves of the same settings write the same bytes";
        EXPECT_NE(saves[0].find("[Visparam]"), std::string::npos);
    }
}

TEST(IniFileTest, MissingFileIsEmptyAndCreatedBySave) {
    test::TempDir dir;
    const auto path = dir / "new.ini";
    IniFile ini(path.string(), "new.ini");
    EXPECT_FALSE(ini.HasKey("Visparam", "X"));
    EXPECT_EQ(ini.ReadString("Visparam", "X", "d"), "d");
    ini.WriteInteger("Visparam", "X", 10);
    ini.WriteInteger("Visparam", "Y", -3);
    ASSERT_EQ(ini.Save(), "");
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[Visparam]", "X=10", "Y=-3"}));
    EXPECT_FALSE(fs::exists(dir / "new.ini.tmp"));
}

TEST(IniFileTest, UnreadableFileIsALoadErrorNamingItAndTheReason) {
    test::TempDir dir;
    fs::create_directory(dir / "Kelvara.ini");
    try {
        IniFile ini((dir / "Kelvara.ini").string(), "Kelvara.ini");
        FAIL() << "no error";
    } catch (const LoadError& e) {
        EXPECT_EQ(e.FileName(), "Kelvara.ini");
        EXPECT_EQ(std::string(e.what()),
                  "Не удалось прочитать файл " + (dir / "Kelvara.ini").string() + ": Это папка, а не файл.");
    }
#ifndef _WIN32
    // A pipe would block the start for ever.
    ASSERT_EQ(mkfifo((dir / "pipe.ini").c_str(), 0600), 0);
    try {
        IniFile ini((dir / "pipe.ini").string(), "Kelvara.ini");
        FAIL() << "no error";
    } catch (const LoadError& e) {
        EXPECT_EQ(std::string(e.what()), "Файл " + (dir / "pipe.ini").string() + " не является обычным файлом.");
    }
#endif
}

// Each case makes the write fail in a way the superuser cannot bypass either.
TEST(IniFileTest, FailedSaveKeepsTheOldFileAndNamesIt) {
    test::TempDir dir;
    const auto path = dir / "Filter.fil";
    const std::string old = "[FiltDT]\nKrit=1\n";

    const auto attempt = [&](const fs::path& target) {
        IniFile ini(target.string(), "Filter.fil");
        ini.WriteInteger("FiltDT", "Krit", 0);
        return ini.Save();
    };

    // Write-protected file.
    test::WriteFile(path, old);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(attempt(path), "Не удалось записать файл " + path.string() + ": Нет доступа");
    EXPECT_EQ(test::ReadFile(path), old);
    fs::permissions(path, fs::perms::owner_all);

    // The folder is a file.
    const auto notAFolder = dir / "plain";
    test::WriteFile(notAFolder, "x");
#ifdef _WIN32
    const std::string notAFolderReason = "Нет такого файла или папки"; // Windows does not tell the two apart
#else
    const std::string notAFolderReason = "Путь проходит через файл, а не папку";
#endif
    EXPECT_EQ(attempt(notAFolder / "Filter.fil"),
              "Не удалось записать файл " + (notAFolder / "Filter.fil").string() + ": " + notAFolderReason);

    // And once nothing is in the way, the save goes through and leaves nothing else behind.
    EXPECT_EQ(attempt(path), "");
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[FiltDT]", "Krit=0"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(IniFileTest, SaveThroughALinkKeepsTheLink) {
    test::TempDir dir;
    const auto real = dir / "real.ini";
    const auto link = dir / "link.ini";
    test::WriteFile(real, "[A]\nk=1\n");
    std::error_code ec;
    fs::create_symlink(real, link, ec);
    if (ec) // Windows allows links only to some users
        GTEST_SKIP() << "no symbolic link: " << ec.message();
    IniFile ini(link.string(), "link.ini");
    ini.WriteInteger("A", "k", 2);
    ASSERT_EQ(ini.Save(), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Lines(real), (std::vector<std::string>{"[A]", "k=2"}));
}

} // namespace
} // namespace kel
