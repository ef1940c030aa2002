#include "media/ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <system_error>
#include <vector>

#include "media/audio_convert.h"

namespace media {
namespace {

// The largest Ogg page is 27 + 255 + 255 * 255 bytes: a window a little larger always holds
// the whole last page of a file.
constexpr size_t kTailWindow = 70000;
// Damaged stretches skipped in a row before the stream is given up.
constexpr int kMaxHoles = 64;
// Decoding ahead starts when fewer mix frames than this are converted (a little more than
// one of the converter's blocks of 22 kHz sound at 48 kHz: over twenty frames of play), and
// goes on until twice as many are.
constexpr int kAheadBelow = 20000;

// Bytes for vorbisfile to read: a range in memory or a file.
struct Source {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    FILE* file = nullptr;
};

size_t ReadSource(void* ptr, size_t size, size_t count, void* datasource) {
    Source* s = static_cast<Source*>(datasource);
    size_t bytes = size * count;
    if (bytes == 0) return 0;
    if (s->file) return std::fread(ptr, 1, bytes, s->file) / size;
    size_t n = std::min(bytes, s->size - s->pos);
    std::memcpy(ptr, s->data + s->pos, n);
    s->pos += n;
    return n / size;
}

int SeekSource(void* datasource, ogg_int64_t offset, int whence) {
    Source* s = static_cast<Source*>(datasource);
    if (s->file) return fseeko(s->file, static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<ogg_int64_t>(s->pos)
                                            : static_cast<ogg_int64_t>(s->size);
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(s->size)) return -1;
    s->pos = static_cast<size_t>(target);
    return 0;
}

long TellSource(void* datasource) {
    Source* s = static_cast<Source*>(datasource);
    if (s->file) return static_cast<long>(ftello(s->file));
    return static_cast<long>(s->pos);
}

// The page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection, initial value 0,
// computed with the checksum field taken as zero.
uint32_t OggChecksum(const uint8_t* page, size_t size) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t byte = (i >= 22 && i < 26) ? 0 : page[i];
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

const char* OpenErrorText(int code) {
    switch (code) {
        case OV_EREAD:
            return "read error";
        case OV_ENOTVORBIS:
            return "not Ogg Vorbis data";
        case OV_EVERSION:
            return "unsupported Vorbis version";
        case OV_EBADHEADER:
            return "damaged Vorbis header";
        default:
            return "damaged or cut-off Ogg stream";
    }
}

}  // namespace

bool OggTailEndsStream(const uint8_t* tail, size_t size) {
    // Pages are found by their capture pattern and kept only when their checksum holds, so a
    // pattern inside page data or a damaged page is passed over.
    bool any = false, endOfStream = false;
    size_t pos = 0;
    while (size - pos >= 27) {
        const uint8_t* p = tail + pos;
        if (std::memcmp(p, "OggS", 4) != 0 || p[4] != 0) {
            ++pos;
            continue;
        }
        size_t segments = p[26];
        size_t header = 27 + segments;
        size_t body = 0;
        for (size_t i = 0; i < segments && 27 + i < size - pos; ++i) body += p[27 + i];
        if (size - pos < header + body) {
            ++pos;  // cut off here, unless a later page turns up
            continue;
        }
        uint32_t stored = static_cast<uint32_t>(p[22]) | (static_cast<uint32_t>(p[23]) << 8) |
                          (static_cast<uint32_t>(p[24]) << 16) |
                          (static_cast<uint32_t>(p[25]) << 24);
        if (OggChecksum(p, header + body) != stored) {
            ++pos;
            continue;
        }
        any = true;
        endOfStream = (p[5] & 0x04) != 0;
        pos += header + body;
    }
    return any && endOfStream;
}

struct OggDecoder::Impl {
    Source source;
    OggVorbis_File vf{};
    bool open = false;
    MixConverter converter;
    bool ended = false;
    bool damaged = false;
    bool dataSinceRewind = false;
    int holes = 0;
    int channels = 0;
    int rate = 0;
    int64_t total = 0;
    char chunk[4096];
    bool decodeAhead = false;
    std::future<void> ahead;  // the thread decoding ahead, while it runs

    ~Impl() {
        Settle();
        if (open) ov_clear(&vf);
        if (source.file) std::fclose(source.file);
    }

    // Waits for the decoding ahead: nothing else touches the stream meanwhile.
    void Settle() {
        if (ahead.valid()) ahead.get();
    }

    // The same decoding steps a read would take later, taken now on another thread.
    void StartAhead(bool loop) {
        if (!decodeAhead || ended || converter.Available() >= kAheadBelow) return;
        try {
            ahead = std::async(std::launch::async, [this, loop] {
                for (int steps = StepBudget(2 * kAheadBelow); steps > 0; --steps)
                    if (converter.Available() >= 2 * kAheadBelow || !DecodeChunk(loop)) break;
            });
        } catch (const std::system_error&) {
            decodeAhead = false;  // no thread to be had: every block is decoded when read
        }
    }

    bool CheckTail(std::string* error) {
        std::vector<uint8_t> window;
        const uint8_t* tail = nullptr;
        size_t n = 0;
        if (source.file) {
            if (fseeko(source.file, 0, SEEK_END) != 0) return Fail(error, "cannot seek");
            off_t end = ftello(source.file);
            if (end < 0) return Fail(error, "cannot seek");
            n = static_cast<size_t>(std::min<off_t>(end, kTailWindow));
            window.resize(n);
            if (fseeko(source.file, end - static_cast<off_t>(n), SEEK_SET) != 0 ||
                std::fread(window.data(), 1, n, source.file) != n)
                return Fail(error, "read error");
            if (fseeko(source.file, 0, SEEK_SET) != 0) return Fail(error, "cannot seek");
            tail = window.data();
        } else {
            n = std::min(source.size, kTailWindow);
            tail = source.data + (source.size - n);
        }
        if (!OggTailEndsStream(tail, n)) return Fail(error, "the Ogg stream is cut off");
        return true;
    }

    bool Open(int mixRate, std::string* error) {
        if (!CheckTail(error)) return false;
        ov_callbacks callbacks{ReadSource, SeekSource, nullptr, TellSource};
        int r = ov_open_callbacks(&source, &vf, nullptr, 0, callbacks);
        if (r < 0) return Fail(error, OpenErrorText(r));  // vorbisfile has cleaned up
        open = true;
        if (!ov_seekable(&vf)) return Fail(error, "the Ogg stream cannot be searched");
        vorbis_info* info = ov_info(&vf, 0);
        if (!info) return Fail(error, "damaged Vorbis header");
        channels = info->channels;
        rate = static_cast<int>(info->rate);
        // One converter serves the whole stream, so every chained link must match.
        long links = ov_streams(&vf);
        for (long i = 1; i < links; ++i) {
            vorbis_info* link = ov_info(&vf, static_cast<int>(i));
            if (!link || link->channels != channels || link->rate != info->rate)
                return Fail(error, "chained links of different layouts");
        }
        total = ov_pcm_total(&vf, -1);
        if (total <= 0) return Fail(error, "no samples");
        return converter.Open(kFormatS16, channels, rate, mixRate, error);
    }

    static bool Fail(std::string* error, const char* text) {
        if (error) *error = text;
        return false;
    }

    // One step of decoding into the converter. False once nothing more can come.
    bool DecodeChunk(bool loop) {
        if (ended) return false;
        int link = 0;
        long n = ov_read(&vf, chunk, sizeof chunk, 0, 2, 1, &link);
        if (n > 0) {
            converter.Put(chunk, static_cast<int>(n));
            dataSinceRewind = true;
            holes = 0;
            return true;
        }
        if (n == OV_HOLE && ++holes < kMaxHoles) {
            damaged = true;
            return true;
        }
        if (n < 0) damaged = true;
        // At the end a looping stream starts again from its first sample; the resampler
        // keeps its state across the wrap, so the join is as smooth as the file is.
        if (n == 0 && loop && dataSinceRewind && ov_pcm_seek(&vf, 0) == 0) {
            dataSinceRewind = false;
            return true;
        }
        converter.Flush();
        ended = true;
        return false;
    }

    // Enough steps to fill 'frames' from any rate a stream can have.
    static int StepBudget(int frames) { return (frames + 64) * 64; }
};

OggDecoder::OggDecoder() : impl_(new Impl) {}
OggDecoder::~OggDecoder() = default;

bool OggDecoder::OpenMemory(const uint8_t* data, size_t size, int mixRate, std::string* error) {
    impl_.reset(new Impl);
    impl_->source.data = data;
    impl_->source.size = size;
    return impl_->Open(mixRate, error);
}

bool OggDecoder::OpenFile(FILE* file, int mixRate, std::string* error) {
    impl_.reset(new Impl);
    impl_->source.file = file;
    return impl_->Open(mixRate, error);
}

int OggDecoder::Read(int16_t* out, int frames, bool loop) {
    Impl& d = *impl_;
    d.Settle();
    if (!d.open || frames <= 0) return 0;
    int got = 0;
    for (int steps = Impl::StepBudget(frames); got < frames; --steps) {
        got += d.converter.Get(out + 2 * got, frames - got);
        if (got == frames) break;
        if (steps <= 0) {
            // A stream that decodes without giving samples: end it rather than spin.
            d.damaged = true;
            d.ended = true;
            d.converter.Flush();
        }
        if (!d.DecodeChunk(loop)) {
            got += d.converter.Get(out + 2 * got, frames - got);
            break;
        }
    }
    d.StartAhead(loop);
    return got;
}

void OggDecoder::DecodeAhead() {
    impl_->decodeAhead = true;
}

bool OggDecoder::Finished(bool loop) {
    Impl& d = *impl_;
    d.Settle();
    if (!d.open) return true;
    for (int steps = Impl::StepBudget(1); d.converter.Available() == 0 && !d.ended; --steps) {
        if (steps <= 0) {
            d.damaged = true;
            d.ended = true;
            d.converter.Flush();
            break;
        }
        d.DecodeChunk(loop);
    }
    return d.ended && d.converter.Available() == 0;
}

bool OggDecoder::Damaged() const {
    impl_->Settle();
    return impl_->damaged;
}
int64_t OggDecoder::SourceFrames() const {
    return impl_->total;
}
int OggDecoder::SourceRate() const {
    return impl_->rate;
}

}  // namespace media
