// The enemy life cycle: start, damage, death with its successor, children and items, leaving
// the screen, and the pool with its draw order.
#include <algorithm>
#include <set>

#include "enemy_fixture.h"

namespace {

class Enemies : public EnemyWorldTest {
protected:
    void FillItemPool() {
        for (TItem& item : world->items.items) item.alive = true;
    }
    int32_t AliveOfKind(int32_t kind) {
        int32_t n = 0;
        for (const TEnemy& e : Pool().enemies) n += (e.IsAlive() && e.kind == kind) ? 1 : 0;
        return n;
    }
};

TEST_F(Enemies, StartTakesTheDefinitionButMovesAtTheStopSpeed) {
    TSpriteDef& strip = project->sprites[3];
    strip.animate = 1;
    strip.frameWidth = 40;
    strip.frameHeight = 20;
    strip.imageWidth = 160;
    strip.imageHeight = 20;
    strip.blendValue = 100;
    TEnemyDef& d = Def(4);
    d.sprite = 3;
    d.durability = 7;
    d.groundDistance = -12;
    // The slot's last angle (90) sets the direction of the stop-speed velocity.
    Enemy(0).Kill();
    Enemy(0).angle = 90;
    int32_t slot = Spawn(4, 150, 250, 3.5, 30);
    ASSERT_EQ(slot, 0);
    const TEnemy& e = Enemy(0);
    EXPECT_EQ(e.kind, 4);
    EXPECT_EQ(e.definition, &Def(4));
    EXPECT_EQ(e.sprite, &strip);
    EXPECT_DOUBLE_EQ(e.speed, 3.5);
    EXPECT_DOUBLE_EQ(e.angle, 30);
    EXPECT_NEAR(e.vx, 0.0, 1e-12);
    EXPECT_NEAR(e.vy, kStopSpeed, 1e-12);
    EXPECT_EQ(e.spriteHalfWidth, 20);  // a strip uses the size of one frame
    EXPECT_EQ(e.spriteHalfHeight, 10);
    EXPECT_EQ(e.halfWidth, 20);
    EXPECT_EQ(e.halfHeight, 10);
    EXPECT_EQ(e.durability, 7);
    EXPECT_EQ(e.drawKey, -12);
    EXPECT_EQ(strip.blendValue, 255);
    EXPECT_EQ(e.parentSlot, -1);
    EXPECT_FALSE(e.listFinished);
}

TEST_F(Enemies, HitBoxIsManualOnlyWhenBothSidesAreSet) {
    Def(1).hitWidth = 5;
    Def(1).hitHeight = 7;
    Def(2).hitWidth = 5;  // the height stays automatic, so both are
    int32_t a = Spawn(1);
    int32_t b = Spawn(2);
    EXPECT_EQ(Enemy(a).halfWidth, 5);
    EXPECT_EQ(Enemy(a).halfHeight, 7);
    EXPECT_EQ(Enemy(b).halfWidth, kSpriteSize / 2);
    EXPECT_EQ(Enemy(b).halfHeight, kSpriteSize / 2);
}

TEST_F(Enemies, SpriteNumberOutsideTheTableGivesAnEmptySprite) {
    for (int32_t bad : {kSpriteCount, -2, 1 << 30}) {
        Def(1).sprite = bad;
        Def(1).actions = {Cmd(op::kSetSpeed, 10), Cmd(op::kMoveOn, 3)};
        int32_t slot = Spawn(1, 200, 200);
        ASSERT_GE(slot, 0);
        const TEnemy& e = Enemy(slot);
        ASSERT_NE(e.sprite, nullptr);
        EXPECT_EQ(e.spriteHalfWidth, 0);
        EXPECT_EQ(e.halfHeight, 0);
        EXPECT_EQ(e.frameCount, 0);
        EXPECT_TRUE(e.sprite->frames.empty());
        for (int f = 0; f < 6; ++f) Pool().UpdateAll();
        EXPECT_TRUE(e.IsAlive());
        Enemy(slot).Kill();
    }
}

TEST_F(Enemies, AnimationShowsEachPictureFramesPerStepPlusOneFrames) {
    TSpriteDef& strip = project->sprites[3];
    strip.animate = 1;
    strip.frameCount = 3;
    strip.framesPerStep = 1;
    Def(1).sprite = 3;
    int32_t slot = Spawn(1);
    std::vector<int32_t> frames;
    for (int f = 0; f < 7; ++f) {
        Pool().UpdateAll();
        frames.push_back(Enemy(slot).frame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 1, 1, 2, 2, 0, 0}));
}

TEST_F(Enemies, DurabilityZeroDiesAtTheFirstHitAndTwoAtTheThird) {
    Def(1).durability = 0;
    Def(2).durability = 2;
    Def(1).successor = Def(2).successor = 9;  // shows that the hit killed with rewards
    int32_t weak = Spawn(1);
    Enemy(weak).Damage(1);
    EXPECT_FALSE(Enemy(weak).IsAlive() && Enemy(weak).kind == 1);
    EXPECT_EQ(AliveOfKind(9), 1);

    int32_t tough = Spawn(2);
    for (int hit = 1; hit <= 2; ++hit) {
        Enemy(tough).Damage(1);
        EXPECT_TRUE(Enemy(tough).IsAlive());
        EXPECT_TRUE(Enemy(tough).hitFlash);
        EXPECT_EQ(Enemy(tough).durability, 2 - hit);
    }
    Enemy(tough).Damage(1);
    EXPECT_EQ(AliveOfKind(2), 0);
    EXPECT_EQ(AliveOfKind(9), 2);
}

TEST_F(Enemies, ShotResponseTwoNeverLosesDurability) {
    Def(1).shotResponse = 2;
    Def(1).durability = 0;
    int32_t slot = Spawn(1);
    for (int i = 0; i < 10; ++i) Enemy(slot).Damage(1);
    Enemy(slot).Damage(50);  // a bomb
    EXPECT_TRUE(Enemy(slot).IsAlive());
    EXPECT_EQ(Enemy(slot).durability, 0);
    EXPECT_FALSE(Enemy(slot).hitFlash);
}

TEST_F(Enemies, ShotResponseOneVanishesUnderABombOnlyWhenItsBodyHurts) {
    Def(1).shotResponse = 1;
    Def(1).successor = 9;
    Def(2).shotResponse = 1;
    Def(2).contactHurts = 0;
    int32_t harmful = Spawn(1, 200, 200, 0, 0, true);
    int32_t harmless = Spawn(2);
    Enemy(harmful).Damage(5);
    Enemy(harmless).Damage(5);
    EXPECT_FALSE(Enemy(harmful).IsAlive());
    EXPECT_FALSE(Enemy(harmful).watched);
    EXPECT_EQ(AliveOfKind(9), 0);  // no rewards
    EXPECT_TRUE(Enemy(harmless).IsAlive());
    EXPECT_EQ(Enemy(harmless).durability, 1);
}

TEST_F(Enemies, UnknownShotResponseAndDeadEnemiesIgnoreDamage) {
    Def(1).shotResponse = 3;
    Def(1).durability = 0;
    int32_t slot = Spawn(1);
    Enemy(slot).Damage(1);
    EXPECT_TRUE(Enemy(slot).IsAlive());
    Def(1).shotResponse = 0;
    Enemy(slot).Kill();
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Damage(1); }), 0u);
    EXPECT_EQ(Enemy(slot).durability, 0);
}

TEST_F(Enemies, LeavingThePlayFieldByFiveHalfSizesIsSilent) {
    Def(1).successor = 9;
    struct {
        double x, y, angle;
    } const edges[] = {{-80, 200, 180}, {496, 200, 0}, {200, -80, 270}, {200, 560, 90}};
    for (const auto& edge : edges) {
        // Standing still at the stop speed: just on the margin it stays, a hair beyond it goes.
        int32_t inside = Spawn(1, edge.x, edge.y, 0, edge.angle + 180, true);
        Pool().UpdateAll();
        EXPECT_TRUE(Enemy(inside).IsAlive()) << edge.x << "," << edge.y;
        Enemy(inside).Kill();
        int32_t leaving = Spawn(1, edge.x, edge.y, 0, edge.angle, true);
        Pool().UpdateAll();
        EXPECT_FALSE(Enemy(leaving).IsAlive()) << edge.x << "," << edge.y;
        EXPECT_FALSE(Enemy(leaving).watched);
        EXPECT_EQ(AliveOfKind(9), 0);
    }
}

TEST_F(Enemies, DeathLeavesItsSuccessorWhereItDied) {
    Def(1).successor = 2;
    Def(1).actions = {Cmd(op::kSetSpeed, 20), Cmd(op::kFaceDown), Cmd(op::kMoveOn, 100)};
    Spawn(5);
    int32_t slot = Spawn(1, 120, 80, 0, 0, true);
    Scene().watchedSlot = slot;
    for (int f = 0; f < 10; ++f) Pool().UpdateAll();
    double x = Enemy(slot).x, y = Enemy(slot).y;
    Enemy(0).Kill();  // the successor takes this earlier slot, apart from the dying one
    Enemy(slot).Die();
    int32_t next = Scene().watchedSlot;
    ASSERT_EQ(next, 0);
    const TEnemy& s = Enemy(next);
    EXPECT_EQ(s.kind, 2);
    EXPECT_DOUBLE_EQ(s.x, x);
    EXPECT_DOUBLE_EQ(s.y, y);
    EXPECT_DOUBLE_EQ(s.speed, 0.00001);
    EXPECT_DOUBLE_EQ(s.angle, 90);
    EXPECT_TRUE(s.watched);
    EXPECT_EQ(s.parentSlot, -1);
    EXPECT_FALSE(Enemy(slot).watched);
}

TEST_F(Enemies, OnlyAWatchedEnemyHandsTheScenesWatchToItsSuccessor) {
    Def(1).successor = 2;
    int32_t boss = Spawn(3, 200, 200, 0, 0, true);
    Scene().watchedSlot = boss;
    int32_t other = Spawn(1);
    Enemy(other).Die();
    EXPECT_EQ(AliveOfKind(2), 1);
    EXPECT_EQ(Scene().watchedSlot, boss);
}

TEST_F(Enemies, SuccessorOutsideTheTableStartsNothingAndTheWatchEnds) {
    Def(1).successor = 256;
    int32_t slot = Spawn(1, 200, 200, 0, 0, true);
    Scene().watchedSlot = slot;
    Enemy(slot).Die();
    EXPECT_EQ(AliveCount(), 0);
    EXPECT_EQ(Scene().watchedSlot, -1);
}

TEST_F(Enemies, SuccessorInTheDyingSlotKeepsItsWatchAndItemsComeFromTheDead) {
    Def(1).successor = 2;
    Def(1).explosion = 0;
    Def(1).dropCount = 5;
    Def(1).dropKinds = {3, 4, 5};
    FillItemPool();  // items starting would draw numbers of their own
    int32_t slot = Spawn(1, 200, 200, 0, 0, true);
    ASSERT_EQ(slot, 0);
    Scene().watchedSlot = slot;
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Die(); }), 5u);
    EXPECT_EQ(Scene().watchedSlot, 0);
    EXPECT_EQ(Enemy(0).kind, 2);
    EXPECT_TRUE(Enemy(0).IsAlive());
    EXPECT_TRUE(Enemy(0).watched);
}

TEST_F(Enemies, ItemKindsOutsideTheItemTableDropNothingButStillDraw) {
    Def(1).explosion = 0;
    Def(1).dropCount = 3;
    Def(1).dropKinds = {-1, 256};
    int32_t slot = Spawn(1);
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Die(); }), 3u);
    for (const TItem& item : world->items.items) EXPECT_FALSE(item.IsAlive());
    Def(1).dropKinds.clear();
    slot = Spawn(1);
    EXPECT_EQ(DrawsDuring([&] { Enemy(slot).Die(); }), 0u);
}

TEST_F(Enemies, FiveDropsFromThreeKindsAllAtTheDeathPosition) {
    Def(1).explosion = 0;
    Def(1).dropCount = 5;
    Def(1).dropKinds = {3, 4, 5};
    int32_t slot = Spawn(1, 123, 234);
    RandMirror mirror(kSeed);
    Enemy(slot).Die();
    std::vector<const TItem*> dropped;
    for (const TItem& item : world->items.items) {
        if (item.IsAlive()) dropped.push_back(&item);
    }
    ASSERT_EQ(dropped.size(), 5u);
    for (const TItem* item : dropped) {
        int expectedKind = Def(1).dropKinds[mirror.Next() % 3];
        mirror.Next();  // the item's own speed and angle
        mirror.Next();
        EXPECT_EQ(item->kind, expectedKind);
        EXPECT_DOUBLE_EQ(item->x, 123);
        EXPECT_DOUBLE_EQ(item->y, 234);
    }
}

TEST_F(Enemies, ChildrenAndGrandchildrenDieWithTheirParent) {
    Def(3).successor = 9;  // a grandchild's reward shows that it died, not vanished
    int32_t parent = Spawn(1);
    int32_t stranger = Spawn(1);
    int32_t child = Spawn(2, 200, 200, 0, 0, false, parent);
    int32_t grandchild = Spawn(3, 200, 200, 0, 0, false, child);
    int32_t sibling = Spawn(2, 200, 200, 0, 0, false, parent);
    int32_t strangersChild = Spawn(2, 200, 200, 0, 0, false, stranger);
    Enemy(parent).Die();
    EXPECT_FALSE(Enemy(child).IsAlive() && Enemy(child).kind == 2);
    EXPECT_FALSE(Enemy(sibling).IsAlive() && Enemy(sibling).kind == 2);
    EXPECT_EQ(AliveOfKind(3), 0);
    EXPECT_EQ(AliveOfKind(9), 1);
    EXPECT_TRUE(Enemy(stranger).IsAlive());
    EXPECT_TRUE(Enemy(strangersChild).IsAlive());
    (void)grandchild;
}

TEST_F(Enemies, ChildrenFromAnAttackDieWithTheShooter) {
    TActionEntry ring = Cmd(op::kMoveOn, 2);
    ring.extra = op::kRing;
    ring.target = 1;
    ring.which = 2;
    ring.spacing = 120;
    Def(1).actions = {ring};
    int32_t shooter = Spawn(1);
    for (int f = 0; f < 3; ++f) Pool().UpdateAll();
    EXPECT_EQ(AliveOfKind(2), 9);
    Enemy(shooter).Die();
    EXPECT_EQ(AliveCount(), 0);
}

TEST_F(Enemies, DestroyAllEndsEvenWhenEnemiesSucceedThemselves) {
    Def(1).successor = 1;
    for (int i = 0; i < 20; ++i) Spawn(1);
    Pool().DestroyAll();
    // Each successor lands in a slot already passed, so each enemy dies exactly once.
    EXPECT_EQ(AliveOfKind(1), 20);
    Def(1).successor = -1;
    Pool().DestroyAll();
    EXPECT_EQ(AliveCount(), 0);
}

TEST_F(Enemies, DieOnAFreeSlotGivesNothing) {
    Def(1).successor = 2;
    int32_t slot = Spawn(1);
    Spawn(5);
    Enemy(slot).Die();
    Enemy(slot).Kill();  // the successor took the slot; free it to call Die on a dead slot
    Enemy(slot).Die();
    EXPECT_EQ(AliveOfKind(2), 0);
    EXPECT_EQ(AliveCount(), 1);
}

TEST_F(Enemies, SpawnTakesTheFirstFreeSlotAndRefusesUnknownKindsAndAFullPool) {
    EXPECT_EQ(Spawn(-1), -1);
    EXPECT_EQ(Spawn(kEnemyCount), -1);
    EXPECT_EQ(AliveCount(), 0);
    for (int i = 0; i < TEnemyPool::kSize; ++i) ASSERT_EQ(Spawn(1), i);
    EXPECT_EQ(Spawn(1), -1);
    Enemy(100).Kill();
    Enemy(7).Kill();
    EXPECT_EQ(Spawn(2), 7);
    EXPECT_EQ(Spawn(2), 100);
}

TEST_F(Enemies, DrawOrderHoldsEverySlotOnceSortedByKey) {
    for (int i = 0; i < TEnemyPool::kSize; ++i) {
        EXPECT_EQ(Pool().drawOrder[i].slot, i);
        EXPECT_EQ(Pool().drawOrder[i].key, 0);
    }
    const int32_t keys[] = {5, -3, 5, 0, 10, -3, 7};
    for (int i = 0; i < 7; ++i) Def(10 + i).groundDistance = keys[i];
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 7; ++i) Spawn(10 + (i + round) % 7);
        Enemy(1 + round).Kill();
        Enemy(4).Kill();
    }
    std::set<int32_t> slots;
    for (int i = 0; i < TEnemyPool::kSize; ++i) {
        const TDrawOrderEntry& p = Pool().drawOrder[i];
        slots.insert(p.slot);
        EXPECT_EQ(p.key, Enemy(p.slot).drawKey);
        if (i > 0) {
            EXPECT_LE(Pool().drawOrder[i - 1].key, p.key);
        }
    }
    EXPECT_EQ(slots.size(), static_cast<size_t>(TEnemyPool::kSize));
    EXPECT_EQ(Pool().drawOrder[0].key, -3);
    EXPECT_EQ(Pool().drawOrder[TEnemyPool::kSize - 1].key, 10);
}

TEST_F(Enemies, LoopRecordsKeepTheirCapacityBetweenStarts) {
    Def(1).actions = {Cmd(op::kLabel, 1), Cmd(op::kReturn, 1, 1), Cmd(op::kReturn, 1, 1)};
    int32_t slot = Spawn(1);
    const TLoopRecord* storage = Enemy(slot).loopRecords.data();
    Enemy(slot).Kill();
    Spawn(1);
    EXPECT_EQ(Enemy(slot).loopRecords.data(), storage);
    EXPECT_EQ(Enemy(slot).loopRecords.size(), 2u);
}

}  // namespace
