#include "media/sound_decode.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "media/audio_convert.h"
#include "media/ogg_decoder.h"

namespace media {
namespace {

uint32_t ReadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// Moves what the converter has ready to the end of 'frames', refusing to grow past 'cap'
// frames.
bool Drain(MixConverter& converter, std::vector<int16_t>* frames, size_t cap, std::string* error) {
    for (;;) {
        int ready = converter.Available();
        if (ready <= 0) return true;
        size_t have = frames->size() / 2;
        if (have + static_cast<size_t>(ready) > cap) return Fail(error, "the sound is too long");
        frames->resize((have + ready) * 2);
        int got = converter.Get(frames->data() + have * 2, ready);
        frames->resize((have + got) * 2);
        if (got <= 0) return true;
    }
}

size_t MaxFrames(int mixRate) {
    return static_cast<size_t>(mixRate) * kMaxDecodedSeconds;
}

bool DecodeWav(const std::vector<uint8_t>& file, int mixRate, std::vector<int16_t>* frames,
               std::string* error) {
    if (!CheckWavChunks(file.data(), file.size(), error)) return false;
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!rw) return Fail(error, SDL_GetError());
    SDL_AudioSpec spec{};
    Uint8* pcm = nullptr;
    Uint32 bytes = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &pcm, &bytes)) {
        return Fail(error, std::string("unreadable WAV: ") + SDL_GetError());
    }
    struct Free {
        Uint8* p;
        ~Free() { SDL_FreeWAV(p); }
    } freeLater{pcm};

    int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    if (frameBytes <= 0 || spec.freq <= 0) return Fail(error, "unsupported WAV layout");
    size_t sourceFrames = bytes / static_cast<size_t>(frameBytes);
    if (sourceFrames == 0) return Fail(error, "no samples");
    size_t cap = MaxFrames(mixRate);
    double expected = static_cast<double>(sourceFrames) * mixRate / spec.freq;
    if (expected > static_cast<double>(cap)) return Fail(error, "the sound is too long");

    MixConverter converter;
    if (!converter.Open(spec.format, spec.channels, spec.freq, mixRate, error)) return false;
    frames->clear();
    frames->reserve((static_cast<size_t>(expected) + 256) * 2);
    // In slices, so that the converter's float copy of a long sound is never held whole.
    const size_t slice = static_cast<size_t>(frameBytes) * 16384;
    size_t whole = sourceFrames * frameBytes;
    for (size_t at = 0; at < whole; at += slice) {
        size_t n = std::min(slice, whole - at);
        if (!converter.Put(pcm + at, static_cast<int>(n))) return Fail(error, SDL_GetError());
        if (!Drain(converter, frames, cap, error)) return false;
    }
    converter.Flush();
    if (!Drain(converter, frames, cap, error)) return false;
    if (frames->empty()) return Fail(error, "no samples");
    return true;
}

bool DecodeOgg(const std::vector<uint8_t>& file, int mixRate, std::vector<int16_t>* frames,
               std::string* error) {
    OggDecoder decoder;
    if (!decoder.OpenMemory(file.data(), file.size(), mixRate, error)) return false;
    size_t cap = MaxFrames(mixRate);
    double expected = static_cast<double>(decoder.SourceFrames()) * mixRate / decoder.SourceRate();
    if (expected > static_cast<double>(cap)) return Fail(error, "the sound is too long");
    frames->clear();
    frames->reserve((static_cast<size_t>(expected) + 256) * 2);
    const int slice = 4096;
    // Bounded by the cap: each pass adds a full slice or ends.
    for (;;) {
        size_t have = frames->size() / 2;
        if (have > cap) return Fail(error, "the sound is too long");
        frames->resize((have + slice) * 2);
        int got = decoder.Read(frames->data() + have * 2, slice, false);
        frames->resize((have + got) * 2);
        if (got < slice) break;
    }
    if (decoder.Damaged()) return Fail(error, "damaged Ogg Vorbis data");
    if (frames->empty()) return Fail(error, "no samples");
    return true;
}

}  // namespace

SoundFormat DetectSoundFormat(const uint8_t* bytes, size_t size) {
    if (size >= 12 && std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0)
        return SoundFormat::kWav;
    if (size >= 4 && std::memcmp(bytes, "OggS", 4) == 0) return SoundFormat::kOgg;
    return SoundFormat::kUnknown;
}

bool CheckWavChunks(const uint8_t* bytes, size_t size, std::string* error) {
    if (DetectSoundFormat(bytes, size) != SoundFormat::kWav) return Fail(error, "not a WAV file");
    // The RIFF size itself is not trusted: many writers leave it wrong, and SDL ignores it.
    bool format = false, data = false;
    size_t pos = 12;
    while (size - pos >= 8) {
        uint32_t length = ReadLe32(bytes + pos + 4);
        if (length > size - pos - 8) {
            std::string id;
            for (int i = 0; i < 4; ++i) {
                char c = static_cast<char>(bytes[pos + i]);
                id += (c >= 0x20 && c < 0x7F) ? c : '?';
            }
            return Fail(error, "the '" + id + "' chunk runs past the end of the file");
        }
        if (std::memcmp(bytes + pos, "fmt ", 4) == 0) format = true;
        if (std::memcmp(bytes + pos, "data", 4) == 0) data = true;
        pos += 8 + static_cast<size_t>(length) + (length & 1);  // chunks are word-aligned
        if (pos > size) break;  // a missing pad byte after the last chunk
    }
    if (!format) return Fail(error, "no 'fmt ' chunk");
    if (!data) return Fail(error, "no 'data' chunk");
    return true;
}

bool DecodeSound(const std::vector<uint8_t>& file, int mixRate, std::vector<int16_t>* frames,
                 std::string* error) {
    switch (DetectSoundFormat(file.data(), file.size())) {
        case SoundFormat::kWav:
            return DecodeWav(file, mixRate, frames, error);
        case SoundFormat::kOgg:
            return DecodeOgg(file, mixRate, frames, error);
        default:
            return Fail(error, file.empty() ? "empty file" : "neither WAV nor Ogg Vorbis");
    }
}

}  // namespace media
