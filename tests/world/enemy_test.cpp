// The enemy life cycle: hit box, damage, death with its successor, children and items, leaving
// the screen, and the pool's draw order.
#include <set>

#include "world_fixture.h"

namespace {

using Enemies = EnemyTest;

TEST_F(Enemies, HitBoxIsHalfOneFrameUnlessBothSidesAreSetByHand) {
    project->sprites[3].animate = 1;  // a strip: the size of one frame counts
    project->sprites[3].frameWidth = 40;
    project->sprites[3].frameHeight = 20;
    Def(4).sprite = 3;
    const TEnemy& e = Enemy(Spawn(4));
    EXPECT_EQ(e.halfWidth, 20);
    EXPECT_EQ(e.halfHeight, 10);
    EXPECT_EQ(e.frame, 0);  // the strip starts at its first picture, unflashed
    EXPECT_FALSE(e.hitFlash);
    Def(5).hitWidth = 5;  // a hit box by hand needs both sides
    EXPECT_EQ(Enemy(Spawn(5)).halfWidth, kSpriteSize / 2);
}

TEST_F(Enemies, DurabilityZeroDiesAtTheFirstHitAndTwoAtTheThird) {
    Def(1).durability = 0;
    Def(2).durability = 2;
    Def(1).successor = Def(2).successor = 9;  // shows that the hit killed with rewards
    Enemy(Spawn(1)).Damage(1);
    EXPECT_EQ(std::make_pair(AliveEnemies(1), AliveEnemies(9)), std::make_pair(0, 1));
    TEnemy& tough = Enemy(Spawn(2));
    for (int hit = 1; hit <= 2; ++hit) {
        tough.Damage(1);
        EXPECT_EQ(tough.durability, 2 - hit);
        EXPECT_TRUE(tough.hitFlash);
    }
    tough.Damage(1);
    EXPECT_EQ(std::make_pair(AliveEnemies(2), AliveEnemies(9)), std::make_pair(0, 2));
}

TEST_F(Enemies, HitSparkLandsOnARandomPointOfTheStoredHitBoxEvenANegativeOne) {
    // rand() % (2h + 1) - h on each axis over the half sizes as stored (a negative one puts
    // the spark beside the enemy), then the spark's own -1..1 on each axis.
    for (auto [w, h] : {std::pair{6, 2}, {0, 5}, {-3, -8}}) {
        SCOPED_TRACE(w);
        world->effects.KillAll();
        Def(1).hitWidth = w;
        Def(1).hitHeight = h;
        Def(1).durability = 100;
        TEnemy& e = Enemy(Spawn(1, 150, 250));
        sys::SeedRandom(kSeed);
        e.Damage(1);
        RandMirror m(kSeed);
        int rx = m.PlusMinus(w), ry = m.PlusMinus(h);
        EXPECT_EQ(effect(0).x, 150 + rx + m.Next() % 3 - 1);
        EXPECT_EQ(effect(0).y, 250 + ry + m.Next() % 3 - 1);
        e.Kill();
    }
}

TEST_F(Enemies, ShotResponsesOtherThanZeroNeverLoseDurability) {
    Def(1).shotResponse = 2;  // immune, to shots and bombs alike
    Def(2).shotResponse = 1;  // vanishes under a bomb, without rewards, when its body hurts
    Def(2).successor = 9;
    Def(3).shotResponse = 1;
    Def(3).contactHurts = 0;
    Def(4).shotResponse = 3;  // unknown: ignored
    for (int k = 1; k <= 4; ++k) Def(k).durability = 0;
    TEnemy& immune = Enemy(Spawn(1));
    TEnemy& harmful = Enemy(Spawn(2, 200, 200, 0, 0, true));
    TEnemy& harmless = Enemy(Spawn(3, 100, 300));
    TEnemy& unknown = Enemy(Spawn(4));
    for (TEnemy* e : {&immune, &harmful, &harmless, &unknown}) e->Damage(50);
    EXPECT_EQ(AliveEnemies(), 3);  // the harmful one vanished
    EXPECT_EQ((std::vector<int>{immune.durability, harmless.durability, unknown.durability}),
              std::vector<int>(3, 0));
    EXPECT_FALSE(immune.hitFlash);
    EXPECT_FALSE(harmful.watched);
    // Only a body that hurts hurts the ship on contact.
    player().Activate();
    player().x = harmless.x, player().y = harmless.y;
    Pool().UpdateAll();
    EXPECT_TRUE(player().IsAlive());
    player().x = immune.x, player().y = immune.y;
    Pool().UpdateAll();
    EXPECT_FALSE(player().IsAlive());
}

TEST_F(Enemies, LeavingThePlayFieldByFiveHalfSizesIsSilent) {
    Def(1).successor = 9;
    struct {
        double x, y, angle;
    } const edges[] = {{-80, 200, 180}, {496, 200, 0}, {200, -80, 270}, {200, 560, 90}};
    for (const auto& edge : edges) {
        // Standing still at the stop speed: just on the margin it stays, a hair beyond it goes.
        TEnemy& inside = Enemy(Spawn(1, edge.x, edge.y, 0, edge.angle + 180));
        TEnemy& leaving = Enemy(Spawn(1, edge.x, edge.y, 0, edge.angle));
        Pool().UpdateAll();
        EXPECT_TRUE(inside.IsAlive()) << edge.x << "," << edge.y;
        EXPECT_FALSE(leaving.IsAlive()) << edge.x << "," << edge.y;
        EXPECT_EQ(AliveEnemies(9), 0);
        Pool().KillAll();
    }
}

TEST_F(Enemies, AWatchedEnemyHandsTheWatchToItsSuccessorWhereItDied) {
    Def(1).successor = 2;
    Def(2).successor = 256;  // outside the table: starts nothing and the watch ends
    Spawn(5);
    int32_t slot = Spawn(1, 120, 80, 0, 0, true);
    Scene().watchedSlot = slot;
    Enemy(0).Kill();  // the successor takes this earlier slot, apart from the dying one
    Enemy(slot).Die();
    ASSERT_EQ(Scene().watchedSlot, 0);
    const TEnemy& s = Enemy(0);
    EXPECT_EQ(s.kind, 2);
    EXPECT_EQ(std::make_pair(s.x, s.y), std::make_pair(120.0, 80.0));
    EXPECT_EQ(std::make_pair(s.speed, s.angle), std::make_pair(0.00001, 90.0));
    EXPECT_TRUE(s.watched);
    EXPECT_FALSE(Enemy(slot).watched);
    Enemy(0).Die();
    EXPECT_EQ(AliveEnemies(), 0);
    EXPECT_EQ(Scene().watchedSlot, -1);
}

TEST_F(Enemies, ItemsComeFromTheDyingEnemyEvenWhenItsSuccessorTakesTheSlot) {
    Def(1).successor = 2;
    Def(1).explosion = 0;
    Def(1).dropCount = 5;
    Def(1).dropKinds = {3, 4, 5};
    int32_t slot = Spawn(1, 123, 234);
    RandMirror mirror(kSeed);
    Enemy(slot).Die();
    EXPECT_EQ(Enemy(0).kind, 2);
    ASSERT_EQ(Alive(world->items.items), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(item(i).kind, 3 + mirror.Next() % 3);
        mirror.Next();  // the item's own speed and angle
        mirror.Next();
        EXPECT_EQ(std::make_pair(item(i).x, item(i).y), std::make_pair(123.0, 234.0));
    }
    // Item kinds outside the item table drop nothing but still draw.
    Def(1).dropKinds = {-1, 256};
    slot = Spawn(1);
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Die(); }), 5u);
    EXPECT_EQ(Alive(world->items.items), 5);
}

TEST_F(Enemies, ChildrenAndGrandchildrenDieWithTheirParent) {
    Def(3).successor = 9;  // a grandchild's reward shows that it died, not vanished
    int32_t parent = Spawn(1);
    int32_t stranger = Spawn(1);
    int32_t child = Spawn(2, 200, 200, 0, 0, false, parent);
    Spawn(3, 200, 200, 0, 0, false, child);
    Spawn(2, 200, 200, 0, 0, false, parent);
    Spawn(2, 200, 200, 0, 0, false, stranger);
    Enemy(parent).Die();
    // Left: the stranger (1), its child (2) and the grandchild's reward (9).
    EXPECT_EQ(
        (std::vector<int>{AliveEnemies(1), AliveEnemies(2), AliveEnemies(3), AliveEnemies(9)}),
        (std::vector<int>{1, 1, 0, 1}));
}

TEST_F(Enemies, DrawOrderHoldsEverySlotOnceSortedByKey) {
    const int32_t keys[] = {5, -3, 5, 0, 10, -3, 7};
    for (int i = 0; i < 21; ++i) {
        Def(i).groundDistance = keys[i % 7];
        Spawn(i);
        if (i % 3 == 0) Enemy(i / 2).Kill();  // freed slots are taken by other keys
    }
    std::set<int32_t> slots;
    for (int i = 0; i < TEnemyPool::kSize; ++i) {
        const TDrawOrderEntry& p = Pool().drawOrder[i];
        slots.insert(p.slot);
        EXPECT_EQ(p.key, Enemy(p.slot).drawKey);
        EXPECT_LE(Pool().drawOrder[i > 0 ? i - 1 : 0].key, p.key);
    }
    EXPECT_EQ(slots.size(), static_cast<size_t>(TEnemyPool::kSize));
    // Among equal keys the table's own order counts, as the drawing and the dump show it.
    world = std::make_unique<TWorld>();
    Link();
    const int32_t equalKeys[] = {5, 5, -3, 5, 0, 5};
    for (int i = 0; i < 6; ++i) {
        if (i == 5) Enemy(1).Kill();  // the last one takes this slot
        Def(30 + equalKeys[i]).groundDistance = equalKeys[i];
        Spawn(30 + equalKeys[i]);
    }
    std::vector<int32_t> live;
    for (const TDrawOrderEntry& p : Pool().drawOrder)
        if (Enemy(p.slot).IsAlive()) live.push_back(p.slot);
    EXPECT_EQ(live, (std::vector<int32_t>{2, 4, 3, 1, 0}));
}

}  // namespace
