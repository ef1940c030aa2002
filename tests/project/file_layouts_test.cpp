// Every project file read whole and cut at every byte. Each stored field has a value of its
// own, so a field read from the wrong place shows; after a cut, the fields that end before it
// hold the file's values, every later field keeps its default, lists keep their complete
// elements, and nothing crashes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

bool operator==(const TActionEntry& a, const TActionEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool operator==(const TSceneCommand& a, const TSceneCommand& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// An entry whose sixteen words all differ, so a word read into the wrong field shows.
TActionEntry Numbered(int32_t base) {
    int32_t words[16];
    for (int i = 0; i < 16; ++i) words[i] = base + i;
    TActionEntry e;
    std::memcpy(&e, words, sizeof e);
    return e;
}

template <class T>
struct Id {
    using type = T;
};

// The stored fields of a record in file order: where each ends, and whether a record holds
// the file's value or the default of a fresh record.
template <class R>
class Layout {
public:
    struct Field {
        std::string what;
        size_t end;
        std::function<bool(const R&)> read, untouched;
    };

    template <class T>
    Layout& Num(const char* what, T R::*m, typename Id<T>::type value) {
        return Add(what, sizeof(T), m, value);
    }
    Layout& Str(const char* what, TString R::*m, const char* value) {
        return Add(what, 4 + std::strlen(value) + 1, m, TString(value));
    }
    // A count, then its elements of 'size' bytes each.
    template <class T>
    Layout& List(const char* what, std::vector<T> R::*m, size_t size, std::vector<T> values) {
        at_ += 4;
        for (size_t i = 0; i < values.size(); ++i) {
            at_ += size;
            fields_.push_back(
                {what + std::to_string(i), at_,
                 [=](const R& r) { return (r.*m).size() > i && (r.*m)[i] == values[i]; },
                 [=](const R& r) { return (r.*m).size() <= i; }});
        }
        return *this;
    }
    Layout& Other(const char* what, size_t size, std::function<bool(const R&)> read,
                  std::function<bool(const R&)> untouched) {
        at_ += size;
        fields_.push_back({what, at_, std::move(read), std::move(untouched)});
        return *this;
    }

    size_t size() const { return at_; }
    const std::vector<Field>& fields() const { return fields_; }

private:
    template <class T>
    Layout& Add(const char* what, size_t size, T R::*m, T value) {
        T def = std::make_unique<R>().get()->*m;
        return Other(
            what, size, [=](const R& r) { return r.*m == value; },
            [=](const R& r) { return r.*m == def; });
    }

    size_t at_ = 0;
    std::vector<Field> fields_;
};

// Loads 'bytes' cut at every length into a fresh record and checks every field.
template <class R, class Load>
void SweepCuts(const TempDir& dir, const std::string& path, const Bytes& bytes,
               const Layout<R>& layout, Load load) {
    ASSERT_EQ(bytes.size(), layout.size()) << "layout does not match the encoding";
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        dir.WriteFile(path, bytes.Prefix(cut));
        auto record = std::make_unique<R>();
        EXPECT_EQ(load(*record), cut == bytes.size() ? FileStatus::Loaded : FileStatus::Truncated)
            << "cut at " << cut;
        for (const auto& f : layout.fields()) {
            if (f.end <= cut)
                EXPECT_TRUE(f.read(*record)) << f.what << " not read, cut at " << cut;
            else
                EXPECT_TRUE(f.untouched(*record)) << f.what << " changed, cut at " << cut;
            // A file value equal to the default would prove nothing.
            if (cut == bytes.size()) {
                EXPECT_FALSE(f.untouched(*record)) << f.what;
            }
        }
    }
}

using FileLayout = ProjectTest;

TEST_F(FileLayout, Global) {
    using R = TProject;
    Layout<R> l;
    l.Num("sceneStart", &R::sceneStart, 3)
        .Str("windowTitle", &R::windowTitle, "Zeta")
        .Num("globalFlag", &R::globalFlag, 1);
    SweepCuts(dir, "Global/Global.bin", GlobalFile{3, "Zeta", 1}.Encode(), l,
              [](R& r) { return LoadGlobal(r); });
}

TEST_F(FileLayout, Sprite) {
    using R = TSpriteDef;
    Layout<R> l;
    l.Str("name", &R::name, "Boss")
        .Num("animate", &R::animate, 1)
        .Num("frameWidth", &R::frameWidth, 48)
        .Num("frameHeight", &R::frameHeight, 40)
        .Num("frameCount", &R::frameCount, 6)
        .Num("framesPerStep", &R::framesPerStep, 3);
    SweepCuts(dir, "Sprite/Sprite0.bin", SpriteFile{"Boss", 1, 48, 40, 6, 3}.Encode(), l,
              [](R& r) { return LoadSpriteDef(r, 0); });
}

TEST_F(FileLayout, Sound) {
    using R = TSoundDef;
    Layout<R> l;
    l.Str("name", &R::name, "Hit")
        .Num("streamFromFile", &R::streamFromFile, 1)
        .Str("fileName", &R::fileName, "a.ogg")
        .Num("volume", &R::volume, 99)
        .Num("loop", &R::loop, 1);
    SweepCuts(dir, "Sound/Sound0.bin", SoundFile{"Hit", 1, "a.ogg", 99, 1}.Encode(), l,
              [](R& r) { return LoadSoundDef(r, 0); });
}

TEST_F(FileLayout, Player) {
    using R = TPlayerDef;
    Layout<R> l;
    l.Num("unused0", &R::unused0, 1)
        .Num("unused1", &R::unused1, -2)
        .Num("moveSpeed", &R::moveSpeed, 52.5)
        .Num("initialLife", &R::initialLife, 5)
        .Num("initialBombs", &R::initialBombs, 9)
        .Num("hitRadius", &R::hitRadius, 4)
        .Num("invincible", &R::invincible, 1);
    for (int i = 0; i < 3; ++i)
        l.Other(
            "padding", 1, [i](const R& r) { return r.padding[i] == 7 + i; },
            [i](const R& r) { return r.padding[i] == 0; });
    Bytes block = PlayerFile{1, -2, 52.5, 5, 9, 4, 1, {7, 8, 9}}.Encode();
    ASSERT_EQ(block.size(), 32u);
    SweepCuts(dir, "Global/Player.bin", block, l, [](R& r) { return LoadPlayerDef(r); });
}

TEST_F(FileLayout, Bullet) {
    using R = TBulletDef;
    Layout<R> l;
    l.Str("name", &R::name, "B")
        .Num("sprite", &R::sprite, 20)
        .Num("hitRadius", &R::hitRadius, 2)
        .Num("imageDirection", &R::imageDirection, 1)
        .Num("sound", &R::sound, 6);
    SweepCuts(dir, "Bullet/Bullet0.bin", BulletFile{"B", 20, 2, 1, 6}.Encode(), l,
              [](R& r) { return LoadBulletDef(r, 0); });
}

TEST_F(FileLayout, Item) {
    using R = TItemDef;
    Layout<R> l;
    l.Str("name", &R::name, "I")
        .Num("sprite", &R::sprite, 33)
        .Num("attribute", &R::attribute, 3)
        .Num("score", &R::score, 250);
    SweepCuts(dir, "Item/Item0.bin", ItemFile{"I", 33, 3, 250}.Encode(), l,
              [](R& r) { return LoadItemDef(r, 0); });
}

// Two action entries follow the twelfth field directly, and dropCount follows the second
// entry; bombDamage is stored before imageDirection.
TEST_F(FileLayout, Enemy) {
    using R = TEnemyDef;
    EnemyFile f{"E", 11, 0, 2, 300, 5, 4, 2, 0, 17, 12, 9};
    f.actions = {Numbered(100), Numbered(200)};
    f.dropCount = 3;
    f.dropKinds = {7, 8};
    f.groundDistance = 6;
    Layout<R> l;
    l.Str("name", &R::name, "E")
        .Num("sprite", &R::sprite, 11)
        .Num("contactHurts", &R::contactHurts, 0)
        .Num("shotResponse", &R::shotResponse, 2)
        .Num("score", &R::score, 300)
        .Num("durability", &R::durability, 5)
        .Num("bombDamage", &R::bombDamage, 4)
        .Num("imageDirection", &R::imageDirection, 2)
        .Num("explosion", &R::explosion, 0)
        .Num("successor", &R::successor, 17)
        .Num("hitWidth", &R::hitWidth, 12)
        .Num("hitHeight", &R::hitHeight, 9)
        .List("action ", &R::actions, 64, f.actions)
        .Num("dropCount", &R::dropCount, 3)
        .List("drop kind ", &R::dropKinds, 4, f.dropKinds)
        .Num("groundDistance", &R::groundDistance, 6);
    SweepCuts(dir, "Enemy/Enemy0.bin", f.Encode(), l, [](R& r) { return LoadEnemyDef(r, 0); });
}

// Scene entries start as a wait of 1000 frames; the stored words replace all seven.
TEST_F(FileLayout, Scene) {
    using R = TProject;
    Layout<R> l;
    l.List("command ", &R::scene, 28,
           {TSceneCommand{3, 5, 2, 100, 30, 90, 1}, TSceneCommand{0, 0, 0, 0, 0, 0, 9}});
    SweepCuts(dir, "Global/Scene.bin",
              SceneFile{{{3, 5, 2, 100, 30, 90, 1}, {0, 0, 0, 0, 0, 0, 9}}}.Encode(), l,
              [](R& r) { return LoadScene(r.scene); });
}

TEST_F(FileLayout, Map) {
    using R = TMapDef;
    MapFile f{"M", 5, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {-1}}};
    Layout<R> l;
    l.Str("name", &R::name, "M").Num("value", &R::value, 5).List("cell ", &R::cells, 52, f.cells);
    SweepCuts(dir, "Map/Map0.bin", f.Encode(), l, [](R& r) { return LoadMapDef(r, 0); });
}

TEST_F(FileLayout, Order) {
    using R = TProject;
    Layout<R> l;
    l.List("value ", &R::mapOrder, 4, {-5, 6});
    SweepCuts(dir, "Map/Order.bin", OrderFile{{-5, 6}}.Encode(), l,
              [](R& r) { return LoadMapOrder(r.mapOrder); });
}

}  // namespace
