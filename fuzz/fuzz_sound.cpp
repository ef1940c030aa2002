// WAV and Ogg Vorbis decoding: the chunk check, the whole-file decoder, and the streaming
// decoder that plays long sounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/ogg_decoder.h"
#include "media/sound_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int kMixRate = 44100;
    std::string error;
    media::CheckWavChunks(data, size, &error);
    media::OggTailEndsStream(data, size);

    std::vector<uint8_t> file(data, data + size);
    std::vector<int16_t> frames;
    media::DecodeSound(file, kMixRate, &frames, &error);

    if (media::DetectSoundFormat(data, size) == media::SoundFormat::kOgg) {
        media::OggDecoder decoder;
        if (decoder.OpenMemory(file.data(), file.size(), kMixRate, &error)) {
            int16_t buffer[2 * 1024];
            // Looping: read past the end a few times, as a looping stream does.
            for (int i = 0; i < 64 && !decoder.Damaged(); ++i) decoder.Read(buffer, 1024, true);
            decoder.Finished(true);
        }
    }
    return 0;
}
