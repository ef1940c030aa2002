#include "media/mixer.h"

#include <algorithm>
#include <cmath>

namespace media {
namespace {

constexpr int kSilence = -10000;

void AddScaled(float* sum, const int16_t* samples, size_t count, float gain) {
    if (gain == 0.0f) return;
    for (size_t i = 0; i < count; ++i) sum[i] += static_cast<float>(samples[i]) * gain;
}

int16_t Saturate(float v) {
    if (v >= 32767.0f) return 32767;
    if (v <= -32768.0f) return -32768;
    return static_cast<int16_t>(v < 0 ? v - 0.5f : v + 0.5f);
}

}  // namespace

int AttenuationForVolume(int volume) {
    if (volume <= 0) return kSilence;
    if (volume >= 255) return 0;
    int hundredths = static_cast<int>(1000.0 * std::log10(volume / 255.0));  // toward zero
    return std::max(hundredths, kSilence);
}

float GainForAttenuation(int hundredthsOfDb) {
    if (hundredthsOfDb <= kSilence) return 0.0f;
    if (hundredthsOfDb >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

void Mixer::Play(Voice* voice) {
    if (voice->listed) return;
    voice->listed = true;
    voices_.push_back(voice);
}

void Mixer::Clear() {
    for (Voice* v : voices_) v->listed = false;
    voices_.clear();
}

void Mixer::Forget(Voice* voice) {
    if (!voice->listed) return;
    voice->listed = false;
    voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

void Mixer::MixMemory(Voice& v, float* sum, int frames) {
    if (!v.frames || v.length == 0) {
        v.Stop();
        return;
    }
    size_t remaining = static_cast<size_t>(frames);
    while (remaining > 0) {
        size_t n = std::min(remaining, v.length - v.position);
        AddScaled(sum, v.frames + v.position * 2, n * 2, v.gain);
        sum += n * 2;
        remaining -= n;
        v.position += n;
        if (v.position < v.length) continue;
        // The wrap of a loop happens between two frames of this same pull: no gap.
        v.position = 0;
        if (!v.looping) {
            v.Stop();
            return;
        }
    }
}

void Mixer::MixStream(Voice& v, float* sum, int frames) {
    if (!v.stream) {
        v.Stop();
        return;
    }
    streamed_.resize(static_cast<size_t>(frames) * 2);
    int got = v.stream->Read(streamed_.data(), frames, v.looping);
    AddScaled(sum, streamed_.data(), static_cast<size_t>(got) * 2, v.gain);
    if (got < frames || v.stream->Finished(v.looping)) v.Stop();
}

void Mixer::Mix(int16_t* out, int frames) {
    if (!out || frames <= 0) return;
    sum_.assign(static_cast<size_t>(frames) * 2, 0.0f);
    for (size_t i = 0; i < voices_.size();) {
        Voice& v = *voices_[i];
        if (v.playing) {
            if (v.stream || !v.frames)
                MixStream(v, sum_.data(), frames);
            else
                MixMemory(v, sum_.data(), frames);
        }
        if (v.playing) {
            ++i;
            continue;
        }
        v.listed = false;
        voices_[i] = voices_.back();
        voices_.pop_back();
    }
    for (size_t i = 0; i < sum_.size(); ++i) out[i] = Saturate(sum_[i]);
}

}  // namespace media
