// The eight-pixel loops and the portable loops must draw identical pictures.
#include <gtest/gtest.h>

#include <vector>

#include "media/inspect.h"
#include "media/media.h"
#include "media/raster_avx2.h"
#include "support/media_fixture.h"

namespace {

class RasterPaths : public MediaTest {
protected:
    void TearDown() override {
        media::SetAvx2Allowed(true);
        MediaTest::TearDown();
    }
    uint32_t seed_ = 99;
    int Next(int n) {
        seed_ = seed_ * 1103515245u + 12345u;
        return int((seed_ >> 8) % uint32_t(n));
    }
};

TEST_F(RasterPaths, FastAndPortableLoopsDrawTheSamePixels) {
    // Opaque, keyed and translucent pictures of odd and even sizes.
    std::vector<int> images;
    const int sizes[][2] = {{1, 1}, {7, 5}, {16, 16}, {33, 20}, {64, 64}, {9, 40}};
    for (int kind = 0; kind < 3; ++kind) {
        for (const auto& s : sizes) {
            std::vector<uint32_t> px(size_t(s[0]) * s[1]);
            for (uint32_t& p : px) {
                const uint32_t rgb = kind >= 1 && Next(4) == 0 ? 0 : uint32_t(Next(1 << 24));
                p = uint32_t(kind == 2 ? Next(256) : 0xFF) << 24 | rgb;
            }
            images.push_back(Load(s[0], s[1], px));
        }
    }
    for (int round = 0; round < 300; ++round) {
        const int img = images[Next(int(images.size()))];
        const int x = Next(700) - 30, y = Next(540) - 30, kind = Next(5);
        const double scale = 0.1 + Next(400) / 100.0, angle = (Next(2000) - 1000) / 100.0;
        const int transparent = Next(2), mirrored = Next(2);
        const int blend = Next(3) == 0 ? Next(300) - 20 : 255;
        const int bright = Next(4) == 0 ? Next(256) : 255;
        const int partX = Next(8) - 2, partY = Next(8) - 2, w = Next(40), h = Next(40);
        std::vector<uint32_t> results[2];
        for (int path = 0; path < 2; ++path) {
            media::SetAvx2Allowed(path == 0);
            // The same busy background for both, so that blending shows.
            uint32_t* back = const_cast<uint32_t*>(media::BackBuffer());
            for (int i = 0; i < 640 * 480; ++i) back[i] = i % 7 ? 0 : (i * 2654435761u) & 0xFFFFFF;
            SetBlendMode(blend < 255 ? 1 : 0, blend);
            SetDrawBrightness(255, bright, 255);
            if (kind == 0) DrawImage(x, y, img, transparent);
            if (kind == 1) DrawImageMirrored(x, y, img, transparent);
            if (kind == 2) DrawImageRotated(x, y, scale, angle, img, transparent, mirrored);
            if (kind == 3) DrawImagePart(x, y, partX, partY, w, h, img, transparent, mirrored);
            if (kind == 4) DrawRect(x, y, x + 2 * w, y + 2 * h, MakeColor(200, 100, 50), 1);
            results[path].assign(back, back + 640 * 480);
        }
        size_t first = 0;
        while (first < results[0].size() && results[0][first] == results[1][first]) ++first;
        ASSERT_EQ(first, results[0].size())
            << "round " << round << ", draw " << kind << ", first difference at (" << first % 640
            << ", " << first / 640 << "): " << std::hex << results[0][first] << " vs "
            << results[1][first];
    }
}

}  // namespace
