// Saving the program's own files when the disk refuses: the old file stays whole, the game
// goes on, and the player is told once per file and run, on stderr and in "AppLog.txt".
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "media/media.h"
#include "shell/program_files.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "sys/sys.h"

namespace {

const std::string kOldScore("\xD2\x04\x00\x00", 4);  // 1234
const std::string kOldSetting("\x01\x01", 2);

int Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int ReadOnlyFolder(const char*, int, mode_t) {
    errno = EROFS;
    return -1;
}
ssize_t FullAfterOneByte(int fd, const void* bytes, size_t size) {
    if (::lseek(fd, 0, SEEK_CUR) > 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, bytes, 1);
}
ssize_t NoProgress(int, const void*, size_t) {
    return 0;
}
int SyncFails(int) {
    errno = EIO;
    return -1;
}
ssize_t KilledAfterOneByte(int fd, const void* bytes, size_t) {
    (void)!::write(fd, bytes, 1);
    ::raise(SIGKILL);
    return -1;
}

sys::FileWriteCalls With(decltype(sys::FileWriteCalls::open) open = nullptr,
                         decltype(sys::FileWriteCalls::write) write = nullptr,
                         decltype(sys::FileWriteCalls::fsync) fsync = nullptr) {
    return {open ? open : Open, write ? write : ::write, fsync ? fsync : ::fsync, ::rename};
}

class SaveFaults : public testing::Test {
protected:
    TempDir dir;
    ScopedCwd cwd{dir.path()};

    void SetUp() override {
        SetAppLogEnabled(0);  // closes a log another test left open elsewhere
        SetAppLogEnabled(1);
        ResetSaveReports();
        dir.WriteFile("Score.bin", kOldScore);
        dir.WriteFile("Setting.bin", kOldSetting);
    }
    void TearDown() override {
        sys::SetFileWriteCalls(nullptr);
        SetAppLogEnabled(0);
    }
};

TEST_F(SaveFaults, EveryFailedSaveKeepsTheOldFileAndIsReportedOncePerFile) {
    struct Case {
        const char* what;
        sys::FileWriteCalls calls;
        const char* reason;
        bool folders = false;
    };
    const Case cases[] = {
        {"read-only folder", With(ReadOnlyFolder), "Read-only file system"},
        {"disk full part-way", With(nullptr, FullAfterOneByte), "No space left on device"},
        {"a write that makes no progress", With(nullptr, NoProgress), "No space left on device"},
        {"sync fails", With(nullptr, nullptr, SyncFails), "Input/output error"},
        {"the files are folders", With(), "Is a directory", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSaveReports();
        if (c.folders) {
            for (const char* name : {"Score.bin", "Setting.bin"}) {
                std::remove(name);
                dir.MakeDir(name);
            }
        }
        sys::SetFileWriteCalls(&c.calls);
        testing::internal::CaptureStderr();
        for (int i = 0; i < 2; ++i) {
            EXPECT_FALSE(SaveBestScore(99));
            EXPECT_FALSE(SaveSettings(TSetting{0, 0}));
        }
        const std::string told = testing::internal::GetCapturedStderr();
        sys::SetFileWriteCalls(nullptr);
        const std::string tail = std::string(": ") + c.reason + "; the file keeps what it held\n";
        EXPECT_EQ(told, "orvan: cannot save \"Score.bin\"" + tail +
                            "orvan: cannot save \"Setting.bin\"" + tail);
        EXPECT_NE(dir.ReadFile("AppLog.txt").find("cannot save \"Setting.bin\"" + tail),
                  std::string::npos);
        if (c.folders) continue;  // the folders stay folders
        EXPECT_EQ(dir.ReadFile("Score.bin"), kOldScore);
        EXPECT_EQ(dir.ReadFile("Setting.bin"), kOldSetting);
        EXPECT_FALSE(dir.Exists("Score.bin.tmp"));
        EXPECT_FALSE(dir.Exists("Setting.bin.tmp"));
    }
}

TEST_F(SaveFaults, AKillInTheMiddleOfAWriteLeavesTheOldFileWhole) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        static const sys::FileWriteCalls kill = With(nullptr, KilledAfterOneByte);
        sys::SetFileWriteCalls(&kill);
        SaveBestScore(99);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(dir.ReadFile("Score.bin.tmp").size(), 1u);  // killed in the middle
    EXPECT_EQ(LoadBestScore(), 1234u);
    // The next save goes through the half-written temporary file.
    EXPECT_TRUE(SaveBestScore(99));
    EXPECT_EQ(LoadBestScore(), 99u);
    EXPECT_FALSE(dir.Exists("Score.bin.tmp"));
}

TEST_F(SaveFaults, GamesGoOnWhenTheBestScoreCannotBeSaved) {
    ProjectWriter w(dir.path());
    w.KindFolders().Global();
    w.File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
    static const sys::FileWriteCalls readOnly = With(ReadOnlyFolder);
    sys::SetFileWriteCalls(&readOnly);
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

}  // namespace
