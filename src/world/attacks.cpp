#include "world/attacks.h"

#include <algorithm>

#include "player/player.h"
#include "project/actor_defs.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/bullet.h"
#include "world/enemy.h"

namespace {

// Within one volley nothing frees a bullet or an enemy slot, so once this many shots have
// been made the pools are full and every further shot of the volley would do nothing (a fan
// draws no random numbers per shot): a hostile count is cut here without any visible change.
constexpr int64_t kMaxFanShots = TBulletPool::kSize;
// The random spread draws numbers for every shot even into a full pool, so a cut changes
// the stream; it is kept far above anything a real project fires. (The draws of shots into a
// full pool are skipped over in one step now, so the cut no longer matters for the time a
// frame takes; it stays so that such a count draws what it always did.)
constexpr int64_t kMaxSpreadShots = 65536;

// Headings of a ring: 0, spacing, 2 x spacing ... below 360, until 'fn' returns false. A
// spacing of 0 or less would never end: it gives the first heading only.
template <typename Fn>
void ForEachRingHeading(int32_t spacing, Fn&& fn) {
    if (spacing <= 0) {
        fn(0.0);
        return;
    }
    for (int32_t a = 0; a < 360; a += spacing)
        if (!fn(static_cast<double>(a))) return;
}

// The spiral and the double ring turn their emission angle and wrap it once above 360; a
// negative angle is left as it is.
void TurnEmitAngle(double& emitAngle, int32_t step) {
    emitAngle += step;
    if (emitAngle > 360) emitAngle -= 360.0;
}

// Shots of an enemy's volley: bullets of the enemy's side or child enemies, from the
// position the enemy had when the volley began.
class TEnemyShots final : public TShotSink {
public:
    TEnemyShots(TEnemy& shooter, const TActionEntry& e)
        : shooter_(shooter), e_(e), x_(shooter.x), y_(shooter.y), slot_(shooter.slot) {}

    void Shot(double speed, double heading, bool aim) override {
        // A bullet or enemy number outside its table creates nothing.
        if (e_.which < 0 || e_.which > 255) {
            spent_ = true;
        } else if (e_.target == 0) {
            spent_ = !shooter_.bulletPool->Fire(e_.which, 0, x_, y_, speed, heading, aim);
        } else if (e_.target == 1) {
            spent_ =
                shooter_.enemyPool->SpawnEnemy(e_.which, x_, y_, speed, heading, false, slot_) < 0;
        } else {
            spent_ = true;
        }
    }
    bool Spent() const override { return spent_; }

private:
    TEnemy& shooter_;
    const TActionEntry& e_;
    double x_;
    double y_;
    int32_t slot_;
    bool spent_ = false;
};

}  // namespace

int32_t RandomPlusMinus(int32_t range) {
    int64_t r = range < 0 ? 0 : range;
    return static_cast<int32_t>(sys::Rand() % (2 * r + 1) - r);
}

int32_t BaseHeading(const TActionEntry& e, const TEnemy& shooter) {
    switch (e.angleMode) {
        case 0:
            return 90;
        case 2:
            return static_cast<int32_t>(shooter.MotionBearing()) - 90;
        case 3:
            return static_cast<int32_t>(shooter.MotionBearing()) + 90;
        case 4:
            return static_cast<int32_t>(shooter.AngleTo(shooter.rememberedX, shooter.rememberedY)) +
                   90;
        case 5:
            return e.angleValue;
        default:
            return 0;
    }
}

double DrawShotSpeed(const TActionEntry& e) {
    return (static_cast<double>(e.shotSpeed) + RandomPlusMinus(e.shotSpeedJitter)) * 0.1;
}

void FanVolley(const TActionEntry& e, const TEnemy& shooter, double playerX, double playerY,
               TShotSink& out) {
    double speed = DrawShotSpeed(e);
    int32_t jitter = RandomPlusMinus(e.angleJitter);
    int64_t n = static_cast<int64_t>(e.count) + RandomPlusMinus(e.countJitter);
    double step = static_cast<double>(e.spacing) + RandomPlusMinus(e.spacingJitter);
    if (n <= 0) return;
    n = std::min(n, kMaxFanShots);
    double half = static_cast<double>(n - 1) * step * 0.5;
    double base = BaseHeading(e, shooter);
    bool aimed = e.angleMode == 1;
    // Child enemies cannot be aimed after they start: an aimed fan of enemies is turned
    // toward the player here, without truncating the bearing.
    if (aimed && e.target == 1) base = shooter.AngleTo(playerX, playerY) + 90.0;
    for (int64_t i = 0; i < n && !out.Spent(); ++i) {
        double offset = static_cast<double>(i) * step - half + base;
        out.Shot(speed, jitter + offset, aimed && e.target == 0);
    }
}

void RandomSpreadVolley(const TActionEntry& e, const TEnemy& shooter, double playerX,
                        double playerY, TShotSink& out) {
    if (e.count <= 0 || (e.target != 0 && e.target != 1)) return;
    int64_t n = std::min<int64_t>(e.count, kMaxSpreadShots);
    bool aimed = e.angleMode == 1;
    int32_t base = aimed ? 0 : BaseHeading(e, shooter);
    // Each shot draws two numbers; once the volley is spent the rest are only skipped over.
    if (e.target == 0) {
        for (int64_t i = 0; i < n; ++i) {
            if (out.Spent()) {
                sys::SkipRandom(2 * static_cast<uint64_t>(n - i));
                return;
            }
            double speed = DrawShotSpeed(e);
            int32_t jitter = RandomPlusMinus(e.angleJitter);
            out.Shot(speed, static_cast<double>(base) + jitter, aimed);
        }
        return;
    }
    if (aimed) base = static_cast<int32_t>(shooter.AngleTo(playerX, playerY)) + 90;
    for (int64_t i = 0; i < n; ++i) {
        if (out.Spent()) {
            sys::SkipRandom(2 * static_cast<uint64_t>(n - i));
            return;
        }
        int32_t jitter = RandomPlusMinus(e.angleJitter);
        double speed = DrawShotSpeed(e);
        out.Shot(speed, static_cast<double>(base) + jitter, false);
    }
}

void RingVolley(const TActionEntry& e, TShotSink& out) {
    int32_t jitter = RandomPlusMinus(e.angleJitter);
    double speed = DrawShotSpeed(e);
    ForEachRingHeading(e.spacing, [&](double a) {
        out.Shot(speed, a + jitter, false);
        return !out.Spent();
    });
}

void SpiralVolley(const TActionEntry& e, double& emitAngle, TShotSink& out) {
    double speed = DrawShotSpeed(e);
    TurnEmitAngle(emitAngle, e.spacing);
    out.Shot(speed, emitAngle, false);
}

void DoubleRingVolley(const TActionEntry& e, double& emitAngle, TShotSink& out) {
    double speed = DrawShotSpeed(e);
    TurnEmitAngle(emitAngle, e.angleJitter);
    double turn = emitAngle;
    ForEachRingHeading(e.spacing, [&](double a) {
        out.Shot(speed, a + turn, false);
        if (!out.Spent()) out.Shot(speed, a - turn, false);
        return !out.Spent();
    });
}

bool TEnemy::VolleyDue(const TActionEntry& e) {
    if (attackFrames < INT32_MAX) ++attackFrames;
    if (attackFrames <= e.interval) return false;
    attackFrames = 0;
    return true;
}

void TEnemy::FireFan(const TActionEntry& e) {
    TEnemyShots shots(*this, e);
    FanVolley(e, *this, player->x, player->y, shots);
}

void TEnemy::FireRandomSpread(const TActionEntry& e) {
    TEnemyShots shots(*this, e);
    RandomSpreadVolley(e, *this, player->x, player->y, shots);
}

void TEnemy::FireRing(const TActionEntry& e) {
    TEnemyShots shots(*this, e);
    RingVolley(e, shots);
}

void TEnemy::FireSpiral(const TActionEntry& e) {
    TEnemyShots shots(*this, e);
    SpiralVolley(e, emitAngle, shots);
}

void TEnemy::FireDoubleRing(const TActionEntry& e) {
    TEnemyShots shots(*this, e);
    DoubleRingVolley(e, emitAngle, shots);
}
