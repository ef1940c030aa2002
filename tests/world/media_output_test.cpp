// What the world sends to the media layer: the sound entries it starts and, in one check of
// the drawing order, the pixels.
#include "media/core.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "render/game_picture.h"
#include "support/png_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"
#include "world_fixture.h"

namespace {

class MediaOutput : public WorldTest {
protected:
    void SetUp() override {
        media::SetHost(media::CreateHeadlessHost());
        ASSERT_EQ(MediaInit(), 0);
        cwd_ = std::make_unique<ScopedCwd>(dir_.path());
    }
    void TearDown() override {
        cwd_.reset();
        MediaEnd();
    }
    int Sound(int n) { return project->sounds[n].handle; }

    TempDir dir_;
    std::unique_ptr<ScopedCwd> cwd_;
};

TEST_F(MediaOutput, ItemsVolleysAndExplosionsStartTheirSounds) {
    dir_.WriteFile("s.wav", wav::Pcm16(std::vector<int16_t>(2205, 0), 1, 44100));
    for (int n = 2; n <= 8; ++n) {
        project->sounds[n].handle = LoadSoundFile("s.wav", 3);
        ASSERT_NE(project->sounds[n].handle, -1);
    }
    media::TakeSoundStarts();
    project->items[0].attribute = 1;
    project->items[1].attribute = 0;
    project->items[2].attribute = 7;
    project->bullets[0].sound = 8;
    Link();
    player().power = 5;
    for (int kind : {0, 1, 2}) {
        world->items.Drop(player().x, player().y, kind);
        world->items.UpdateAll();
    }
    // Power at its cap still plays its sound; an unknown attribute plays none.
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{Sound(5), Sound(6)}));
    player().power = 0;
    Hold(kKeyFire);
    for (int i = 0; i < 4; ++i) player().Update();
    // Each bullet restarts its own sound, then the volley's sound follows.
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{Sound(8), Sound(8), Sound(8), Sound(3)}));
    world->effects.Explode(100, 100);
    EXPECT_EQ(media::TakeSoundStarts(), std::vector<int>{Sound(2)});
    project->enemies[2].shotResponse = 2;  // immune: the blocked sound instead of the hit's
    PlaceEnemy(0, 1, 100, 100, 5, 9).Damage(1);
    PlaceEnemy(1, 2, 100, 100, 5, 9).Damage(1);
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{Sound(7), Sound(8)}));
    Hold(kKeyFire, false);
    media::TheCore().pad = 0x10;  // the pad's bomb button
    player().Update();
    media::TheCore().pad = 0;
    EXPECT_EQ(media::TakeSoundStarts(), std::vector<int>{Sound(4)});
}

TEST_F(MediaOutput, TheBombUnderTheShipAHitEnemyInRedAndLiveEffectsAreDrawn) {
    dir_.WriteFile("bomb.png", EncodeArgbPng(16, 16, std::vector<uint32_t>(16 * 16, 0xFFFF0000u)));
    dir_.WriteFile("ship.png", EncodeArgbPng(4, 4, std::vector<uint32_t>(4 * 4, 0xFF00FF00u)));
    int bomb = LoadImageFile("bomb.png");
    int ship = LoadImageFile("ship.png");
    ASSERT_TRUE(bomb != -1 && ship != -1);
    project->sprites[6].frames.push_back({bomb, 0});
    project->sprites[3].frames.push_back({ship, 0});
    Link();
    player().x = 208;
    player().y = 240;
    player().bomb.Start();
    player().bomb.fade = 255;  // opaque
    ClearScreen();
    DrawPlayer(*project, player());
    // The buffer is read anew each time: drawing completes when the pixels are asked for.
    auto at = [&](int x, int y) {
        return media::BackBuffer()[y * media::ScreenWidth() + x] & 0xFFFFFFu;
    };
    EXPECT_EQ(at(208, 240), 0x00FF00u);
    EXPECT_EQ(at(201, 240), 0xFF0000u);
    EXPECT_EQ(at(208, 234), 0xFF0000u);
    EXPECT_EQ(at(190, 240), 0x000000u);
    // A hit enemy is drawn in red for one drawing, and what follows at full brightness; a live
    // effect is drawn, a dead one not.
    dir_.WriteFile("white.png", EncodeArgbPng(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFFu)));
    const int white = LoadImageFile("white.png");
    project->sprites[9].frames.push_back({white, 0});
    project->sprites[TEffectPool::kEffectSprite].frames.push_back({white, 0});
    project->enemies[1].sprite = 9;
    PlaceEnemy(0, 1, 50, 60, 2, 5).hitFlash = true;
    PlaceEnemy(1, 1, 80, 60, 2, 5).Kill();
    Enemy(1).hitFlash = true;
    for (uint32_t colour : {0xFF0000u, 0xFFFFFFu}) {
        DrawEnemies(*project, world->enemies, player());
        EXPECT_EQ(at(50, 60), colour);
        EXPECT_EQ(at(80, 60), 0u);  // a dead enemy is not drawn
    }
    world->effects.Spawn(100, 100, 1.0, 0);
    world->effects.UpdateAll();  // the delay, then the first step of fading in
    world->effects.UpdateAll();
    DrawEffects(*project, world->effects);
    EXPECT_NE(at(100, 100), 0u);
    ClearScreen();
    world->effects.KillAll();
    DrawEffects(*project, world->effects);
    EXPECT_EQ(at(100, 100), 0u);
}

}  // namespace
