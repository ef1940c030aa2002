// The mixer: the voices that play, each a playback copy of a sound, summed into the
// interleaved stereo int16 frames that the host pulls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/ogg_decoder.h"

namespace media {

// Volume 0..255 as an attenuation in hundredths of a decibel: 0 at 255 and above, -10000
// (silence) at 0 and below, 1000 x log10(volume / 255) truncated toward zero between.
int AttenuationForVolume(int volume);
// The factor applied to the samples for an attenuation; -10000 is silence.
float GainForAttenuation(int hundredthsOfDb);

struct Voice {
    // A sound in memory: its frames (shared by every copy of the sound) and where this copy is.
    const int16_t* frames = nullptr;
    size_t length = 0;
    size_t position = 0;
    // A streamed sound: its decoder while this copy plays.
    std::unique_ptr<OggDecoder> stream;

    bool playing = false;
    bool looping = false;
    float gain = 1.0f;
    bool listed = false;  // on the mixer's list (may lag behind 'playing' until the next mix)

    // Ends playback at once; a sound in memory keeps its position.
    void Stop() {
        playing = false;
        stream.reset();
    }
};

class Mixer {
public:
    // Adds a voice that has just started; voices stay where they are until Clear.
    void Play(Voice* voice);
    // Sums every playing voice into 'out' (saturating). A voice that runs out stops in the
    // call that mixes its last frame.
    void Mix(int16_t* out, int frames);
    // Forgets every voice, before their sounds are freed.
    void Clear();
    // Forgets one voice, before its sound is freed.
    void Forget(Voice* voice);

private:
    void MixMemory(Voice& voice, float* sum, int frames);
    void MixStream(Voice& voice, float* sum, int frames);

    std::vector<Voice*> voices_;
    std::vector<float> sum_;
    std::vector<int16_t> streamed_;
};

}  // namespace media
