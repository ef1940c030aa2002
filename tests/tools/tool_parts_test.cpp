// The tool's pieces on their own: image headers and the name tables.
#include <gtest/gtest.h>

#include "image_size.h"
#include "names.h"
#include "tool_runner.h"

using namespace tool;

TEST(ToolParts, ImageSizeComesFromPngAndJpegHeaders) {
    TempDir tmp;
    tmp.WriteFile("a.png", PngHeader(416, 960));
    // A JPEG with an APP0 segment before its baseline start-of-frame.
    std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x01\xE0\x02\x80", 17);
    tmp.WriteFile("b.jpg", jpeg + std::string(12, '\0'));
    tmp.WriteFile("c.png", "GIF89a");
    int w = 0, h = 0;
    ASSERT_TRUE(ReadImageSize(tmp / "a.png", w, h));
    EXPECT_EQ(w, 416);
    EXPECT_EQ(h, 960);
    ASSERT_TRUE(ReadImageSize(tmp / "b.jpg", w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_FALSE(ReadImageSize(tmp / "c.png", w, h));
    EXPECT_FALSE(ReadImageSize(tmp / "none.png", w, h));
}

TEST(ToolParts, EveryNameMapsBackToItsCode) {
    for (const NameTable* table :
         {&kActionCommands, &kExtraActions, &kSceneCommands, &kPlaces, &kTargets, &kAngleModes,
          &kItemAttributes, &kShotResponses, &kImageDirections})
        for (size_t i = 0; i < table->names.size(); ++i) {
            auto name = table->Name(static_cast<int64_t>(i));
            ASSERT_TRUE(name) << table->what << " " << i;
            EXPECT_EQ(table->Value(*name), static_cast<int32_t>(i));
        }
    EXPECT_EQ(kActionCommands.names.size(), 29u);
    EXPECT_EQ(*kActionCommands.Name(26), "returnToLabel");
    EXPECT_FALSE(kActionCommands.Name(29));
    EXPECT_FALSE(kActionCommands.Name(-1));
    EXPECT_FALSE(kSceneCommands.Value("teleport"));
}
