// The eight-pixel loops and the portable loops must draw identical pictures.
#include <gtest/gtest.h>

#include <vector>

#include "media/inspect.h"
#include "media/media.h"
#include "media/raster_avx2.h"
#include "support/media_fixture.h"
#include "support/temp_dir.h"

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
    std::vector<uint32_t> Frame() const {
        return std::vector<uint32_t>(media::BackBuffer(), media::BackBuffer() + 640 * 480);
    }
    TempDir dir_;
};

TEST_F(RasterPaths, FastAndPortableLoopsDrawTheSamePixels) {
    // Opaque, keyed and translucent pictures of odd and even sizes.
    std::vector<int> images;
    const int sizes[][2] = {{1, 1}, {7, 5}, {16, 16}, {33, 20}, {64, 64}, {9, 40}};
    for (int kind = 0; kind < 3; ++kind) {
        for (const auto& s : sizes) {
            std::vector<uint32_t> px(size_t(s[0]) * s[1]);
            for (uint32_t& p : px) {
                uint32_t rgb = uint32_t(Next(1 << 24));
                uint32_t a = 0xFF;
                if (kind >= 1 && Next(4) == 0) rgb = 0;
                if (kind == 2) a = uint32_t(Next(256));
                p = a << 24 | rgb;
            }
            images.push_back(LoadArgbImage(dir_.path(), s[0], s[1], px));
        }
    }
    for (int round = 0; round < 300; ++round) {
        const int img = images[Next(int(images.size()))];
        const int x = Next(700) - 30, y = Next(540) - 30;
        const double scale = 0.1 + Next(400) / 100.0;
        const double angle = (Next(2000) - 1000) / 100.0;
        const int transparent = Next(2), mirrored = Next(2), kindOfDraw = Next(5);
        const int blend = Next(3) == 0 ? Next(300) - 20 : 255;
        const int bright = Next(4) == 0 ? Next(256) : 255;
        const int partX = Next(8) - 2, partY = Next(8) - 2, partW = Next(40), partH = Next(40);
        const int rectW = Next(100), rectH = Next(100);
        std::vector<uint32_t> results[2];
        for (int path = 0; path < 2; ++path) {
            media::SetAvx2Allowed(path == 0);
            // The same busy background for both, so that blending shows.
            ClearScreen();
            for (int i = 0; i < 640 * 480; i += 7)
                const_cast<uint32_t*>(media::BackBuffer())[i] =
                    uint32_t(i * 2654435761u) & 0xFFFFFF;
            SetBlendMode(blend < 255 ? 1 : 0, blend);
            SetDrawBrightness(255, bright, 255);
            switch (kindOfDraw) {
                case 0:
                    DrawImage(x, y, img, transparent);
                    break;
                case 1:
                    DrawImageMirrored(x, y, img, transparent);
                    break;
                case 2:
                    DrawImageRotated(x, y, scale, angle, img, transparent, mirrored);
                    break;
                case 3:
                    DrawImagePart(x, y, partX, partY, partW, partH, img, transparent, mirrored);
                    break;
                case 4:
                    DrawRect(x, y, x + rectW, y + rectH, MakeColor(200, 100, 50), 1);
                    break;
            }
            results[path] = Frame();
        }
        int differing = 0, first = -1;
        for (size_t i = 0; i < results[0].size(); ++i) {
            if (results[0][i] == results[1][i]) continue;
            if (first < 0) first = int(i);
            ++differing;
        }
        ASSERT_EQ(differing, 0) << "round " << round << ", draw " << kindOfDraw << ", first at ("
                                << first % 640 << ", " << first / 640 << "): " << std::hex
                                << results[0][first] << " vs " << results[1][first] << std::dec
                                << " scale " << scale << " angle " << angle << " blend " << blend
                                << " bright " << bright << " transparent " << transparent;
    }
}

}  // namespace
