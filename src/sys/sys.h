// Operating-system services that the game uses directly: the current folder, file tests,
// folder creation and moves, the message box, the posted quit request, the millisecond
// clock with Sleep, and the C-library-style random generator.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace sys {

// ---- Files and folders. Every path here is a project path: '\' separators and cp932
// names, as the game builds them. They are turned into host paths by HostPath.

// Changes the process's current folder. Returns false when it does not exist.
bool SetCurrentDirectory(const char* path);
// True when the file or folder exists (GetFileAttributesA != -1).
bool FileExists(const char* path);
// Creates one folder. False when it could not be made (it may already exist).
bool CreateDirectory(const char* path);
// Moves a file. Never replaces an existing target: false when the target exists or the
// source is missing.
bool MoveFile(const char* from, const char* to);
// Opens a project file with a C stdio mode ("rb", "wb").
FILE* OpenFile(const char* path, const char* mode);
// Replaces 'path' by 'bytes' through a temporary file beside it that is renamed over the
// old file, so that a crash or a full disk never leaves a half-written file. On failure the
// old file is as it was, the temporary file is gone and errno says why.
bool WriteFileAtomically(const char* path, const void* bytes, size_t size);

// ---- The data folder and the program's own files.
// A data folder that must not be written (installed, unpacked from a zip, on a read-only
// medium) is only read: folder creations and moves are kept in memory, so that later tests
// and opens find a moved file where it lies, and opening for writing fails.
void SetDataFolderReadOnly(bool readOnly);
// The folder (a host path) for the program's own files: "Setting.bin", "Score.bin",
// "Error.bin", "AppLog.txt". Empty, as at start: the data folder, the current folder.
void SetProgramFilesFolder(const std::string& hostFolder);
// Where a program file is written.
std::string ProgramFilePath(const char* name);
// Opens a program file: for reading the program files folder is tried first, then the data
// folder; writing goes to the program files folder.
FILE* OpenProgramFile(const char* name, const char* mode);
// WriteFileAtomically for a program file.
bool WriteProgramFile(const char* name, const void* bytes, size_t size);
// Creates a host folder and its missing parents. True when it is there afterwards.
bool MakeFolders(const std::string& hostPath);

// The system calls behind WriteFileAtomically. A test replaces them to make a write fail the
// way a read-only folder, a full disk or a crash in the middle of it would.
struct FileWriteCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* bytes, size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
// Installs 'calls' (nullptr: the system's own) and returns what was installed before.
const FileWriteCalls* SetFileWriteCalls(const FileWriteCalls* calls);

// A data folder held in memory, for fuzzing: while a set of files is installed, the disk is
// not touched. FileExists and OpenFile for reading see only these files; every write
// (OpenFile for writing, WriteFileAtomically, CreateDirectory, MoveFile) fails with EROFS,
// as in a read-only folder. Paths are project paths, matched with '\' and '/' alike and
// ASCII case ignored.
struct MemoryFile {
    std::string path;
    std::vector<uint8_t> bytes;
};
// 'files' must outlive its use, and every file opened from it must be closed before it
// changes; nullptr goes back to the disk.
void UseMemoryFiles(const std::vector<MemoryFile>* files);

// Turns a project path into a host path: '\' becomes '/', cp932 becomes UTF-8 and, when a
// component does not exist under its exact name, a case-insensitive match in its folder
// is used instead.
std::string HostPath(const char* projectPath);

// ---- Text encodings (glibc iconv). Invalid sequences become '?'.
std::string Cp932ToUtf8(const std::string& cp932);
std::string Utf8ToCp932(const std::string& utf8);

// ---- Message box and quit request.
enum class MessageBoxIcon { Information, Stop, Question, Exclamation };
enum class MessageBoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageBoxAnswer {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

// Shows a modal box; text and caption are cp932. Headless (or without a display) the box
// is written to stderr in UTF-8 and answered with the default button.
MessageBoxAnswer ShowMessageBox(const char* text, const char* caption, MessageBoxIcon icon,
                                MessageBoxButtons buttons, int defaultButton);
// The headless host sends every box to stderr.
void SetMessageBoxesToStderr(bool toStderr);

// PostQuitMessage: the next message processing of the frame loop sees it.
void PostQuitMessage(int exitCode);
bool QuitPosted();
void ClearQuit();

// ---- Time. timeGetTime: milliseconds, unsigned 32-bit, wrapping.
uint32_t TimeGetTime();
void Sleep(uint32_t ms);
void TimeBeginPeriod(uint32_t ms);  // the host clock is already fine-grained: no-op
void TimeEndPeriod(uint32_t ms);
// A virtual clock for headless runs: TimeGetTime only moves when Sleep is called, and Sleep
// returns at once. 'start' is the clock's value when switched on.
void UseVirtualClock(bool on, uint32_t start = 0);
bool VirtualClockActive();

// ---- Random numbers, the classic C library contract: values 0..32767.
void SeedRandom(uint32_t seed);
int Rand();
// Moves the stream on as 'draws' calls of Rand would, counting them, without the time they
// take: for draws whose values can no longer change anything.
void SkipRandom(uint64_t draws);
// Values drawn since start-up (for state dumps and replays).
uint64_t RandCalls();

}  // namespace sys
