#include "project/sound_entry.h"

#include "media/media.h"
#include "project/project.h"

void PlaySoundEntry(const TSoundDef& sound) {
    StopSound(sound.handle);
    StartSound(sound.handle, sound.loop ? 3 : 1, 1);
}

void PlaySoundNumber(const TProject& project, int32_t n) {
    if (n < 0 || n >= kSoundCount) return;
    PlaySoundEntry(project.sounds[n]);
}

void StopEverySound(const TProject& project) {
    for (const TSoundDef& s : project.sounds) StopSound(s.handle);
}
