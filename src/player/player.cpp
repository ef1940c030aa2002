#include "player/player.h"

#include "base/animation.h"
#include "base/app.h"
#include "media/media.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "sys/sys.h"
#include "world/bullet.h"
#include "world/effect.h"
#include "world/sprite_lookup.h"

namespace {

constexpr int32_t kLeftSprite = 2;
constexpr int32_t kStraightSprite = 3;
constexpr int32_t kRightSprite = 4;
constexpr int32_t kShotSound = 3;
constexpr int32_t kBombSound = 4;
constexpr int32_t kShotBullet = 0;  // bullet definition of the player's shot
constexpr int32_t kPlayerSide = 1;
constexpr double kShotSpeed = 20.0;
constexpr int32_t kShotPeriod = 4;  // frames between volleys while fire is held
constexpr int32_t kRespawnFrames = 40;
constexpr int32_t kBlinkFrames = 220;
constexpr int32_t kGameOverFrames = 100;

// Scan codes and pad bits.
constexpr int kKeyLeft = 0xCB, kKeyUp = 0xC8, kKeyRight = 0xCD, kKeyDown = 0xD0;
constexpr int kKeyFire = 0x2D, kKeyBomb = 0x2C;
constexpr int kPadDown = 0x01, kPadLeft = 0x02, kPadRight = 0x04, kPadUp = 0x08;
constexpr int kPadBomb = 0x10, kPadFire = 0x40;

struct TShot {
    double dx, dy, heading;
};

// Volleys by power, fired in this order.
constexpr TShot kVolley0[] = {{0, 0, -90}, {-10, 3, -92}, {10, 3, -88}};
constexpr TShot kVolley1[] = {{-5, 0, -90}, {5, 0, -90}, {-10, 3, -92}, {10, 3, -88}};
constexpr TShot kVolley2[] = {
    {0, 0, -90}, {-10, 3, -92}, {10, 3, -88}, {-20, 6, -94}, {20, 6, -86}};
constexpr TShot kVolley3[] = {{-5, 0, -90}, {5, 0, -90},   {-15, 3, -92},
                              {15, 3, -88}, {-25, 6, -94}, {25, 6, -86}};
constexpr TShot kVolley4[] = {{0, 0, -90},  {-10, 3, -92}, {10, 3, -88}, {-20, 6, -94},
                              {20, 6, -86}, {-30, 9, -96}, {30, 9, -84}};
constexpr TShot kVolley5[] = {{-5, 0, -90},  {5, 0, -90},  {-15, 3, -92}, {15, 3, -88},
                              {-25, 6, -94}, {25, 6, -86}, {-35, 9, -96}, {35, 9, -84}};

struct TVolley {
    const TShot* shots;
    int count;
};

template <size_t N>
constexpr TVolley MakeVolley(const TShot (&shots)[N]) {
    return TVolley{shots, static_cast<int>(N)};
}

constexpr TVolley kVolleys[] = {MakeVolley(kVolley0), MakeVolley(kVolley1), MakeVolley(kVolley2),
                                MakeVolley(kVolley3), MakeVolley(kVolley4), MakeVolley(kVolley5)};

// Steering: the first line whose keys are all held decides, so left beats right and up
// beats down; left, right and up together move up-left.
enum { kLeft = 1, kUp = 2, kRight = 4, kDown = 8 };
struct TSteerLine {
    int keys;
    double heading;
    int32_t direction;  // 0 tilted left, 1 straight, 2 tilted right
};
constexpr TSteerLine kSteering[] = {
    {kLeft | kUp, -135.0, 0},  {kUp | kRight, -45.0, 2}, {kRight | kDown, 45.0, 2},
    {kDown | kLeft, 135.0, 0}, {kLeft, 180.0, 0},        {kUp, -90.0, 1},
    {kRight, 0.0, 2},          {kDown, 90.0, 1},
};

void CopyAnimation(const TProject& project, int32_t sprite, TAnimationCursor& cursor) {
    const TSpriteDef& facts = SpriteOrEmpty(project, sprite);
    cursor.frameCount = facts.frameCount;
    cursor.framesPerStep = facts.framesPerStep;
    cursor.animate = facts.animate;
    cursor.frame = 0;
    cursor.frameCounter = 0;
}

void Step(TAnimationCursor& c) {
    StepAnimation(c.frame, c.frameCounter, c.frameCount, c.framesPerStep, c.animate);
}

}  // namespace

int32_t& PlayerShotTimer() {
    // One counter for the whole process: it keeps counting across frames and games.
    static int32_t timer = 0;
    return timer;
}

void TPlayer::Setup(TApp* theApp, TProject* theProject, TEffectPool* theEffectPool,
                    TBulletPool* theBulletPool, TEnemyPool* theEnemyPool) {
    app = theApp;
    project = theProject;
    effectPool = theEffectPool;
    bulletPool = theBulletPool;
    enemyPool = theEnemyPool;
    const TPlayerDef& def = project->player;
    halfWidth = def.hitRadius;
    halfHeight = def.hitRadius;
    shipSpeed = def.moveSpeed * 0.1;
    startLives = def.initialLife;
    startBombs = def.initialBombs;
    direction = 1;
    straightHeight = SpriteOrEmpty(*project, kStraightSprite).frameHeight;
    power = 0;
    respawnTimer = kRespawnFrames;
    blinking = false;
    alpha = 255;
    gameOver = false;
    gameOverTimer = 0;
    CopyAnimation(*project, kLeftSprite, left);
    CopyAnimation(*project, kStraightSprite, straight);
    CopyAnimation(*project, kRightSprite, right);
    bomb.Setup(project, bulletPool, enemyPool);
}

void TPlayer::Reset() {
    // The bomb stops but keeps its life count.
    bomb.Kill();
    Activate();
    x = kFieldWidth / 2;
    y = kFieldHeight - straightHeight;
    gameOver = false;
    power = 0;
    Halt();
}

void TPlayer::Update() {
    bomb.Update();
    if (alive) {
        int pad = GetPadInput(1);
        Steer(pad);
        Shoot(pad);
        TriggerBomb(pad);
        Move();
        // The centre stays inside the play field; half the ship may stick out.
        if (x < 0) x = 0;
        if (y < 0) y = 0;
        if (x > kFieldWidth) x = kFieldWidth;
        if (y > kFieldHeight) y = kFieldHeight;
        Step(left);
        Step(straight);
        Step(right);
        alpha = blinking ? sys::Rand() % 256 : 255;
        if (--respawnTimer < 1) blinking = false;
    } else if (lives >= 0) {
        // Waiting to reappear.
        if (--respawnTimer < 1) {
            respawnTimer = kBlinkFrames;
            blinking = true;
            Reset();
        }
    } else if (++gameOverTimer > kGameOverFrames) {
        gameOver = true;
    }
}

void TPlayer::Steer(int pad) {
    int held = 0;
    if (app->KeyHeld(kKeyLeft) || (pad & kPadLeft)) held |= kLeft;
    if (app->KeyHeld(kKeyUp) || (pad & kPadUp)) held |= kUp;
    if (app->KeyHeld(kKeyRight) || (pad & kPadRight)) held |= kRight;
    if (app->KeyHeld(kKeyDown) || (pad & kPadDown)) held |= kDown;
    for (const TSteerLine& line : kSteering) {
        if ((held & line.keys) != line.keys) continue;
        // Diagonals are as fast as straight moves.
        SetSpeed(shipSpeed);
        SetAngle(line.heading);
        ApplyHeading();
        direction = line.direction;
        return;
    }
    Halt();  // the angle is kept
    direction = 1;
}

void TPlayer::Shoot(int pad) {
    if (!app->KeyHeld(kKeyFire) && !(pad & kPadFire)) return;
    // Released, the timer keeps its count, so a new press may fire after 1 to 4 frames.
    int32_t& timer = PlayerShotTimer();
    if (++timer < kShotPeriod) return;
    if (power >= 0 && power < static_cast<int32_t>(sizeof kVolleys / sizeof kVolleys[0])) {
        const TVolley& volley = kVolleys[power];
        for (int i = 0; i < volley.count; ++i) {
            const TShot& s = volley.shots[i];
            bulletPool->Fire(kShotBullet, kPlayerSide, x + s.dx, y + s.dy, kShotSpeed, s.heading,
                             false);
        }
    }
    // Also after an empty volley (a power level without one).
    PlaySoundNumber(*project, kShotSound);
    timer = 0;
}

void TPlayer::TriggerBomb(int pad) {
    if (!app->KeyHeld(kKeyBomb) && !(pad & kPadBomb)) return;
    if (bomb.IsAlive() || bombs <= 0) return;
    PlaySoundNumber(*project, kBombSound);
    bomb.Start();
    bombs -= 1;
}

void TPlayer::PlayerHit() {
    if (project->player.invincible || noHits || blinking || bomb.IsAlive()) return;
    effectPool->Explode(x, y);
    Kill();
    blinking = false;
    respawnTimer = kRespawnFrames;
    lives -= 1;
    gameOverTimer = 0;
}
