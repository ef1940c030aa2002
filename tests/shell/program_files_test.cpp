// The program's own files: the two settings flags, the best score and the error file, byte
// for byte, and what happens when they are short or missing; and saving them when the disk
// refuses: the old file stays whole, the game goes on, and the player is told once per file
// and run, on stderr and in "AppLog.txt".
#include "shell/program_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "sys/sys.h"

namespace {

const std::string kOldScore("\xD2\x04\x00\x00", 4);  // 1234
const std::string kOldSetting("\x01\x01", 2);

// The system calls of a write, failing as g_fault says.
enum class Fault { kReadOnlyFolder, kFullAfterOneByte, kNoProgress, kSyncFails, kKilled, kNone };
Fault g_fault = Fault::kNone;
int Open(const char* path, int flags, mode_t mode) {
    if (g_fault == Fault::kReadOnlyFolder) return errno = EROFS, -1;
    return ::open(path, flags, mode);
}
ssize_t Write(int fd, const void* bytes, size_t size) {
    if (g_fault == Fault::kNoProgress) return 0;
    if (g_fault == Fault::kFullAfterOneByte && ::lseek(fd, 0, SEEK_CUR) > 0)
        return errno = ENOSPC, -1;
    ssize_t n = ::write(fd, bytes, g_fault == Fault::kNone ? size : 1);
    if (g_fault == Fault::kKilled) ::raise(SIGKILL);
    return n;
}
int Sync(int fd) {
    return g_fault == Fault::kSyncFails ? (errno = EIO, -1) : ::fsync(fd);
}
const sys::FileWriteCalls kFaulty = {Open, Write, Sync, ::rename};

class ProgramFiles : public testing::Test {
protected:
    TempDir dir;
    ScopedCwd cwd{dir.path()};

    void SetUp() override {
        SetAppLogEnabled(0);  // closes a log another test left open elsewhere
        SetAppLogEnabled(1);
        ResetSaveReports();
        dir.WriteFile("Score.bin", kOldScore);
        dir.WriteFile("Setting.bin", kOldSetting);
        g_fault = Fault::kNone;
        sys::SetFileWriteCalls(&kFaulty);
    }
    void TearDown() override {
        sys::SetFileWriteCalls(nullptr);
        SetAppLogEnabled(0);
    }
};

TEST_F(ProgramFiles, EveryFailedSaveKeepsTheOldFileAndIsReportedOncePerFile) {
    const std::pair<Fault, const char*> cases[] = {
        {Fault::kReadOnlyFolder, "Read-only file system"},
        {Fault::kFullAfterOneByte, "No space left on device"},
        {Fault::kNoProgress, "No space left on device"},
        {Fault::kSyncFails, "Input/output error"},
        {Fault::kNone, "Is a directory"},  // the files are folders
    };
    for (const auto& [fault, reason] : cases) {
        SCOPED_TRACE(reason);
        ResetSaveReports();
        g_fault = fault;
        if (fault == Fault::kNone) {
            for (const char* name : {"Score.bin", "Setting.bin"}) {
                std::remove(name);
                dir.MakeDir(name);
            }
        }
        testing::internal::CaptureStderr();
        for (int i = 0; i < 2; ++i) {
            EXPECT_FALSE(SaveBestScore(99));
            EXPECT_FALSE(SaveSettings(TSetting{0, 0}));
        }
        const std::string tail = std::string(": ") + reason + "; the file keeps what it held\n";
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "orvan: cannot save \"Score.bin\"" + tail + "orvan: cannot save \"Setting.bin\"" +
                      tail);
        EXPECT_NE(dir.ReadFile("AppLog.txt").find("cannot save \"Setting.bin\"" + tail),
                  std::string::npos);
        EXPECT_FALSE(dir.Exists("Score.bin.tmp") || dir.Exists("Setting.bin.tmp"));
        if (fault == Fault::kNone) continue;  // the folders stay folders
        EXPECT_EQ(dir.ReadFile("Score.bin"), kOldScore);
        EXPECT_EQ(dir.ReadFile("Setting.bin"), kOldSetting);
    }
}

TEST_F(ProgramFiles, AKillInTheMiddleOfAWriteLeavesTheOldFileWhole) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        g_fault = Fault::kKilled;
        SaveBestScore(99);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(dir.ReadFile("Score.bin.tmp").size(), 1u);  // killed in the middle
    EXPECT_EQ(LoadBestScore(), 1234u);
    // The next save goes through the half-written temporary file.
    g_fault = Fault::kNone;
    EXPECT_TRUE(SaveBestScore(99));
    EXPECT_EQ(LoadBestScore(), 99u);
    EXPECT_FALSE(dir.Exists("Score.bin.tmp"));
}

TEST_F(ProgramFiles, GamesGoOnWhenTheBestScoreCannotBeSaved) {
    ProjectWriter(dir.path())
        .KindFolders()
        .Global()
        .File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
    g_fault = Fault::kReadOnlyFolder;
    GameRunner run(dir.path());
    ASSERT_TRUE(run.Start());
    testing::internal::CaptureStderr();
    for (int game = 0; game < 2; ++game) {
        run.game().states = {kBoot, kGameStart, kGamePlay};
        ASSERT_TRUE(run.RunUntilState(kGamePlay));
        run.game().world.player.gameOver = true;
        ASSERT_TRUE(run.Frame());
        run.game().world.player.gameOver = false;
        ASSERT_TRUE(run.RunUntilState(kGameOverMenu));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "orvan: cannot save \"Score.bin\": Read-only file system; the file keeps what it "
              "held\n");
    EXPECT_EQ(dir.ReadFile("Score.bin"), kOldScore);
}

TEST_F(ProgramFiles, SettingsAreTwoFlagsAndAShortFileChangesOnlyItsBytes) {
    const struct {
        std::string bytes;                              // empty: no file
        TSetting after;                                 // loaded over {1, 0}
    } cases[] = {{std::string("\x00\x01", 2), {0, 1}},  // windowed, no frame rate
                 {std::string("\x05", 1), {5, 0}},      // any value but 0 is on, kept as stored
                 {"", {1, 0}}};
    for (const auto& c : cases) {
        if (!c.bytes.empty()) dir.WriteFile("Setting.bin", c.bytes);
        TSetting s{1, 0};
        EXPECT_EQ(LoadSettings(s), !c.bytes.empty());
        EXPECT_EQ(std::make_pair(s.showFps, s.windowed),
                  std::make_pair(c.after.showFps, c.after.windowed));
        std::remove("Setting.bin");
    }
    dir.WriteFile("Setting.bin", std::string("\x07\x07\x07\x07", 4));
    EXPECT_TRUE(SaveSettings(TSetting{1, 0}));
    EXPECT_EQ(dir.ReadFile("Setting.bin"), std::string("\x01\x00", 2));
    EXPECT_FALSE(dir.Exists("Setting.bin.tmp"));
}

TEST_F(ProgramFiles, BestScoreIsStoredLittleEndianAndIsZeroWhenUnreadable) {
    EXPECT_TRUE(SaveBestScore(0x89ABCDEFu));
    EXPECT_EQ(dir.ReadFile("Score.bin"), "\xEF\xCD\xAB\x89");
    EXPECT_EQ(LoadBestScore(), 0x89ABCDEFu);
    dir.WriteFile("Score.bin", std::string("\xD2\x04", 2));  // the bytes it lacks count as 0
    EXPECT_EQ(LoadBestScore(), 1234u);
    std::remove("Score.bin");
    EXPECT_EQ(LoadBestScore(), 0u);
    dir.MakeDir("Score.bin");
    EXPECT_EQ(LoadBestScore(), 0u);  // a folder (saving over it is a save fault)
}

TEST_F(ProgramFiles, ErrorFileHoldsTheLengthTheMessageAndItsTerminator) {
    WriteErrorFile("");
    EXPECT_EQ(dir.ReadFile("Error.bin"), std::string("\x01\x00\x00\x00\x00", 5));
    // It shuts the media layer down even when it cannot be written.
    media::SetHost(media::CreateHeadlessHost());
    SetAppLogEnabled(0);
    ASSERT_EQ(MediaInit(), 0);
    std::remove("Error.bin");
    dir.MakeDir("Error.bin");
    WriteErrorFile("x");
    EXPECT_FALSE(media::MediaRunning());
}

}  // namespace
