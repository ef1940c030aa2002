// orvan-tool's pictures: the sprite sheet, the scene timeline and an enemy's trace, on a
// small project whose layout is known pixel for pixel, and on the demo.
#include <gtest/gtest.h>

#include "media/image.h"
#include "support/png_writer.h"
#include "tool_runner.h"

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::string Size() const { return std::to_string(width) + "x" + std::to_string(height); }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
    int Count(uint32_t rgb) const {
        int n = 0;
        for (uint32_t p : pixels) n += (p & 0xFFFFFF) == rgb ? 1 : 0;
        return n;
    }
};

Picture Draw(const std::vector<std::string>& args, const std::string& out) {
    RunResult r = RunTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string bytes = ReadText(out);
    media::Image image;
    std::string error;
    EXPECT_TRUE(media::DecodePng(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 &image, &error))
        << error;
    return Picture{image.width, image.height, image.pixels};
}

// Sprite 0: a strip of three 10 x 10 frames, red, green, blue. Enemy 1 shows it. The script:
// wait 59, enemy 1 at the top, wait 100, end of stage.
struct SmallProject {
    TempDir dir;
    SmallProject() {
        ProjectWriter w(dir / "Data");
        w.KindFolders().Global();
        w.Sprite(0, {Cp932("自機"), 1, 10, 10, 3});
        std::vector<uint32_t> argb(30 * 10);
        for (int i = 0; i < 300; ++i)
            argb[i] = (i % 30) < 10 ? 0xFFFF0000u : ((i % 30) < 20 ? 0xFF00FF00u : 0xFF0000FFu);
        w.File("Sprite/Sprite0.png", EncodeArgbPng(30, 10, argb));
        w.Enemy(1).Scene({{{0, 59}, {3, 1, 2, 100, 0, 90, 0}, {0, 100}, {8}}});
    }
};

// The sheet cuts strips into frames with their number and name; the timeline shows the script
// as the game runs it; the trace takes a number of frames.
TEST(ToolPictures, SheetTimelineAndTraceOfASmallProject) {
    SmallProject p;
    Picture sheet = Draw({"sheet", p.dir / "Data", p.dir / "s.png"}, p.dir / "s.png");
    EXPECT_EQ(sheet.Size(), "1280x480");
    // Three cells of 14 pixels from (8, 50), each with its frame in the middle.
    EXPECT_EQ(sheet.At(14, 56), 0xFF0000u);
    EXPECT_EQ(sheet.At(28, 56), 0x00FF00u);
    EXPECT_EQ(sheet.At(42, 56), 0x0000FFu);
    EXPECT_EQ(sheet.At(8, 50), 0x505860u);  // the cell around a frame
    int label = 0;
    for (int y = 32; y < 48; ++y)
        for (int x = 8; x < 120; ++x) label += sheet.At(x, y) != 0x202428u ? 1 : 0;
    EXPECT_GT(label, 40) << "no label";

    Picture t = Draw({"timeline", p.dir / "Data", p.dir / "t.png"}, p.dir / "t.png");
    EXPECT_EQ(t.Size(), "1272x320");  // one row of 1200 frames
    // One pixel a frame from x 56: the wait covers frames 1-61, the enemy appears in frame 62
    // and the stage ends in frame 167.
    EXPECT_EQ(t.At(56 + 30, 124), 0x8090A0u);
    EXPECT_NE(t.At(56 + 63, 124), 0x8090A0u);
    EXPECT_EQ(t.At(56 + 61, 149), 0xE0E0E0u);
    EXPECT_EQ(t.At(56 + 94, 152), 0x3A4450u);
    EXPECT_EQ(t.At(56 + 167, 200), 0xFF3030u);
    EXPECT_GT(t.Count(0xFF0000u), 10) << "no enemy picture";
    // The trace takes a number of frames and refuses an enemy outside the table.
    EXPECT_EQ(RunTool({"trace", p.dir / "Data", "1", p.dir / "x.png", "--frames", "5"}).exitCode,
              0);
    EXPECT_NE(RunTool({"trace", p.dir / "Data", "256", p.dir / "y.png"}).exitCode, 0);
}

// The demo's three pictures: every sprite and every entry is there, the boss and the end of
// the stage are drawn, the dart's trace has its path and fire points.
TEST(ToolPictures, DemoPictures) {
    TempDir out;
    Picture sheet = Draw({"sheet", ORVAN_DEMO_DATA, out / "s.png"}, out / "s.png");
    EXPECT_EQ(sheet.Size(), "1280x606");        // 29 sprites in four shelves
    EXPECT_NE(sheet.At(90, 110), 0x505860u);    // the title picture in its cell
    EXPECT_EQ(sheet.At(1270, 300), 0x202428u);  // nothing past the last block of a shelf

    Picture timeline = Draw({"timeline", ORVAN_DEMO_DATA, out / "t.png"}, out / "t.png");
    EXPECT_EQ(timeline.Size(), "1272x1600");  // 2:01 of stage in six rows of 256
    EXPECT_GT(timeline.Count(0xD03030u), 1000) << "no boss bar";
    EXPECT_GT(timeline.Count(0xFF3030u), 200) << "no end of stage";
    EXPECT_GT(timeline.Count(0x3A4450u), 60 * 400) << "appearance marks missing";

    Picture trace = Draw({"trace", ORVAN_DEMO_DATA, "1", out / "r.png"}, out / "r.png");
    EXPECT_EQ(trace.Size(), "640x480");
    EXPECT_GT(trace.Count(0xFFFF40u), 300) << "no path";
    EXPECT_GT(trace.Count(0xFF40FFu), 20) << "no fire points";
    EXPECT_EQ(trace.At(630, 470), 0x202428u);
}

}  // namespace
