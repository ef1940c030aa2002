// Playing a sound entry is always the same: stop its handle, then start it from the
// beginning, looped when its loop flag is set, else once.
#pragma once

#include <cstdint>

struct TSoundDef;
struct TProject;

void PlaySoundEntry(const TSoundDef& sound);
// Sound number n of the project; a number outside the table plays nothing.
void PlaySoundNumber(const TProject& project, int32_t n);
// StopSound on all 256 entries in table order.
void StopEverySound(const TProject& project);
