#include "data/SafeWrite.h"

#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kel {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SafeWrite, TwoSavesAtOnceBothSucceedAndLeaveOneWholeContent) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    const std::string first(1 << 18, 'A'), second(1 << 18, 'B');
    for (int round = 0; round < 10; ++round) {
        std::string resultA = "not run", resultB = "not run";
        std::thread a([&] { resultA = WriteFileSafely(path.string(), first); });
        std::thread b([&] { resultB = WriteFileSafely(path.string(), second); });
        a.join();
        b.join();
        EXPECT_EQ(resultA, "");
        EXPECT_EQ(resultB, "");
        const std::string content = test::ReadFile(path);
        EXPECT_TRUE(content == first || content == second) << "round " << round;
    }
    EXPECT_EQ(EntryCount(dir.Path()), 1u) << "no temporary file is left";
}

#ifndef _WIN32
TEST(SafeWrite, LinksAtTemporaryNamesAreNotFollowedAndAccessRightsStay) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    const auto victim = dir / "victim.txt";
    test::WriteFile(victim, "untouched");
    test::WriteFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A leftover of the fixed name the program once used, planted to redirect the write.
    fs::create_symlink(victim, dir / "Kelvara.ini.tmp");

    ASSERT_EQ(WriteFileSafely(path.string(), "[Visparam]\r\nX=1\r\n"), "");
    EXPECT_EQ(test::ReadFile(path), "[Visparam]\r\nX=1\r\n");
    EXPECT_EQ(test::ReadFile(victim), "untouched");
    EXPECT_TRUE(fs::is_symlink(dir / "Kelvara.ini.tmp"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(dir.Path()), 3u);

    EXPECT_EQ(WriteFileSafely(dir.Path().string(), "x"),
              "Не удалось записать файл " + dir.Path().string() + ": Это папка, а не файл");
    EXPECT_EQ(WriteFileSafely((dir / "none" / "a.ini").string(), "x"),
              "Не удалось записать файл " + (dir / "none" / "a.ini").string() + ": Нет такого файла или папки");
}

// A full disk, imitated by a file size limit: the write fails part way, the old file stays
// whole and the message gives the system's reason. Run in a child so the limit ends with it.
TEST(SafeWrite, AFailedWriteKeepsTheOldFileAndNamesTheReason) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    const std::string old = "[Visparam]\nX=10\n";
    test::WriteFile(path, old);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string message = WriteFileSafely(path.string(), std::string(100000, 'Z'));
        const ssize_t written = write(pipeEnds[1], message.data(), message.size());
        _exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string message;
    char buf[512];
    for (ssize_t n; (n = read(pipeEnds[0], buf, sizeof buf)) > 0;)
        message.append(buf, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(message, "Не удалось записать файл " + path.string() + ": Файл слишком велик");
    EXPECT_EQ(test::ReadFile(path), old);
    EXPECT_EQ(EntryCount(dir.Path()), 1u) << "the temporary file is removed";
}

#endif

} // namespace
} // namespace kel
