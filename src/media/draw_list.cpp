#include "media/draw_list.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "media/core.h"

namespace media {
namespace {

// Below this many pixels of work a flush is not worth waking the second thread for.
constexpr int64_t kShareWork = 40000;

struct Command {
    enum Kind : uint8_t { kBlit, kTransformed, kFill } kind = kFill;
    bool mirrored = false;
    const Image* image = nullptr;
    PixelMode mode;
    int x = 0, y = 0;                      // blit: destination; turned: centre; fill: top-left
    int srcX = 0, srcY = 0, w = 0, h = 0;  // blit: source rectangle; fill: bottom-right in w, h
    double scale = 1.0, angle = 0.0;
    uint32_t colour = 0;
    // The rows the command may reach and the pixels a row it may touch: an estimate of its
    // work, for cutting the screen into bands of equal work.
    int64_t top = 0, bottom = 0, width = 0;
};

DrawingMode g_mode = DrawingMode::kListed;

std::vector<Command>& List() {
    static std::vector<Command> list = [] {
        std::vector<Command> l;
        l.reserve(4096);
        return l;
    }();
    return list;
}

void Draw(const Command& c, const Surface& s) {
    const ClipRect screen = SurfaceRect(s);
    switch (c.kind) {
        case Command::kBlit:
            BlitImage(s, screen, *c.image, c.srcX, c.srcY, c.w, c.h, c.x, c.y, c.mirrored, c.mode);
            break;
        case Command::kTransformed:
            BlitImageTransformed(s, screen, *c.image, c.x, c.y, c.scale, c.angle, c.mirrored,
                                 c.mode);
            break;
        case Command::kFill:
            FillRect(s, screen, c.x, c.y, c.w, c.h, c.colour, c.mode);
            break;
    }
}

void Add(const Command& c) {
    if (g_mode == DrawingMode::kImmediate) {
        Draw(c, BackSurface());
    } else {
        List().push_back(c);
    }
}

// The bands of one flush, taken one at a time by whichever thread is free.
struct Bands {
    int count = 0;
    std::function<void(int)> draw;  // draws band i
    std::atomic<int> next{0};
    int active = 0;  // helpers inside Take; guarded by the helper's mutex

    void Take() {
        for (int i; (i = next.fetch_add(1)) < count;) draw(i);
    }
};

// The second thread. It sleeps until a flush offers bands, takes bands until none is left,
// and sleeps again. The flushing thread takes bands too, so a helper that wakes late only
// leaves it more to do: the flush never waits for a helper that has not begun a band.
class Helper {
public:
    ~Helper() {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> g(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    // Draws every band, on this thread and the helper; false (nothing drawn) when no thread
    // can be started.
    bool Run(Bands& bands) {
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([this] { Loop(); });
            } catch (const std::system_error&) {
                return false;
            }
        }
        {
            std::lock_guard<std::mutex> g(mutex_);
            offer_ = &bands;
            ++generation_;
        }
        wake_.notify_one();
        bands.Take();
        // Withdrawn, and finished by a helper that is still drawing one.
        std::unique_lock<std::mutex> g(mutex_);
        offer_ = nullptr;
        done_.wait(g, [&bands] { return bands.active == 0; });
        return true;
    }

private:
    void Loop() {
        std::unique_lock<std::mutex> g(mutex_);
        uint64_t seen = 0;
        for (;;) {
            wake_.wait(g, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            Bands* bands = offer_;
            if (!bands) continue;
            ++bands->active;
            g.unlock();
            bands->Take();
            g.lock();
            --bands->active;
            done_.notify_one();
        }
    }

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    Bands* offer_ = nullptr;
    uint64_t generation_ = 0;
    bool stop_ = false;
};

Helper& TheHelper() {
    static Helper helper;
    return helper;
}

// The rectangle a listed blit surely overwrites whatever is under it: an opaque copy (a
// picture without see-through pixels, or drawn without transparency, at full opacity).
// Worked out as the blit itself does; false for any other command.
bool CopiedRect(const Command& c, int width, int height, ClipRect* out) {
    if (c.kind != Command::kBlit || c.mode.alpha < 255) return false;
    const Image& im = *c.image;
    if (c.mode.transparent && im.coverage != ImageCoverage::kOpaque) return false;
    if (c.w <= 0 || c.h <= 0 || im.width <= 0 || im.height <= 0) return false;
    const int64_t left = c.x, top = c.y;
    int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + c.w, width);
    if (!c.mirrored) {
        x0 = std::max<int64_t>(x0, left - c.srcX);
        x1 = std::min<int64_t>(x1, left - c.srcX + im.width);
    } else {
        x0 = std::max<int64_t>(x0, left + c.srcX + c.w - im.width);
        x1 = std::min<int64_t>(x1, left + c.srcX + c.w);
    }
    const int64_t y0 = std::max<int64_t>({top, 0, top - c.srcY});
    const int64_t y1 = std::min<int64_t>({top + c.h, int64_t(height), top - c.srcY + im.height});
    if (x0 >= x1 || y0 >= y1) return false;
    *out = ClipRect{int(x0), int(y0), int(x1), int(y1)};
    return true;
}

// A frame begins by clearing the screen, and then usually copies a background and a panel
// over all of it. The columns of a solid fill that later copies overwrite in every one of
// its rows are left out of it: all of them, or those on one side. A frame's first few fills
// are looked at, no more.
void LeaveOutCovered(std::vector<Command>& list, int width, int height) {
    struct Copy {
        size_t index;
        ClipRect rect;
    };
    std::vector<Copy> copies;
    ClipRect r;
    for (size_t k = 0; k < list.size(); ++k)
        if (CopiedRect(list[k], width, height, &r)) copies.push_back({k, r});
    if (copies.empty()) return;
    using Span = std::pair<int, int>;
    std::vector<Span> row, always, both;
    std::vector<int> cuts;
    int looked = 0;
    for (size_t j = 0; j < list.size() && looked < 16; ++j) {
        Command& fill = list[j];
        if (fill.kind != Command::kFill || fill.mode.alpha < 255) continue;
        const int fx0 = std::max(fill.x, 0), fx1 = std::min(fill.w, width);
        const int fy0 = std::max(fill.y, 0), fy1 = std::min(fill.h, height);
        if (fx0 >= fx1 || fy0 >= fy1) continue;
        ++looked;
        // The copies over a row change only where one begins or ends: one union per stretch.
        cuts.assign({fy0, fy1});
        for (const Copy& c : copies) {
            if (c.index <= j) continue;
            if (c.rect.y0 > fy0 && c.rect.y0 < fy1) cuts.push_back(c.rect.y0);
            if (c.rect.y1 > fy0 && c.rect.y1 < fy1) cuts.push_back(c.rect.y1);
        }
        std::sort(cuts.begin(), cuts.end());
        always.assign(1, {fx0, fx1});
        for (size_t s = 0; s + 1 < cuts.size() && !always.empty(); ++s) {
            if (cuts[s] == cuts[s + 1]) continue;
            row.clear();
            for (const Copy& c : copies)
                if (c.index > j && c.rect.y0 <= cuts[s] && cuts[s] < c.rect.y1)
                    row.push_back({c.rect.x0, c.rect.x1});
            std::sort(row.begin(), row.end());
            // The columns covered in every row so far and in this stretch too.
            both.clear();
            for (size_t i = 0; i < row.size();) {
                Span merged = row[i];
                for (++i; i < row.size() && row[i].first <= merged.second; ++i)
                    merged.second = std::max(merged.second, row[i].second);
                for (const Span& a : always) {
                    const int lo = std::max(a.first, merged.first);
                    const int hi = std::min(a.second, merged.second);
                    if (lo < hi) both.push_back({lo, hi});
                }
            }
            std::sort(both.begin(), both.end());
            always.swap(both);
        }
        if (always.size() != 1) continue;
        if (always[0] == Span{fx0, fx1}) {
            fill.w = fill.x;  // wholly overwritten: draws nothing
        } else if (always[0].first == fx0) {
            fill.x = always[0].second;
        } else if (always[0].second == fx1) {
            fill.w = always[0].first;
        }
        fill.width = std::max(0, std::min(fill.w, width) - std::max(fill.x, 0));
    }
}

// The rows that cut the listed work into 'count' bands of about equal work (cuts[0] = 0 and
// cuts[count] = height), and the whole work.
int64_t BalancedCuts(const std::vector<Command>& list, int height, int count, int* cuts) {
    std::vector<int64_t> change(size_t(height) + 1, 0);
    for (const Command& c : list) {
        const int64_t top = std::clamp<int64_t>(c.top, 0, height);
        const int64_t bottom = std::clamp<int64_t>(c.bottom, 0, height);
        if (top >= bottom) continue;
        change[size_t(top)] += c.width;
        change[size_t(bottom)] -= c.width;
    }
    int64_t perRow = 0, total = 0;
    for (int y = 0; y < height; ++y) total += (perRow += change[size_t(y)]);
    perRow = 0;
    int64_t sum = 0;
    int band = 1;
    cuts[0] = 0;
    for (int y = 0; y < height && band < count; ++y) {
        sum += (perRow += change[size_t(y)]);
        while (band < count && sum * count >= total * band) cuts[band++] = y + 1;
    }
    while (band <= count) cuts[band++] = height;
    return total;
}

}  // namespace

void ListBlit(const Image& image, int srcX, int srcY, int w, int h, int dstX, int dstY,
              bool mirrored, const PixelMode& mode) {
    Command c;
    c.kind = Command::kBlit;
    c.image = &image;
    c.srcX = srcX, c.srcY = srcY, c.w = w, c.h = h, c.x = dstX, c.y = dstY;
    c.mirrored = mirrored;
    c.mode = mode;
    c.top = dstY;
    c.bottom = int64_t(dstY) + std::max(h, 0);
    c.width = std::min(std::max(w, 0), kScreenWidth);
    Add(c);
}

void ListTransformed(const Image& image, int cx, int cy, double scale, double angle, bool mirrored,
                     const PixelMode& mode) {
    Command c;
    c.kind = Command::kTransformed;
    c.image = &image;
    c.x = cx, c.y = cy, c.scale = scale, c.angle = angle;
    c.mirrored = mirrored;
    c.mode = mode;
    // Whatever the turn, the picture stays within its half diagonal of the centre, and so
    // within half its width plus its height.
    const double reach = std::fabs(scale) * (double(image.width) + image.height) / 2 + 2;
    if (std::isfinite(reach) && reach < kScreenWidth + kScreenHeight) {
        c.top = int64_t(cy) - int64_t(reach);
        c.bottom = int64_t(cy) + int64_t(reach) + 1;
        c.width = 2 * int64_t(reach) + 1;
    } else {
        c.top = 0;
        c.bottom = kScreenHeight;
        c.width = std::isfinite(reach) ? kScreenWidth : 0;
    }
    Add(c);
}

void ListFill(int x0, int y0, int x1, int y1, uint32_t colour, const PixelMode& mode) {
    Command c;
    c.kind = Command::kFill;
    c.x = x0, c.y = y0, c.w = x1, c.h = y1;
    c.colour = colour;
    c.mode = mode;
    c.top = y0;
    c.bottom = y1;
    c.width = std::clamp<int64_t>(int64_t(x1) - x0, 0, kScreenWidth);
    Add(c);
}

void ListClear() {
    List().clear();
    ListFill(0, 0, kScreenWidth, kScreenHeight, 0, PixelMode{});
}

void FlushDrawing() {
    std::vector<Command>& list = List();
    if (list.empty()) return;
    const Surface whole = BackSurface();
    LeaveOutCovered(list, whole.width, whole.height);
    // More bands than threads, so that neither waits long for the other; few enough that
    // a draw seldom straddles two (and is set up twice).
    constexpr int kBands = 4;
    int cuts[kBands + 1];
    const int64_t work = BalancedCuts(list, whole.height, kBands, cuts);
    const bool always = g_mode == DrawingMode::kAlwaysSplit;
    bool shared = false;
    if (always || work >= kShareWork) {
        if (always) {
            for (int i = 1; i < kBands; ++i)
                cuts[i] = std::clamp(cuts[i], cuts[i - 1], whole.height);
        }
        struct {
            const std::vector<Command>& list;
            const Surface& whole;
            const int* cuts;
        } flush{list, whole, cuts};
        Bands bands;
        bands.count = kBands;
        bands.draw = [&flush](int i) {
            Surface s = flush.whole;
            s.bandTop = flush.cuts[i];
            s.bandBottom = flush.cuts[i + 1];
            if (s.bandTop >= s.bandBottom) return;
            for (const Command& c : flush.list)
                if (c.bottom > s.bandTop && c.top < s.bandBottom) Draw(c, s);
        };
        shared = TheHelper().Run(bands);
    }
    if (!shared) {
        for (const Command& c : list) Draw(c, whole);
    }
    list.clear();
}

void SetDrawingMode(DrawingMode mode) {
    MediaLockGuard g;
    FlushDrawing();
    g_mode = mode;
}

}  // namespace media
