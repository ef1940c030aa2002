// Every project file cut at every byte: the fields that end before the cut keep the file's
// values, every later field keeps its default, lists keep their complete elements, and
// nothing crashes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

// One stored field: where it ends in the file and how to tell whether it was read.
template <class Record>
struct Field {
    const char* what;
    size_t end;
    std::function<bool(const Record&)> read;       // holds the file's value
    std::function<bool(const Record&)> untouched;  // holds its default
};

// Builds the field list from the sizes in stored order.
template <class Record>
class Layout {
public:
    Layout& Add(const char* what, size_t size, std::function<bool(const Record&)> read,
                std::function<bool(const Record&)> untouched) {
        at_ += size;
        fields_.push_back({what, at_, std::move(read), std::move(untouched)});
        return *this;
    }
    Layout& Skip(size_t size) {
        at_ += size;
        return *this;
    }
    size_t size() const { return at_; }
    const std::vector<Field<Record>>& fields() const { return fields_; }

private:
    size_t at_ = 0;
    std::vector<Field<Record>> fields_;
};

// Cuts 'bytes' at every length, loads each cut into a fresh record and checks every field.
template <class Record, class Load>
void SweepCuts(const TempDir& dir, const std::string& relative, const std::string& bytes,
               const Layout<Record>& layout, Load load) {
    ASSERT_EQ(bytes.size(), layout.size()) << "layout does not match the encoding";
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        dir.WriteFile(relative, bytes.substr(0, cut));
        auto record = std::make_unique<Record>();
        FileStatus status = load(*record);
        EXPECT_EQ(status, cut == bytes.size() ? FileStatus::Loaded : FileStatus::Truncated)
            << "cut at " << cut;
        for (const Field<Record>& f : layout.fields()) {
            if (f.end <= cut)
                EXPECT_TRUE(f.read(*record)) << f.what << " not read, cut at " << cut;
            else
                EXPECT_TRUE(f.untouched(*record)) << f.what << " changed, cut at " << cut;
        }
    }
}

using TruncatedFileTest = ProjectTest;

TEST_F(TruncatedFileTest, Global) {
    using R = TProject;
    Layout<R> l;
    l.Add(
         "sceneStart", 4, [](const R& r) { return r.sceneStart == 3; },
         [](const R& r) { return r.sceneStart == 0; })
        .Add(
            "windowTitle", 4 + 5, [](const R& r) { return r.windowTitle == "Zeta"; },
            [](const R& r) { return r.windowTitle == "Orvan"; })
        .Add(
            "globalFlag", 1, [](const R& r) { return r.globalFlag == 1; },
            [](const R& r) { return r.globalFlag == 0; });
    SweepCuts(dir, ProjectWriter::GlobalPath(), GlobalFile{3, "Zeta", 1}.Encode().str(), l,
              [](R& r) { return LoadGlobal(r); });
}

TEST_F(TruncatedFileTest, Sprite) {
    using R = TSpriteDef;
    Layout<R> l;
    l.Add(
         "name", 4 + 5, [](const R& r) { return r.name == "Boss"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "animate", 1, [](const R& r) { return r.animate == 1; },
            [](const R& r) { return r.animate == 0; })
        .Add(
            "frameWidth", 4, [](const R& r) { return r.frameWidth == 48; },
            [](const R& r) { return r.frameWidth == 32; })
        .Add(
            "frameHeight", 4, [](const R& r) { return r.frameHeight == 40; },
            [](const R& r) { return r.frameHeight == 32; })
        .Add(
            "frameCount", 4, [](const R& r) { return r.frameCount == 6; },
            [](const R& r) { return r.frameCount == 4; })
        .Add(
            "framesPerStep", 4, [](const R& r) { return r.framesPerStep == 3; },
            [](const R& r) { return r.framesPerStep == 10; });
    SweepCuts(dir, ProjectWriter::SpritePath(0), SpriteFile{"Boss", 1, 48, 40, 6, 3}.Encode().str(),
              l, [](R& r) { return LoadSpriteDef(r, 0); });
}

TEST_F(TruncatedFileTest, Sound) {
    using R = TSoundDef;
    std::string defaultFile = std::string(kUnregisteredCp932) + ".wav";
    Layout<R> l;
    l.Add(
         "name", 4 + 4, [](const R& r) { return r.name == "Hit"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "streamFromFile", 1, [](const R& r) { return r.streamFromFile == 1; },
            [](const R& r) { return r.streamFromFile == 0; })
        .Add(
            "fileName", 4 + 6, [](const R& r) { return r.fileName == "a.ogg"; },
            [=](const R& r) { return r.fileName == defaultFile.c_str(); })
        .Add(
            "volume", 4, [](const R& r) { return r.volume == 99; },
            [](const R& r) { return r.volume == 255; })
        .Add(
            "loop", 1, [](const R& r) { return r.loop == 1; },
            [](const R& r) { return r.loop == 0; });
    SweepCuts(dir, ProjectWriter::SoundPath(0), SoundFile{"Hit", 1, "a.ogg", 99, 1}.Encode().str(),
              l, [](R& r) { return LoadSoundDef(r, 0); });
}

TEST_F(TruncatedFileTest, Player) {
    using R = TPlayerDef;
    Layout<R> l;
    l.Add(
         "unused0", 4, [](const R& r) { return r.unused0 == 1; },
         [](const R& r) { return r.unused0 == 32; })
        .Add(
            "unused1", 4, [](const R& r) { return r.unused1 == 2; },
            [](const R& r) { return r.unused1 == 32; })
        .Add(
            "moveSpeed", 8, [](const R& r) { return r.moveSpeed == 60.0; },
            [](const R& r) { return r.moveSpeed == 40.0; })
        .Add(
            "initialLife", 4, [](const R& r) { return r.initialLife == 5; },
            [](const R& r) { return r.initialLife == 10; })
        .Add(
            "initialBombs", 4, [](const R& r) { return r.initialBombs == 9; },
            [](const R& r) { return r.initialBombs == 3; })
        .Add(
            "hitRadius", 4, [](const R& r) { return r.hitRadius == 4; },
            [](const R& r) { return r.hitRadius == 1; })
        .Add(
            "invincible", 1, [](const R& r) { return r.invincible == 1; },
            [](const R& r) { return r.invincible == 0; })
        .Add(
            "padding", 3, [](const R& r) { return r.padding[2] == 7; },
            [](const R& r) { return r.padding[2] == 0; });
    SweepCuts(dir, ProjectWriter::PlayerPath(),
              PlayerFile{1, 2, 60.0, 5, 9, 4, 1, {7, 7, 7}}.Encode().str(), l,
              [](R& r) { return LoadPlayerDef(r); });
}

TEST_F(TruncatedFileTest, Bullet) {
    using R = TBulletDef;
    Layout<R> l;
    l.Add(
         "name", 4 + 2, [](const R& r) { return r.name == "B"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "sprite", 4, [](const R& r) { return r.sprite == 20; },
            [](const R& r) { return r.sprite == 0; })
        .Add(
            "hitRadius", 4, [](const R& r) { return r.hitRadius == 2; },
            [](const R& r) { return r.hitRadius == 1; })
        .Add(
            "imageDirection", 4, [](const R& r) { return r.imageDirection == 1; },
            [](const R& r) { return r.imageDirection == 0; })
        .Add(
            "sound", 4, [](const R& r) { return r.sound == 6; },
            [](const R& r) { return r.sound == -1; });
    SweepCuts(dir, ProjectWriter::BulletPath(0), BulletFile{"B", 20, 2, 1, 6}.Encode().str(), l,
              [](R& r) { return LoadBulletDef(r, 0); });
}

TEST_F(TruncatedFileTest, Item) {
    using R = TItemDef;
    Layout<R> l;
    l.Add(
         "name", 4 + 2, [](const R& r) { return r.name == "I"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "sprite", 4, [](const R& r) { return r.sprite == 33; },
            [](const R& r) { return r.sprite == 0; })
        .Add(
            "attribute", 4, [](const R& r) { return r.attribute == 3; },
            [](const R& r) { return r.attribute == 0; })
        .Add(
            "score", 4, [](const R& r) { return r.score == 250; },
            [](const R& r) { return r.score == 100; });
    SweepCuts(dir, ProjectWriter::ItemPath(0), ItemFile{"I", 33, 3, 250}.Encode().str(), l,
              [](R& r) { return LoadItemDef(r, 0); });
}

TEST_F(TruncatedFileTest, Enemy) {
    using R = TEnemyDef;
    EnemyFile f;
    f.name = "E";
    f.sprite = 11;
    f.contactHurts = 0;
    f.shotResponse = 2;
    f.score = 300;
    f.durability = 5;
    f.bombDamage = 4;
    f.imageDirection = 2;
    f.explosion = 0;
    f.successor = 17;
    f.hitWidth = 12;
    f.hitHeight = 9;
    f.actions = {Action(0, 25), Action(26, 1, 3)};
    f.dropCount = 3;
    f.dropKinds = {7, 8};
    f.groundDistance = 6;

    Layout<R> l;
    l.Add(
         "name", 4 + 2, [](const R& r) { return r.name == "E"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "sprite", 4, [](const R& r) { return r.sprite == 11; },
            [](const R& r) { return r.sprite == 0; })
        .Add(
            "contactHurts", 1, [](const R& r) { return r.contactHurts == 0; },
            [](const R& r) { return r.contactHurts == 1; })
        .Add(
            "shotResponse", 4, [](const R& r) { return r.shotResponse == 2; },
            [](const R& r) { return r.shotResponse == 0; })
        .Add(
            "score", 4, [](const R& r) { return r.score == 300; },
            [](const R& r) { return r.score == 100; })
        .Add(
            "durability", 4, [](const R& r) { return r.durability == 5; },
            [](const R& r) { return r.durability == 1; })
        .Add(
            "bombDamage", 4, [](const R& r) { return r.bombDamage == 4; },
            [](const R& r) { return r.bombDamage == 1; })
        .Add(
            "imageDirection", 4, [](const R& r) { return r.imageDirection == 2; },
            [](const R& r) { return r.imageDirection == 0; })
        .Add(
            "explosion", 1, [](const R& r) { return r.explosion == 0; },
            [](const R& r) { return r.explosion == 1; })
        .Add(
            "successor", 4, [](const R& r) { return r.successor == 17; },
            [](const R& r) { return r.successor == -1; })
        .Add(
            "hitWidth", 4, [](const R& r) { return r.hitWidth == 12; },
            [](const R& r) { return r.hitWidth == -1; })
        .Add(
            "hitHeight", 4, [](const R& r) { return r.hitHeight == 9; },
            [](const R& r) { return r.hitHeight == -1; })
        .Skip(4)  // N
        .Add(
            "action 0", 64,
            [](const R& r) { return r.actions.size() >= 1 && r.actions[0].paramA == 25; },
            [](const R& r) { return r.actions.empty(); })
        .Add(
            "action 1", 64,
            [](const R& r) { return r.actions.size() == 2 && r.actions[1].paramB == 3; },
            [](const R& r) { return r.actions.size() <= 1; })
        .Add(
            "dropCount", 4, [](const R& r) { return r.dropCount == 3; },
            [](const R& r) { return r.dropCount == 0; })
        .Skip(4)  // M
        .Add(
            "drop kind 0", 4,
            [](const R& r) { return r.dropKinds.size() >= 1 && r.dropKinds[0] == 7; },
            [](const R& r) { return r.dropKinds.empty(); })
        .Add(
            "drop kind 1", 4,
            [](const R& r) { return r.dropKinds.size() == 2 && r.dropKinds[1] == 8; },
            [](const R& r) { return r.dropKinds.size() <= 1; })
        .Add(
            "groundDistance", 4, [](const R& r) { return r.groundDistance == 6; },
            [](const R& r) { return r.groundDistance == 0; });
    SweepCuts(dir, ProjectWriter::EnemyPath(0), f.Encode().str(), l,
              [](R& r) { return LoadEnemyDef(r, 0); });
}

TEST_F(TruncatedFileTest, Scene) {
    using R = std::vector<TSceneCommand>;
    SceneFile f;
    f.commands = {{3, 5, 2, 100, 30, 90, 1}, {0, 0, 0, 0, 0, 0, 9}};
    Layout<R> l;
    l.Skip(4)
        .Add(
            "command 0", 28, [](const R& r) { return r.size() >= 1 && r[0].p6 == 1; },
            [](const R& r) { return r.empty(); })
        .Add(
            "command 1", 28, [](const R& r) { return r.size() == 2 && r[1].p6 == 9; },
            [](const R& r) { return r.size() <= 1; });
    SweepCuts(dir, ProjectWriter::ScenePath(), f.Encode().str(), l,
              [](R& r) { return LoadScene(r); });
}

TEST_F(TruncatedFileTest, Map) {
    using R = TMapDef;
    MapFile f{"M", 5};
    f.cells = {MapCellWords{1, 2, 3}};
    f.cells[0][12] = 13;
    Layout<R> l;
    l.Add(
         "name", 4 + 2, [](const R& r) { return r.name == "M"; },
         [](const R& r) { return r.name == kUnregisteredCp932; })
        .Add(
            "value", 4, [](const R& r) { return r.value == 5; },
            [](const R& r) { return r.value == 0; })
        .Skip(4)  // K
        .Add(
            "cell 0", 52, [](const R& r) { return r.cells.size() == 1 && r.cells[0][12] == 13; },
            [](const R& r) { return r.cells.empty(); });
    SweepCuts(dir, ProjectWriter::MapPath(0), f.Encode().str(), l,
              [](R& r) { return LoadMapDef(r, 0); });
}

TEST_F(TruncatedFileTest, Order) {
    using R = std::vector<int32_t>;
    Layout<R> l;
    l.Skip(4)
        .Add(
            "value 0", 4, [](const R& r) { return r.size() >= 1 && r[0] == -5; },
            [](const R& r) { return r.empty(); })
        .Add(
            "value 1", 4, [](const R& r) { return r.size() == 2 && r[1] == 6; },
            [](const R& r) { return r.size() <= 1; });
    SweepCuts(dir, ProjectWriter::OrderPath(), OrderFile{{-5, 6}}.Encode().str(), l,
              [](R& r) { return LoadMapOrder(r); });
}

}  // namespace
