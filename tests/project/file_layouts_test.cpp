// Every project file missing, read whole and cut at every byte. Each stored field has a value of
// its own, so a field read from the wrong place shows; after a cut, the fields that end before it
// hold the file's values, every later field keeps its default, lists keep their complete
// elements, and nothing crashes. Then the edge cases: stored strings in every shape, file
// names, empty lists and hostile counts.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <type_traits>

#include "project/byte_reader.h"
#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

// An entry whose sixteen words all differ, so a word read into the wrong field shows.
TActionEntry Numbered(int32_t b) {
    return {b,     b + 1, b + 2,  b + 3,  b + 4,  b + 5,  b + 6,  b + 7,
            b + 8, b + 9, b + 10, b + 11, b + 12, b + 13, b + 14, b + 15};
}

// One stored piece of a record: its size in the file and, unless it is a count, whether a
// record holds the file's value or the default of a fresh record.
template <class R>
struct Piece {
    std::string what;
    size_t size;
    std::function<bool(const R&)> read, untouched;
};
template <class R>
using Pieces = std::vector<Piece<R>>;

// A number, a flag or a stored string (L = its length + 1).
template <class R, class T, class V>
Pieces<R> Field(const char* what, T R::*m, V fileValue) {
    T value(fileValue), def = std::make_unique<R>().get()->*m;
    size_t size = sizeof(T);
    if constexpr (std::is_same_v<T, TString>) size = 4 + value.Length() + 1;
    return {{what, size, [=](const R& r) { return r.*m == value; },
             [=](const R& r) { return r.*m == def; }}};
}
#define FIELD(member, value) Field(#member, &R::member, value)

// A count, then elements of 'size' bytes each, compared word for word.
template <class R, class T>
Pieces<R> List(const char* what, std::vector<T> R::*m, size_t size, std::vector<T> values) {
    Pieces<R> pieces = {{"count", 4, nullptr, nullptr}};
    for (size_t i = 0; i < values.size(); ++i)
        pieces.push_back({what + std::to_string(i), size,
                          [=](const R& r) {
                              return (r.*m).size() > i &&
                                     std::memcmp(&(r.*m)[i], &values[i], sizeof(T)) == 0;
                          },
                          [=](const R& r) { return (r.*m).size() <= i; }});
    return pieces;
}
#define LIST(member, size, ...) List(#member, &R::member, size, {__VA_ARGS__})

// Loads 'bytes' cut at every length into a fresh record and checks every piece; first with
// the file missing and with a folder in its place (cuts -1 and -2), which keep every default.
template <class R, class Load>
void SweepCuts(const TempDir& dir, const std::string& path, const Bytes& bytes,
               std::initializer_list<Pieces<R>> layout, Load load) {
    std::vector<std::pair<long, const Piece<R>*>> ends;
    long at = 0;
    for (const Pieces<R>& part : layout)
        for (const Piece<R>& p : part) ends.push_back({at += p.size, &p});
    SCOPED_TRACE(path);
    ASSERT_EQ(long(bytes.size()), at) << "layout does not match the encoding";
    for (long cut = -2; cut <= at; ++cut) {
        std::filesystem::remove(dir / path);
        if (cut == -2) dir.MakeDir(path);
        if (cut >= 0) dir.WriteFile(path, bytes.Prefix(cut));
        auto record = std::make_unique<R>();
        EXPECT_EQ(load(*record), cut < 0    ? FileStatus::Missing
                                 : cut < at ? FileStatus::Truncated
                                            : FileStatus::Loaded)
            << "cut at " << cut;
        for (auto [end, p] : ends) {
            if (!p->read) continue;
            if (end <= cut)
                EXPECT_TRUE(p->read(*record)) << p->what << " not read, cut at " << cut;
            else
                EXPECT_TRUE(p->untouched(*record)) << p->what << " changed, cut at " << cut;
            // A file value equal to the default would prove nothing.
            EXPECT_FALSE(cut == at && p->untouched(*record)) << p->what;
        }
    }
}

// Sweeps the file at 'path' holding 'bytes' as a record of type 'Type', read by 'load' (an
// expression of the record r), against the pieces that follow.
#define SWEEP(Type, path, bytes, load, ...)                                    \
    [&] {                                                                      \
        using R = Type;                                                        \
        SweepCuts(dir, path, bytes, {__VA_ARGS__}, [](R& r) { return load; }); \
    }()

// The player's 32-byte block ends in three bytes of padding.
Pieces<TPlayerDef> Padding(int i) {
    return {{"padding", 1, [i](const TPlayerDef& r) { return r.padding[i] == 7 + i; },
             [i](const TPlayerDef& r) { return r.padding[i] == 0; }}};
}

using FileLayout = ProjectTest;

TEST_F(FileLayout, EveryFileMissingWholeAndCutAtEveryByte) {
    SWEEP(TProject, "Global/Global.bin", (GlobalFile{3, "Zeta", 1}.Encode()), LoadGlobal(r),
          FIELD(sceneStart, 3), FIELD(windowTitle, "Zeta"), FIELD(globalFlag, 1));
    SWEEP(TSpriteDef, "Sprite/Sprite0.bin", (SpriteFile{"Boss", 1, 48, 40, 6, 3}.Encode()),
          LoadSpriteDef(r, 0), FIELD(name, "Boss"), FIELD(animate, 1), FIELD(frameWidth, 48),
          FIELD(frameHeight, 40), FIELD(frameCount, 6), FIELD(framesPerStep, 3));
    SWEEP(TSoundDef, "Sound/Sound0.bin", (SoundFile{"Hit", 1, "a.ogg", 99, 1}.Encode()),
          LoadSoundDef(r, 0), FIELD(name, "Hit"), FIELD(streamFromFile, 1),
          FIELD(fileName, "a.ogg"), FIELD(volume, 99), FIELD(loop, 1));
    SWEEP(TPlayerDef, "Global/Player.bin",
          (PlayerFile{1, -2, 52.5, 5, 9, 4, 1, {7, 8, 9}}.Encode()), LoadPlayerDef(r),
          FIELD(unused0, 1), FIELD(unused1, -2), FIELD(moveSpeed, 52.5), FIELD(initialLife, 5),
          FIELD(initialBombs, 9), FIELD(hitRadius, 4), FIELD(invincible, 1), Padding(0), Padding(1),
          Padding(2));
    SWEEP(TBulletDef, "Bullet/Bullet0.bin", (BulletFile{"B", 20, 2, 1, 6}.Encode()),
          LoadBulletDef(r, 0), FIELD(name, "B"), FIELD(sprite, 20), FIELD(hitRadius, 2),
          FIELD(imageDirection, 1), FIELD(sound, 6));
    SWEEP(TItemDef, "Item/Item0.bin", (ItemFile{"I", 33, 3, 250}.Encode()), LoadItemDef(r, 0),
          FIELD(name, "I"), FIELD(sprite, 33), FIELD(attribute, 3), FIELD(score, 250));
    // bombDamage is stored before imageDirection; two action entries follow the twelfth field
    // directly, and dropCount follows the second entry.
    EnemyFile enemy{"E", 11, 0, 2, 300, 5, 4, 2, 0, 17, 12, 9};
    enemy.actions = {Numbered(100), Numbered(200)};
    enemy.dropCount = 3;
    enemy.dropKinds = {7, 8};
    enemy.groundDistance = 6;
    SWEEP(TEnemyDef, "Enemy/Enemy0.bin", enemy.Encode(), LoadEnemyDef(r, 0), FIELD(name, "E"),
          FIELD(sprite, 11), FIELD(contactHurts, 0), FIELD(shotResponse, 2), FIELD(score, 300),
          FIELD(durability, 5), FIELD(bombDamage, 4), FIELD(imageDirection, 2), FIELD(explosion, 0),
          FIELD(successor, 17), FIELD(hitWidth, 12), FIELD(hitHeight, 9),
          LIST(actions, 64, enemy.actions), FIELD(dropCount, 3), LIST(dropKinds, 4, 7, 8),
          FIELD(groundDistance, 6));
    // Scene entries start as a wait of 1000 frames; the stored words replace all seven.
    SWEEP(TProject, "Global/Scene.bin",
          (SceneFile{{{3, 5, 2, 100, 30, 90, 1}, {0, 0, 0, 0, 0, 0, 9}}}.Encode()),
          LoadScene(r.scene),
          LIST(scene, 28, TSceneCommand{3, 5, 2, 100, 30, 90, 1},
               TSceneCommand{0, 0, 0, 0, 0, 0, 9}));
    SWEEP(TProject, "Map/Order.bin", (OrderFile{{-5, 6}}.Encode()), LoadMapOrder(r.mapOrder),
          LIST(mapOrder, 4, -5, 6));
    MapFile map{"M", 5, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {-1}}};
    SWEEP(TMapDef, "Map/Map0.bin", map.Encode(), LoadMapDef(r, 0), FIELD(name, "M"),
          FIELD(value, 5), LIST(cells, 52, map.cells[0], map.cells[1]));
}

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
