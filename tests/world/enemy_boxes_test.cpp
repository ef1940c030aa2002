// The snapshot of enemy boxes must name exactly the first slot that Overlaps would report
// for a player's shot, with its vector scan and its portable scan alike, down to boxes that
// touch, differ by one unit in the last place, or hold infinities and NaNs.
#include "world/enemy_boxes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "world_fixture.h"

namespace {

constexpr int kSlots = TEnemyPool::kSize;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Shot final : TActor {
    void Update() override {}
};

class EnemyBoxes : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->enemies[0].shotResponse = 0;
        project->enemies[1].shotResponse = 1;  // shots pass through
        project->enemies[2].shotResponse = 2;
        Link();
    }

    TEnemy& enemy(int slot) { return world->enemies.enemies[slot]; }

    // The rule as the shots applied it one enemy at a time.
    int Reference(const Shot& shot) {
        for (int i = 0; i < kSlots; ++i) {
            const TEnemy& e = enemy(i);
            if (!e.IsAlive()) continue;
            if (e.definition && e.definition->shotResponse == kShotsPassThrough) continue;
            if (e.Overlaps(shot)) return i;
        }
        return kSlots;
    }

    // Both scans of the snapshot against the reference.
    void ExpectSameFirstHit(const TEnemyBoxes& boxes, const Shot& shot) {
        double right = shot.x + shot.halfWidth, left = shot.x - shot.halfWidth;
        double bottom = shot.y + shot.halfHeight, top = shot.y - shot.halfHeight;
        int expected = Reference(shot);
        ASSERT_EQ(boxes.FirstOverlap(right, left, bottom, top), expected)
            << "shot at " << shot.x << ", " << shot.y;
        ASSERT_EQ(boxes.FirstOverlapPortable(right, left, bottom, top), expected)
            << "shot at " << shot.x << ", " << shot.y;
    }

    static Shot ShotAt(double x, double y, int half) {
        Shot s;
        s.alive = true;
        s.x = x;
        s.y = y;
        s.halfWidth = s.halfHeight = half;
        return s;
    }
};

TEST_F(EnemyBoxes, FirstHitIsTheLowestSlotThatTakesShots) {
    auto boxes = std::make_unique<TEnemyBoxes>();
    PlaceEnemy(511, 0, 100, 100, 10, 5);
    boxes->Capture(world->enemies);
    EXPECT_TRUE(boxes->IsCurrentFor(&world->enemies));
    ExpectSameFirstHit(*boxes, ShotAt(100, 100, 2));
    EXPECT_EQ(boxes->FirstOverlap(102, 98, 102, 98), 511);

    PlaceEnemy(300, 1, 100, 100, 10, 5);  // lets shots pass
    PlaceEnemy(200, 2, 100, 100, 10, 5);  // immune, but takes the shot
    PlaceEnemy(7, 0, 300, 100, 10, 5);    // elsewhere
    boxes->Capture(world->enemies);
    EXPECT_EQ(boxes->FirstOverlap(102, 98, 102, 98), 200);
    ExpectSameFirstHit(*boxes, ShotAt(100, 100, 2));
    ExpectSameFirstHit(*boxes, ShotAt(200, 100, 2));  // between them: none

    PlaceEnemy(0, 0, 100, 100, 10, 5);
    enemy(0).definition = nullptr;  // no definition: takes the shot
    boxes->Capture(world->enemies);
    EXPECT_EQ(boxes->FirstOverlap(102, 98, 102, 98), 0);
    enemy(0).alive = false;
    boxes->Capture(world->enemies);
    EXPECT_EQ(boxes->FirstOverlap(102, 98, 102, 98), 200);

    boxes->Invalidate();
    EXPECT_FALSE(boxes->IsCurrentFor(&world->enemies));
}

TEST_F(EnemyBoxes, TouchingEdgesAndTheLastUnitAgreeWithOverlaps) {
    auto boxes = std::make_unique<TEnemyBoxes>();
    // One enemy per slot on a coarse grid, so that many shots touch a box exactly.
    for (int i = 0; i < kSlots; ++i) PlaceEnemy(i, i % 3, (i % 32) * 13.0, (i / 32) * 29.0, 6, 1);
    boxes->Capture(world->enemies);
    std::mt19937 random(7);
    for (int n = 0; n < 4000; ++n) {
        const TEnemy& e = enemy(random() % kSlots);
        int half = random() % 4;
        double x = e.x, y = e.y;
        double dx = e.halfWidth + half, dy = e.halfHeight + half;
        switch (random() % 5) {
            case 0:
                x += dx;
                break;
            case 1:
                x -= dx;
                break;
            case 2:
                y += dy;
                break;
            case 3:
                y -= dy;
                break;
            default:
                break;
        }
        int nudge = static_cast<int>(random() % 3) - 1;
        if (nudge != 0) {
            x = std::nextafter(x, nudge * kInf);
            y = std::nextafter(y, -nudge * kInf);
        }
        ExpectSameFirstHit(*boxes, ShotAt(x, y, half));
    }
}

TEST_F(EnemyBoxes, HostileNumbersAgreeWithOverlaps) {
    auto boxes = std::make_unique<TEnemyBoxes>();
    std::mt19937 random(11);
    const double specials[] = {kNaN, kInf, -kInf, 0.0, -0.0, 1e308, -1e308, 5e-324};
    auto coordinate = [&](double span) {
        if (random() % 10 == 0) return specials[random() % 8];
        return static_cast<double>(random() % 64) * span / 64.0;
    };
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < kSlots; ++i) {
            TEnemy& e = enemy(i);
            e.alive = random() % 4 != 0;
            e.definition = random() % 8 == 0 ? nullptr : &project->enemies[random() % 3];
            e.x = coordinate(416);
            e.y = coordinate(480);
            e.halfWidth = static_cast<int>(random() % 40) - 8;  // hostile sizes below 0 too
            e.halfHeight = static_cast<int>(random() % 40) - 8;
        }
        boxes->Capture(world->enemies);
        for (int n = 0; n < 200; ++n) {
            Shot s = ShotAt(coordinate(416), coordinate(480), static_cast<int>(random() % 12) - 2);
            s.halfHeight = static_cast<int>(random() % 12) - 2;
            ExpectSameFirstHit(*boxes, s);
        }
    }
}

}  // namespace
