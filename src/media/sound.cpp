// Sound. Placeholder until the mixer lands: loading fails with -1.
#include <cstring>

#include "media/core.h"
#include "media/media.h"

namespace media {
void ReleaseAllSounds() {}
void PullAudio(int16_t* out, int frames) {
    if (out && frames > 0) std::memset(out, 0, sizeof(int16_t) * 2 * static_cast<size_t>(frames));
}
int MixRate() { return 48000; }
}  // namespace media

int SetSoundLoadMode(int mode) { return (mode == 0 || mode == 2) ? 0 : -1; }
int LoadSoundFile(const char*, int) { return -1; }
int StartSound(int, int, int) { return -1; }
int StopSound(int) { return -1; }
int IsSoundPlaying(int) { return -1; }
int SetSoundVolume(int, int) { return -1; }
