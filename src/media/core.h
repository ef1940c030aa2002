// Internal state of the media core, shared by its parts (frame, images, text, sound).
// Nothing outside src/media includes this header.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#include "media/host.h"
#include "media/lock.h"

namespace media {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// A 32-bit XRGB8888 picture; pitch counts pixels.
struct Surface {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    // The rows a draw may touch, [bandTop, bandBottom): one band of the surface when the
    // drawing of a frame is shared out. Every position is still worked out for the whole
    // surface, so a draw made band by band gives exactly the pixels of one made at once.
    int bandTop = 0;
    int bandBottom = 1 << 30;
};

struct Core {
    // Settings taken before MediaInit.
    bool logEnabled = false;
    bool pixelsWritten = true;  // off: drawing stops short of the back buffer
    int depth = 16;  // 16 until a mode is chosen
    int width = kScreenWidth;
    int height = kScreenHeight;
    int refreshRate = 60;
    std::string titleCp932 = "Orvan";
    bool windowed = false;
    int drawTarget = -2;
    int filterMode = 0;
    int defaultFontSize = 16;
    int defaultFontThickness = 6;
    std::string defaultFontName;
    int defaultFontCharset = -1;
    int defaultFontType = 0;

    bool running = false;
    bool closing = false;

    // Drawing state: global, persists across frames until changed.
    std::vector<uint32_t> backBuffer = std::vector<uint32_t>(kScreenWidth * kScreenHeight, 0);
    int blendMode = 0;
    int blendParam = 0;
    int brightR = 255, brightG = 255, brightB = 255;

    std::vector<std::string> debugLines;  // PrintToScreen, cp932

    uint8_t keys[256] = {};
    int pad = 0;
    uint32_t presented = 0;

    std::vector<int> soundStarts;  // for inspection
};

Core& TheCore();
Surface BackSurface();

// "AppLog.txt": one line per call when the log is on.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void CloseLog();

// A colour made by MakeColor for the current screen depth, as XRGB8888.
uint32_t ColourToXrgb(int colour);

// Hooks of the core's parts, called by the lifecycle with the lock held.
void ReleaseAllImages();
void ReleaseAllFonts();
void ReleaseAllSounds();
// Draws the debug text over the back buffer (FlipScreen); white with a black outline.
void DrawDebugText(const std::vector<std::string>& lines);
// One line (cp932) in the debug text's font on a dim box, as ARGB8888 with alpha: a note
// that a host shows over the presented picture. Empty without a font.
std::vector<uint32_t> RenderNote(const std::string& text, int* width, int* height);

// Handles: kind in bits 28-30, generation in bits 16-27, index in bits 0-15. Never -1.
enum HandleKind { kImageHandle = 1, kFontHandle = 2, kSoundHandle = 3 };
inline int MakeHandle(HandleKind kind, uint32_t generation, uint32_t index) {
    return static_cast<int>((static_cast<uint32_t>(kind) << 28) | ((generation & 0xFFF) << 16) |
                            (index & 0xFFFF));
}
inline bool HandleIs(int handle, HandleKind kind) {
    return handle >= 0 && (static_cast<uint32_t>(handle) >> 28) == static_cast<uint32_t>(kind);
}
inline uint32_t HandleIndex(int handle) {
    return static_cast<uint32_t>(handle) & 0xFFFF;
}
inline uint32_t HandleGeneration(int handle) {
    return (static_cast<uint32_t>(handle) >> 16) & 0xFFF;
}

// A fixed-capacity table of objects behind handles; a released slot's generation moves on,
// so a stale handle is refused, and a slot is retired before its generation could wrap.
template <typename T>
class HandleTable {
public:
    HandleTable(HandleKind kind, size_t capacity) : kind_(kind), capacity_(capacity) {}

    // Stores the object; -1 when the table is full.
    int Add(T value) {
        if (!free_.empty()) {
            size_t i = free_.back();
            free_.pop_back();
            return Fill(i, std::move(value));
        }
        // Without a free slot every usable slot is live; retired slots do not count.
        if (live_ >= capacity_ || slots_.size() > kMaxIndex) return -1;
        slots_.emplace_back();
        return Fill(slots_.size() - 1, std::move(value));
    }
    T* Get(int handle) {
        if (!HandleIs(handle, kind_)) return nullptr;
        uint32_t i = HandleIndex(handle);
        if (i >= slots_.size() || !slots_[i].used) return nullptr;
        if (slots_[i].generation != HandleGeneration(handle)) return nullptr;
        return &slots_[i].value;
    }
    bool Remove(int handle) {
        if (!Get(handle)) return false;
        Release(slots_[HandleIndex(handle)]);
        if (!Retired(slots_[HandleIndex(handle)])) free_.push_back(HandleIndex(handle));
        --live_;
        return true;
    }
    void Clear() {
        for (Slot& s : slots_)
            if (s.used) Release(s);
        free_.clear();
        for (size_t i = slots_.size(); i-- > 0;)
            if (!Retired(slots_[i])) free_.push_back(i);
        live_ = 0;
    }
    size_t Live() const { return live_; }
    template <typename F>
    void ForEach(F f) {
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].used) f(MakeHandle(kind_, slots_[i].generation, i), slots_[i].value);
    }

private:
    struct Slot {
        T value{};
        bool used = false;
        uint32_t generation = 0;
    };
    static constexpr size_t kMaxIndex = 0xFFFF;
    // A slot whose generations are used up is never handed out again, so that no released
    // handle can become valid a second time; the table takes a fresh slot instead.
    static bool Retired(const Slot& s) { return s.generation > 0xFFF; }
    static void Release(Slot& s) {
        s.used = false;
        s.value = T();
        ++s.generation;
    }
    int Fill(size_t i, T value) {
        slots_[i].value = std::move(value);
        slots_[i].used = true;
        ++live_;
        return MakeHandle(kind_, slots_[i].generation, static_cast<uint32_t>(i));
    }
    HandleKind kind_;
    size_t capacity_;
    std::vector<Slot> slots_;
    std::vector<size_t> free_;  // released slots, reused last-released first
    size_t live_ = 0;
};

}  // namespace media
