// The definition files' edge cases: stored strings in every shape, file names, empty lists
// and hostile counts (missing and unreadable files are swept with the cuts). The field
// layouts are checked in file_layouts_test.cpp.
#include "project/definition_files.h"

#include <gtest/gtest.h>

#include "project/byte_reader.h"
#include "project_fixture.h"

namespace {

using DefinitionFiles = ProjectTest;

// Projects come from a file system that ignores case.
TEST_F(DefinitionFiles, NumbersInFileNamesAreUnpaddedAndCaseDoesNotMatter) {
    writer.File("sprite/Sprite012.bin", SpriteFile{"Padded"}.Encode());
    EXPECT_EQ(LoadSpriteDef(project->sprites[12], 12), FileStatus::Missing);
    writer.File("sprite/SPRITE12.BIN", SpriteFile{"Twelve"}.Encode());
    EXPECT_EQ(NumberedPath(kSpriteFolder, "Sprite%d.bin", 12), "Sprite\\Sprite12.bin");
    EXPECT_EQ(LoadSpriteDef(project->sprites[12], 12), FileStatus::Loaded);
    EXPECT_EQ(project->sprites[12].name, "Twelve");
}

TEST_F(DefinitionFiles, ZeroOrNegativeCountsAreEmptyListsAndReadingGoesOn) {
    writer.File("Global/Scene.bin", std::string(4, 0));
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Loaded);
    EXPECT_TRUE(project->scene.empty());
    for (int32_t count : {0, -3}) {
        EnemyFile enemy;
        enemy.actionCount = enemy.dropKindCount = count;
        enemy.dropCount = 3;
        enemy.groundDistance = -40;
        writer.Enemy(1, enemy).Map(0, {"Forest", 77, {}, count}).Order({{}, count});
        TEnemyDef e;
        TMapDef map;
        std::vector<int32_t> order = {9};
        SCOPED_TRACE(count);
        EXPECT_EQ(LoadEnemyDef(e, 1), FileStatus::Loaded);
        // Nothing is reserved either.
        EXPECT_TRUE(e.actions.capacity() == 0 && e.dropKinds.capacity() == 0);
        EXPECT_TRUE(e.dropCount == 3 && e.groundDistance == -40);
        EXPECT_EQ(LoadMapDef(map, 0), FileStatus::Loaded);
        EXPECT_TRUE(map.value == 77 && map.cells.empty());
        EXPECT_EQ(LoadMapOrder(order), FileStatus::Loaded);
        EXPECT_TRUE(order.empty());
    }
}

// A count of two billion in a small file: the complete elements are kept, room is never
// reserved for more than the file holds, and the fields after the list keep their defaults.
TEST_F(DefinitionFiles, HugeCountsKeepOnlyTheCompleteElements) {
    EnemyFile actions, drops;
    actions.actions = {{0, 25}, {14, 60}};
    actions.actionCount = drops.dropKindCount = 2000000000;
    actions.dropCount = 3;
    drops.dropKinds = {1, 2, 3};
    drops.groundDistance = 6;
    SceneFile scene{{{6, 1, 0, 0, 0, 0, 0}, {4, 9, 0, 0, 0, 0, 0}}, 2000000000};
    MapFile map{"Sky", 2, {{1}}, 2000000000};
    writer.Enemy(5, actions).Enemy(6, drops).Order({{4, 5}, 2000000000});
    writer.File("Global/Scene.bin", scene.Encode().Raw(std::string("\x08\0\0", 3)));
    writer.File("Map/Map3.bin", map.Encode().Raw(std::string(51, '\x7F')));
    TProject& p = *project;
    EXPECT_EQ(LoadEnemyDef(p.enemies[5], 5), FileStatus::Truncated);
    EXPECT_EQ(LoadEnemyDef(p.enemies[6], 6), FileStatus::Truncated);
    EXPECT_EQ(LoadScene(p.scene), FileStatus::Truncated);
    EXPECT_EQ(LoadMapDef(p.maps[3], 3), FileStatus::Truncated);
    EXPECT_EQ(LoadMapOrder(p.mapOrder), FileStatus::Truncated);
    // The twelve bytes after the two entries are too few for a third one.
    ASSERT_EQ(p.enemies[5].actions.size(), 2u);
    EXPECT_TRUE(p.enemies[5].actions[1].paramA == 60 && p.enemies[5].dropCount == 0);
    EXPECT_LE(p.enemies[5].actions.capacity(), 3u);
    // groundDistance's four bytes are taken as a fourth kind; then the file ends.
    EXPECT_EQ(p.enemies[6].dropKinds, (std::vector<int32_t>{1, 2, 3, 6}));
    EXPECT_TRUE(p.enemies[6].dropKinds.capacity() <= 4u && p.enemies[6].groundDistance == 0);
    ASSERT_EQ(p.scene.size(), 2u);
    EXPECT_TRUE(p.scene[1].p1 == 9 && p.scene.capacity() <= 2u);
    EXPECT_TRUE(p.maps[3].cells.size() == 1u && p.maps[3].cells.capacity() <= 1u);
    EXPECT_EQ(p.mapOrder, (std::vector<int32_t>{4, 5}));
    EXPECT_LE(p.mapOrder.capacity(), 2u);

    // The scene count is unsigned: above two billion it is not negative.
    writer.Scene(SceneFile{{{8, 0, 0, 0, 0, 0, 0}}, 0xFFFFFFFFu});
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Truncated);
    ASSERT_EQ(project->scene.size(), 1u);
    EXPECT_EQ(project->scene[0].command, 8);
}

TEST(ByteReader, StoredStringsOfEveryShape) {
    struct Case {
        const char* what;
        Bytes bytes;  // the string, then the int32 42 unless it is cut
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {"text runs to the first zero", Bytes().U32(6).Raw(std::string("ab\0cd\0", 6)).I32(42),
         true, "ab"},
        {"L = 1 with a zero byte", Bytes().Str("").I32(42), true, ""},
        {"L = 0", Bytes().U32(0).I32(42), true, ""},
        {"no zero byte", Bytes().U32(4).Raw("Ship").I32(42), true, "Ship"},
        {"L = 4,000,000,000", Bytes().U32(4000000000u).Raw(std::string("abc\0", 4)).I32(42), false,
         "old"},
        {"length cut short", Bytes().U8(3).U8(0), false, "old"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(c.bytes.str().begin(), c.bytes.str().end());
        ByteReader in(bytes);
        TString text("old");
        int32_t next = 7;
        EXPECT_EQ(in.ReadString(text), c.ok) << c.what;
        EXPECT_EQ(std::string(text.c_str()), c.text) << c.what;
        EXPECT_EQ(text.Length(), c.text.size()) << c.what;
        EXPECT_EQ(in.ReadI32(next), c.ok) << c.what;
        EXPECT_EQ(next, c.ok ? 42 : 7) << c.what;
    }
}

}  // namespace
