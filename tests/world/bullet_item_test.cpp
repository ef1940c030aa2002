// Items (attraction, collection, caps), the score and the panel's texts, numbers from a file
// that lie one past their table (each refused without a crash), and the player's shots' scan.
#include <climits>
#include <cmath>

#include "render/score_texts.h"
#include "world/enemy_grid.h"
#include "world_fixture.h"

namespace {

class Items : public WorldTest {
protected:
    void SetUp() override {
        project->sprites[20].imageWidth = 20;  // the box: 10 x 7 half-extents
        project->sprites[20].imageHeight = 15;
        for (int attribute = 0; attribute < 5; ++attribute)
            project->items[attribute] = {"", 20, attribute, 250};
        Link();
    }
};

TEST_F(Items, FarItemDriftsThenFliesAtTheShipFromInside122AndAHalfPixelsAndIsCollected) {
    world->items.Drop(208, 248, 0);  // 200 pixels above the ship
    for (int i = 0; i < 10; ++i) world->items.UpdateAll();
    EXPECT_FALSE(item(0).attracted);
    player().x = item(0).x;  // the ship comes within 110 pixels
    player().y = item(0).y + 110;
    int frames = 0;
    for (; item(0).IsAlive() && frames < 40; ++frames) world->items.UpdateAll();
    EXPECT_EQ(frames, 18);  // closes at 6 a frame; collected inside 1 + 7 pixels
    EXPECT_EQ(world->scorePanel.score, 250u);
    // The pull starts inside 15000 squared pixels (about 122.5), not on the circle itself.
    player().x = player().y = 0;
    world->items.Drop(10, 122.06555615733703, 4);  // 10 squared plus this squared is 15000
    world->items.Drop(10, 122.065556157337, 4);
    world->items.UpdateAll();
    EXPECT_FALSE(item(0).attracted);
    EXPECT_TRUE(item(1).attracted);
}

TEST_F(Items, AttributesRiseByOneUpToTheirCaps) {
    player().power = 5;
    player().lives = 98;
    player().bombs = 99;
    for (int kind : {1, 2, 2, 3, 4, -1}) {  // 4 is an unknown attribute: no effect
        world->items.Drop(player().x, player().y, kind);
        world->items.UpdateAll();
    }
    EXPECT_EQ((std::vector<int>{player().power, player().lives, player().bombs}),
              (std::vector<int>{5, 99, 99}));
    EXPECT_EQ(world->scorePanel.score, 0u);
    EXPECT_EQ(Alive(world->items.items), 0);
}

TEST(Score, StopsAtNineDigitsAndZeroAndThePanelShowsMinimumWidths) {
    const struct {
        uint32_t score;
        int add;
        uint32_t result;
    } cases[] = {{999999950u, 100, 999999999u},
                 {10u, INT_MAX, 999999999u},
                 {50u, -20, 30u},
                 {30u, -100, 0u} /* not wrapped round */,
                 {0u, INT_MIN, 0u}};
    for (const auto& c : cases) {
        TScorePanel panel;
        panel.score = c.score;
        panel.AddScore(c.add);
        EXPECT_EQ(panel.score, c.result) << c.score << " + " << c.add;
        EXPECT_EQ(panel.best, c.result);
    }
    TScoreTexts texts;
    texts.Format(7u, 1234u, 100, -1);
    const char* score = texts.Score().c_str();
    EXPECT_STREQ(texts.Best().c_str(), "000000007");
    EXPECT_STREQ(texts.Score().c_str(), "000001234");
    EXPECT_STREQ(texts.Bombs().c_str(), "100");
    EXPECT_STREQ(texts.Lives().c_str(), "00");  // after the last life
    texts.Format(0u, 4294967295u, 3, 7);
    EXPECT_EQ(texts.Score().c_str(), score);  // formatted in place, every frame
    EXPECT_STREQ(texts.Score().c_str(), "4294967295");
    EXPECT_STREQ(texts.Lives().c_str(), "07");
}

// The last number of each table works; one past it creates, plays or draws nothing.
TEST_F(WorldTest, NumbersOnePastTheirTableAreRefused) {
    Link();
    const int32_t last = kEnemyCount - 1;
    EXPECT_EQ(Spawn(kEnemyCount), -1);
    // Rings of four enemies of the last kind, then of one past it.
    Def(1).actions = {TActionEntry{15, 0, 0, 4, 1, last, 0, 0, 0, 0, 0, 90},
                      TActionEntry{15, 0, 0, 4, 1, last + 1, 0, 0, 0, 0, 0, 90}};
    Spawn(1);
    EnemyFrames(3);
    EXPECT_EQ(AliveEnemies(last), 4);
    EXPECT_EQ(AliveEnemies(), 5);
    // A successor or a dropped item one past: nothing starts, but each drop still draws.
    Def(2).successor = kEnemyCount;
    Def(2).dropCount = 5;
    Def(2).dropKinds = {-1, kItemCount};
    Def(2).explosion = 0;
    const int32_t slot = Spawn(2);
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Die(); }), 5u);
    EXPECT_EQ(AliveEnemies(), 5);
    EXPECT_EQ(Alive(world->items.items), 0);
    world->items.Drop(10, 10, kItemCount);
    world->bullets.Fire(kBulletCount, 0, 10, 10, 1, 0, false);
    EXPECT_EQ(Alive(world->items.items) + Alive(world->bullets.bullets), 0);
    // A bullet whose sprite or sound is one past: no margins, the shot ends once it is off.
    project->bullets[0].sprite = kSpriteCount;
    project->bullets[0].sound = kSoundCount;
    world->bullets.Fire(0, 0, 0.5, 100, 1, 180, false);
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
    // An appearance of one past holds nothing.
    project->scene = {{3, kEnemyCount, 2, 200, 0, 0, 1}};
    Scene().Reset();
    Scene().Step();
    Scene().Step();
    EXPECT_TRUE(Scene().advancePending);
}

// The pool's bullet update narrows each player's shot's scan with a grid of the enemies; a
// bullet updated on its own scans every slot. Both must hit the same enemies in the same
// order, whatever the crowd: overlapping, off-field, appearing or dying during a scan, with
// boxes inverted, huge or not numbers.
struct Crowd {
    TApp app;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();

    Crowd(uint32_t seed) {
        RandMirror r(seed);
        for (int k = 0; k < 6; ++k) {
            TEnemyDef& d = project->enemies[k];
            d.durability = r.Next() % 3;
            d.shotResponse = k == 5 ? 1 : k == 4 ? 2 : 0;
            d.successor = k < 3 ? k + 1 : -1;
            d.explosion = k % 2;
            d.hitWidth = r.Next() % 40 - 5;
            d.hitHeight = r.Next() % 40 - 5;
        }
        for (int k = 0; k < 3; ++k) project->bullets[k].hitRadius = r.Next() % 25 - 2;
        world->scorePanel.player = &world->player;
        world->Link(&app, project.get());
        const double odd[] = {NAN, INFINITY, -1e300, 1e9};
        for (int i = 0; i < 300; ++i) {
            const int slot = world->enemies.SpawnEnemy(r.Next() % 6, r.Next() % 560 - 72,
                                                       r.Next() % 620 - 70, 0, 0, false, -1);
            TEnemy& e = world->enemies.enemies[slot];
            if (r.Next() % 3 == 0) e.parentSlot = r.Next() % 300;
            const int hostile = r.Next() % 60;
            if (hostile == 0) e.x = odd[r.Next() % 4];
            if (hostile == 1) e.y = odd[r.Next() % 4];
            if (hostile == 2) e.halfHeight = r.Next() % 2 ? INT32_MAX : -60;
        }
        for (int i = 0; i < 1500; ++i)
            world->bullets.Fire(r.Next() % 3, 1, r.Next() % 500 - 40, r.Next() % 560 - 40,
                                kStopSpeed, 0, false);
    }

    // Updates the bullets through the pool or one by one; returns everything the scans can
    // change: the random numbers drawn, the score, each enemy and each bullet.
    std::vector<int64_t> Scan(bool throughPool) {
        sys::SeedRandom(1);
        const uint64_t before = sys::RandCalls();
        if (throughPool) {
            world->bullets.UpdateAll();
        } else {
            for (TBullet& b : world->bullets.bullets) b.Update();
        }
        std::vector<int64_t> out{int64_t(sys::RandCalls() - before), world->scorePanel.score};
        for (const TEnemy& e : world->enemies.enemies)
            out.insert(out.end(), {e.alive, e.kind, e.durability});
        for (const TBullet& b : world->bullets.bullets) out.push_back(b.alive);
        return out;
    }
};

TEST(ShotGrid, ThePoolsScanHitsWhatEveryBulletScanningAllSlotsHits) {
    for (uint32_t seed = 1; seed <= 12; ++seed)
        EXPECT_TRUE(Crowd(seed).Scan(true) == Crowd(seed).Scan(false)) << "seed " << seed;
}

// A shot's box asks the grid for the enemies near it, past the slot it passed, in slot order.
TEST(ShotGrid, NamesOnlyTheEnemiesNearTheBox) {
    std::vector<TEnemy> enemies(TEnemyPool::kSize);
    for (int slot : {3, 7, 300, 9}) {
        enemies[slot].alive = true;
        enemies[slot].x = slot == 9 ? 400 : 100 + slot % 2;
        enemies[slot].y = enemies[slot].halfWidth = enemies[slot].halfHeight = 10;
    }
    TEnemyGrid grid;
    grid.Build(enemies.data(), TEnemyPool::kSize);
    int32_t out[TEnemyGrid::kMaxCandidates];
    ASSERT_EQ(grid.Candidates(95, 105, 5, 15, 3, out), 2);
    EXPECT_EQ(std::vector<int32_t>(out, out + 2), (std::vector<int32_t>{7, 300}));
}

}  // namespace
