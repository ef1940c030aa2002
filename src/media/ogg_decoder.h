// Ogg Vorbis decoding into the mix format, from bytes in memory or from an open file. The
// same decoder serves sounds decoded whole at load time and sounds streamed while they play,
// so both give the same samples.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace media {

class OggDecoder {
public:
    OggDecoder();
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Opens the stream and checks it: readable headers, one layout in every chained link,
    // at least one sample, and a last page that is complete and marks the end of the
    // stream (a cut-off file is refused). 'data' must outlive the decoder.
    bool OpenMemory(const uint8_t* data, size_t size, int mixRate, std::string* error);
    // The same over a file, which the decoder closes.
    bool OpenFile(FILE* file, int mixRate, std::string* error);

    // Writes up to 'frames' mix frames. Fewer only at the end of a stream that does not loop,
    // or when a decoding error ends it. A looping stream goes on from its first sample
    // without a break: the resampler carries over the wrap.
    int Read(int16_t* out, int frames, bool loop);
    // True once every frame has been read (looks ahead when needed).
    bool Finished(bool loop);
    // For a stream read while it plays: once little is left converted, the next blocks are
    // decoded and converted on a thread of their own, so that a read rarely waits for the
    // resampler. The samples, and where the stream ends, are the same.
    void DecodeAhead();
    // A decoding error was met (damaged data in the middle of the stream).
    bool Damaged() const;
    // Source samples per channel as the stream declares them.
    int64_t SourceFrames() const;
    int SourceRate() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A decoder's view of a sound's last bytes: true when the last complete Ogg page in 'tail'
// is flagged end-of-stream.
bool OggTailEndsStream(const uint8_t* tail, size_t size);

}  // namespace media
