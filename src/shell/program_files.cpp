#include "shell/program_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "media/media.h"
#include "sys/sys.h"

namespace {

// Reads up to 'size' bytes of the file over 'out'. The bytes a short file lacks keep what
// 'out' held. False when the file does not open or a read error occurs (nothing changes).
bool ReadSmallFile(const char* path, uint8_t* out, size_t size) {
    FILE* f = sys::OpenProgramFile(path, "rb");
    if (!f) return false;
    uint8_t bytes[8];
    size_t got = std::fread(bytes, 1, size, f);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return false;
    std::memcpy(out, bytes, got);
    return true;
}

// A file that cannot be saved is reported the first time in a run, on stderr and in the
// log; later failures of the same file say nothing new. The game goes on with the old file,
// and a box in the middle of play would only get in the way.
bool g_settingsReported = false;
bool g_scoreReported = false;

bool Saved(bool ok, const char* name, bool& reported) {
    if (ok || reported) return ok;
    reported = true;
    std::string line = std::string("cannot save \"") + name + "\": " + std::strerror(errno) +
                       "; the file keeps what it held";
    std::fprintf(stderr, "orvan: %s\n", line.c_str());
    AddLogLine(line.c_str());
    return false;
}

}  // namespace

void ResetSaveReports() {
    g_settingsReported = false;
    g_scoreReported = false;
}

bool LoadSettings(TSetting& setting) {
    uint8_t bytes[2] = {setting.showFps, setting.windowed};
    if (!ReadSmallFile("Setting.bin", bytes, sizeof bytes)) return false;
    setting.showFps = bytes[0];
    setting.windowed = bytes[1];
    return true;
}

bool SaveSettings(const TSetting& setting) {
    // Replaced through a temporary file, so a crash never leaves half a record.
    const uint8_t bytes[2] = {setting.showFps, setting.windowed};
    return Saved(sys::WriteProgramFile("Setting.bin", bytes, sizeof bytes), "Setting.bin",
                 g_settingsReported);
}

uint32_t LoadBestScore() {
    uint8_t b[4] = {0, 0, 0, 0};
    if (!ReadSmallFile("Score.bin", b, sizeof b)) return 0;
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

bool SaveBestScore(uint32_t best) {
    const uint8_t b[4] = {static_cast<uint8_t>(best), static_cast<uint8_t>(best >> 8),
                          static_cast<uint8_t>(best >> 16), static_cast<uint8_t>(best >> 24)};
    return Saved(sys::WriteProgramFile("Score.bin", b, sizeof b), "Score.bin", g_scoreReported);
}

void WriteErrorFile(TString message) {
    if (FILE* f = sys::OpenProgramFile("Error.bin", "wb")) {
        uint32_t n = static_cast<uint32_t>(message.Length() + 1);
        const uint8_t length[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                   static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        std::fwrite(length, 1, sizeof length, f);
        std::fwrite(message.c_str(), 1, n, f);
        std::fclose(f);
    }
    MediaEnd();
}
