#include <gtest/gtest.h>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

void ExpectCommand(const TSceneCommand& c, SceneWords w) {
    EXPECT_EQ(c.command, w[0]);
    EXPECT_EQ(c.p1, w[1]);
    EXPECT_EQ(c.p2, w[2]);
    EXPECT_EQ(c.p3, w[3]);
    EXPECT_EQ(c.p4, w[4]);
    EXPECT_EQ(c.p5, w[5]);
    EXPECT_EQ(c.p6, w[6]);
}

using SceneFileTest = ProjectTest;

TEST_F(SceneFileTest, FourZeroBytesAreAnEmptyScript) {
    writer.File(ProjectWriter::ScenePath(), std::string(4, '\0'));
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Loaded);
    EXPECT_TRUE(project->scene.empty());
}

TEST_F(SceneFileTest, MissingFileIsAnEmptyScript) {
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Missing);
    EXPECT_TRUE(project->scene.empty());
}

TEST_F(SceneFileTest, CommandsKeepTheirSevenWordsInScriptOrder) {
    writer.Scene({{{3, 5, 2, 100, 30, 90, 1}, {2, 15, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}}});
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Loaded);
    ASSERT_EQ(project->scene.size(), 3u);
    ExpectCommand(project->scene[0], {3, 5, 2, 100, 30, 90, 1});
    ExpectCommand(project->scene[1], {2, 15, 0, 0, 0, 0, 0});
    // A stored zero overwrites the entry's starting wait of 1000.
    ExpectCommand(project->scene[2], {0, 0, 0, 0, 0, 0, 0});
}

TEST_F(SceneFileTest, HugeCountKeepsOnlyTheCompleteCommands) {
    SceneFile f;
    f.commands = {{6, 1, 0, 0, 0, 0, 0}, {4, 9, 0, 0, 0, 0, 0}};
    f.count = 2000000000;
    writer.File(ProjectWriter::ScenePath(), f.Encode().Raw(std::string("\x08\0\0", 3)));
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Truncated);
    ASSERT_EQ(project->scene.size(), 2u);
    ExpectCommand(project->scene[1], {4, 9, 0, 0, 0, 0, 0});
    EXPECT_LE(project->scene.capacity(), 2u);
}

TEST_F(SceneFileTest, CountAboveTwoBillionIsUnsignedNotNegative) {
    SceneFile f;
    f.commands = {{8, 0, 0, 0, 0, 0, 0}};
    f.count = 0xFFFFFFFFu;
    writer.Scene(f);
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Truncated);
    ASSERT_EQ(project->scene.size(), 1u);
    EXPECT_EQ(project->scene[0].command, 8);
}

TEST_F(SceneFileTest, CountCutShortIsAnEmptyScript) {
    writer.File(ProjectWriter::ScenePath(), std::string("\x01\0", 2));
    EXPECT_EQ(LoadScene(project->scene), FileStatus::Truncated);
    EXPECT_TRUE(project->scene.empty());
}

using MapFileTest = ProjectTest;

TEST_F(MapFileTest, NoCellsGivesANameAndAValue) {
    writer.Map(0, MapFile{"Forest", 77});
    EXPECT_EQ(LoadMapDef(project->maps[0], 0), FileStatus::Loaded);
    EXPECT_EQ(project->maps[0].name, "Forest");
    EXPECT_EQ(project->maps[0].value, 77);
    EXPECT_TRUE(project->maps[0].cells.empty());
}

TEST_F(MapFileTest, CellsKeepTheirThirteenWords) {
    MapFile f{"Sea", 1};
    MapCellWords a, b;
    for (int i = 0; i < 13; ++i) {
        a[i] = i;
        b[i] = -100 - i;
    }
    f.cells = {a, b};
    writer.Map(255, f);
    EXPECT_EQ(LoadMapDef(project->maps[255], 255), FileStatus::Loaded);
    ASSERT_EQ(project->maps[255].cells.size(), 2u);
    EXPECT_EQ(project->maps[255].cells[0], a);
    EXPECT_EQ(project->maps[255].cells[1], b);
}

TEST_F(MapFileTest, HugeCellCountKeepsOnlyTheCompleteCells) {
    MapFile f{"Sky", 2};
    f.cells = {MapCellWords{1}};
    f.cellCount = 2000000000;
    writer.File(ProjectWriter::MapPath(3), f.Encode().Raw(std::string(51, '\x7F')));
    EXPECT_EQ(LoadMapDef(project->maps[3], 3), FileStatus::Truncated);
    ASSERT_EQ(project->maps[3].cells.size(), 1u);
    EXPECT_EQ(project->maps[3].cells[0][0], 1);
    EXPECT_LE(project->maps[3].cells.capacity(), 1u);
}

TEST_F(MapFileTest, NegativeCellCountIsNoCells) {
    MapFile f{"Sky", 2};
    f.cells = {MapCellWords{1}};
    f.cellCount = -7;
    writer.Map(4, f);
    EXPECT_EQ(LoadMapDef(project->maps[4], 4), FileStatus::Loaded);
    EXPECT_TRUE(project->maps[4].cells.empty());
    EXPECT_EQ(project->maps[4].value, 2);
}

TEST_F(MapFileTest, MissingFileKeepsTheDefaults) {
    EXPECT_EQ(LoadMapDef(project->maps[5], 5), FileStatus::Missing);
    EXPECT_EQ(project->maps[5].name, kUnregisteredCp932);
    EXPECT_EQ(project->maps[5].value, 0);
}

}  // namespace
