// The image sizes the check compares come from the PNG and JPEG headers alone.
#include <gtest/gtest.h>

#include "image_size.h"
#include "tool_runner.h"

TEST(ToolParts, ImageSizeComesFromPngAndJpegHeaders) {
    TempDir tmp;
    tmp.WriteFile("a.png", PngHeader(416, 960));
    // A JPEG with an APP0 segment before its baseline start-of-frame.
    std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x01\xE0\x02\x80", 17);
    tmp.WriteFile("b.jpg", jpeg + std::string(12, '\0'));
    tmp.WriteFile("c.png", "GIF89a");
    int w = 0, h = 0;
    EXPECT_TRUE(tool::ReadImageSize(tmp / "a.png", w, h) && w == 416 && h == 960) << w << "x" << h;
    EXPECT_TRUE(tool::ReadImageSize(tmp / "b.jpg", w, h) && w == 640 && h == 480) << w << "x" << h;
    EXPECT_FALSE(tool::ReadImageSize(tmp / "c.png", w, h));
    EXPECT_FALSE(tool::ReadImageSize(tmp / "none.png", w, h));
}
