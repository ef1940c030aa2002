// The program's own small files: "Setting.bin" (the two user flags), "Score.bin" (the best
// score) and "Error.bin" (the message of a fatal content error, for whoever launched the game;
// never read back). They live in the data folder, or where sys keeps the program's files for
// a game that cannot be written. A failed read gives the defaults silently; a failed save
// keeps the old file whole and is reported once per file and run (below).
#pragma once

#include <cstdint>

#include "base/tstring.h"

// "Setting.bin" is this record byte for byte.
struct TSetting {
    uint8_t showFps = 0;   // any value but 0: show the frame rate (the program writes 1)
    uint8_t windowed = 0;  // any value but 0: windowed (the program writes 1)
};

// Reads "Setting.bin" over 'setting'. A short file changes only the bytes it holds; a file
// that does not open or cannot be read changes nothing. True when the file was read.
bool LoadSettings(TSetting& setting);
// Writes the 2-byte record. A file that cannot be written is left as it was; the first such
// failure of the run is written to stderr and "AppLog.txt", never shown in a box.
bool SaveSettings(const TSetting& setting);

// The best score from "Score.bin" (little-endian uint32): 0 when the file is missing or
// unreadable; the bytes a short file lacks count as 0.
uint32_t LoadBestScore();
// Writes the 4 bytes; a failure is handled as SaveSettings handles one.
bool SaveBestScore(uint32_t best);
// Starts a new run's reports: the next failure of each file is reported again.
void ResetSaveReports();

// Writes "Error.bin": n = message length + 1 as a little-endian uint32, then the message
// with its terminating zero. Then, whether or not the file could be written, shuts the
// media layer down; the frame loop ends at its next pass.
void WriteErrorFile(TString message);
