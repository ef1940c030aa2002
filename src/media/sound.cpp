// Sound: loading, the playback copies of each sound, and the operations the game calls.
// The mixer runs in PullAudio, which the host calls from its audio thread or by its clock;
// everything here is under the media lock.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "media/audio_convert.h"
#include "media/core.h"
#include "media/media.h"
#include "media/mixer.h"
#include "media/ogg_decoder.h"
#include "media/sound_decode.h"
#include "sys/sys.h"

namespace media {
namespace {

constexpr size_t kMaxSounds = 4096;
constexpr int kMaxCopies = 10;
constexpr int kDefaultRate = 48000;

struct Sound {
    std::vector<int16_t> frames;  // decoded, shared by every copy
    bool streamed = false;        // an Ogg file decoded while it plays
    std::string path;             // the project path of a streamed sound
    int rate = 0;                 // the rate 'frames' (or the stream) is converted to
    std::vector<Voice> copies;    // never resized once made: the mixer points into it
    size_t next = 0;              // the copy the next start takes
};

struct SoundState {
    HandleTable<std::unique_ptr<Sound>> sounds{kSoundHandle, kMaxSounds};
    Mixer mixer;
    int loadMode = 0;
    // The rate every loaded sound is converted to: the mix rate when the first one loaded.
    int bufferRate = 0;
    // Turns the mix into the host's rate should the device have opened at another rate
    // after sounds were loaded.
    MixConverter output;
    bool muted = false;
    int outputFrom = 0, outputTo = 0;
    std::vector<int16_t> outputMix;
};

SoundState& State() {
    // Never destroyed: an audio thread still pulling at exit finds it intact.
    static SoundState* state = new SoundState;
    return *state;
}

Sound* Find(int handle) {
    std::unique_ptr<Sound>* s = State().sounds.Get(handle);
    return s ? s->get() : nullptr;
}

// Play type 0 returns once the copy has played to its end. The lock is let go between
// looks, so that the audio thread can mix; without a device the clock pulls the mixer.
void WaitUntilFinished(int handle, const Voice& v) {
    while (v.playing && Find(handle)) {
        int holds = TheMediaLock().UnlockAll();
        sys::Sleep(1);
        TheMediaLock().RelockAll(holds);
        CurrentHost().PullAudioByClock(sys::TimeGetTime());
    }
}

int LoadFailed(const char* path, const std::string& why) {
    Log("LoadSoundFile: %s: %s", path ? sys::Cp932ToUtf8(path).c_str() : "(null)", why.c_str());
    return -1;
}

// Reads a whole file (and closes it), refusing files too large to be a sound in memory.
bool ReadWhole(FILE* file, std::vector<uint8_t>* bytes, std::string* error) {
    bool ok = false;
    off_t size = -1;
    if (fseeko(file, 0, SEEK_END) == 0) size = ftello(file);
    if (size < 0 || fseeko(file, 0, SEEK_SET) != 0) {
        *error = "cannot read the file";
    } else if (static_cast<uint64_t>(size) > kMaxSoundFileBytes) {
        *error = "the file is too large";
    } else {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
        if (!ok) *error = "cannot read the file";
    }
    std::fclose(file);
    return ok;
}

// Opens a streamed sound's decoder on its file, from the first sample.
std::unique_ptr<OggDecoder> OpenStream(const char* path, int rate, std::string* error) {
    FILE* file = sys::OpenFile(path, "rb");
    if (!file) {
        *error = "cannot open the file";
        return nullptr;
    }
    auto decoder = std::make_unique<OggDecoder>();
    if (!decoder->OpenFile(file, rate, error)) return nullptr;
    decoder->DecodeAhead();
    return decoder;
}

void MixAtHostRate(SoundState& st, int16_t* out, int frames, int hostRate) {
    if (st.bufferRate == 0 || st.bufferRate == hostRate) {
        st.mixer.Mix(out, frames);
        return;
    }
    if (!st.output.IsOpen() || st.outputFrom != st.bufferRate || st.outputTo != hostRate) {
        st.outputFrom = st.bufferRate;
        st.outputTo = hostRate;
        // Small blocks: what waits in the converter delays the ends of sounds.
        if (!st.output.Open(kFormatS16, 2, st.bufferRate, hostRate, nullptr, 1024)) st.outputTo = 0;
    }
    int got = 0;
    if (st.outputTo) {
        const int slice = 512;
        st.outputMix.resize(slice * 2);
        // Each slice of mix yields about slice * hostRate / bufferRate frames; the bound
        // only guards against a converter that stops giving anything.
        int budget = 16 + 4 * (frames / slice + 1) * std::max(1, st.bufferRate / hostRate + 1);
        while (got < frames && budget-- > 0) {
            got += st.output.Get(out + 2 * got, frames - got);
            if (got == frames) break;
            st.mixer.Mix(st.outputMix.data(), slice);
            st.output.Put(st.outputMix.data(), slice * 4);
        }
    }
    std::fill(out + 2 * got, out + 2 * static_cast<size_t>(frames), int16_t{0});
}

}  // namespace

void ReleaseAllSounds() {
    MediaLockGuard g;
    SoundState& st = State();
    st.mixer.Clear();
    st.sounds.Clear();
    st.output.Close();
    st.outputFrom = st.outputTo = 0;
    st.bufferRate = 0;
}

int MixRate() {
    MediaLockGuard g;
    int rate = CurrentHost().AudioRate();
    return rate > 0 ? rate : kDefaultRate;
}

void PullAudio(int16_t* out, int frames) {
    if (!out || frames <= 0) return;
    MediaLockGuard g;
    MixAtHostRate(State(), out, frames, MixRate());
    if (State().muted) std::fill(out, out + 2 * static_cast<size_t>(frames), int16_t{0});
}

void SetOutputMuted(bool muted) {
    MediaLockGuard g;
    State().muted = muted;
}

}  // namespace media

using media::MediaLockGuard;

int SetSoundLoadMode(int mode) {
    MediaLockGuard g;
    if (mode != 0 && mode != 2) return -1;
    media::State().loadMode = mode;
    return 0;
}

int LoadSoundFile(const char* path, int bufferCount) {
    MediaLockGuard g;
    media::SoundState& st = media::State();
    if (!path || !*path) return media::LoadFailed(path, "no file name");
    if (st.sounds.Live() >= media::kMaxSounds)
        return media::LoadFailed(path, "no free sound handle");
    // Every sound shares one rate, so the mixer never resamples a voice.
    if (st.sounds.Live() == 0) st.bufferRate = media::MixRate();
    const int rate = st.bufferRate;

    FILE* file = sys::OpenFile(path, "rb");
    if (!file) return media::LoadFailed(path, "cannot open the file");
    auto sound = std::make_unique<media::Sound>();
    sound->rate = rate;
    std::string error;
    bool streamed = st.loadMode == 2;
    uint8_t head[4] = {};
    bool isOgg = std::fread(head, 1, 4, file) == 4 && std::memcmp(head, "OggS", 4) == 0;
    std::rewind(file);
    if (streamed && isOgg) {
        // Checked now, decoded while it plays: each start opens the file again.
        media::OggDecoder probe;
        if (!probe.OpenFile(file, rate, &error)) return media::LoadFailed(path, error);
        sound->streamed = true;
        sound->path = path;
    } else {
        // A streamed WAV is simply held in memory.
        std::vector<uint8_t> bytes;
        if (!media::ReadWhole(file, &bytes, &error)) return media::LoadFailed(path, error);
        if (!media::DecodeSound(bytes, rate, &sound->frames, &error))
            return media::LoadFailed(path, error);
    }
    int copies = streamed ? 1 : std::min(std::max(bufferCount, 1), media::kMaxCopies);
    sound->copies.resize(static_cast<size_t>(copies));
    for (media::Voice& v : sound->copies) {
        v.frames = sound->streamed ? nullptr : sound->frames.data();
        v.length = sound->frames.size() / 2;
    }
    int handle = st.sounds.Add(std::move(sound));
    if (handle == -1) return media::LoadFailed(path, "no free sound handle");
    return handle;
}

int StartSound(int sound, int playType, int fromStart) {
    MediaLockGuard g;
    media::Sound* s = media::Find(sound);
    if (!s) return -1;
    if (playType != 0 && playType != 1 && playType != 3) return -1;
    media::Voice& v = s->copies[s->next];
    s->next = (s->next + 1) % s->copies.size();
    if (v.playing) {
        if (!fromStart) {
            media::TheCore().soundStarts.push_back(sound);
            return 0;  // that copy carries on as it is
        }
        v.Stop();
    }
    if (s->streamed) {
        // A stream always starts from its first sample.
        std::string error;
        v.stream = media::OpenStream(s->path.c_str(), s->rate, &error);
        if (!v.stream) {
            media::Log("StartSound: %s: %s", sys::Cp932ToUtf8(s->path).c_str(), error.c_str());
            return -1;
        }
    } else if (fromStart) {
        v.position = 0;
    }
    v.looping = playType == 3;
    v.playing = true;
    media::State().mixer.Play(&v);
    media::TheCore().soundStarts.push_back(sound);
    if (playType == 0) media::WaitUntilFinished(sound, v);
    return 0;
}

int StopSound(int sound) {
    MediaLockGuard g;
    media::Sound* s = media::Find(sound);
    if (!s) return -1;
    for (media::Voice& v : s->copies) v.Stop();
    return 0;
}

int IsSoundPlaying(int sound) {
    MediaLockGuard g;
    media::Sound* s = media::Find(sound);
    if (!s) return -1;
    for (const media::Voice& v : s->copies)
        if (v.playing) return 1;
    return 0;
}

int SetSoundVolume(int volume, int sound) {
    MediaLockGuard g;
    media::Sound* s = media::Find(sound);
    if (!s) return -1;
    float gain = media::GainForAttenuation(media::AttenuationForVolume(volume));
    for (media::Voice& v : s->copies) v.gain = gain;
    return 0;
}

int DeleteSound(int sound) {
    MediaLockGuard g;
    media::SoundState& st = media::State();
    media::Sound* s = media::Find(sound);
    if (!s) return -1;
    for (media::Voice& v : s->copies) {
        v.Stop();
        st.mixer.Forget(&v);
    }
    st.sounds.Remove(sound);
    return 0;
}
