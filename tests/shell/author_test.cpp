// Test play and author mode, driven through the headless input script: the start options,
// the author keys F1-F6, reloading when a project file changes, and refusing a broken one.
#include "shell/author.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "media/host.h"
#include "media/input_script.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/project.h"
#include "render/author_overlay.h"
#include "shell/options.h"
#include "shell/state_dump.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

namespace {

std::string Tone() {
    std::vector<int16_t> samples(44100);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(6000 * std::sin(2 * M_PI * 330.0 * i / 44100));
    std::vector<uint8_t> bytes = wav::Pcm16(samples, 1, 44100);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<unsigned char> Square(int size, uint32_t argb) {
    return EncodeArgbPng(size, size, std::vector<uint32_t>(size_t(size) * size, argb));
}

// A stage: background 12, scroll 1.5, music 4, enemy 1, a wait, background 13, enemy 2,
// a long wait, every sound stopped, the end.
struct StageProject {
    TempDir dir;
    EnemyFile enemy;
    StageProject() {
        ProjectWriter w(dir.path());
        w.KindFolders().Global();
        PlayerFile player;
        player.initialLife = 3;
        w.Player(player);
        w.File("Frame.png", Square(30, 0xFF808080u));
        SoundFile music;
        music.fileName = "m.wav";
        music.loop = 1;
        w.Sound(4, music).File("Sound/m.wav", Tone());
        SpriteFile sprite;
        for (int n : {8, 10, 12, 13}) w.Sprite(n, sprite);
        w.File("Sprite/Sprite10.png", Square(16, 0xFF20C020u));
        w.File("Sprite/Sprite12.png", Square(64, 0xFF000080u));
        w.File("Sprite/Sprite13.png", Square(64, 0xFF800000u));
        enemy.sprite = 10;
        w.Enemy(1, enemy).Enemy(2, enemy);
        SceneFile scene;
        scene.commands = {{1, 12},
                          {2, 15},
                          {4, 4},
                          {3, 1, 2, 100, 0, 90, 0},
                          {0, 30},
                          {1, 13},
                          {3, 2, 2, 200, 0, 90, 0},
                          {0, 1000},
                          {5},
                          {8}};
        w.Scene(scene);
    }
};

using Json = nlohmann::json;

Json Dump(TGame& game) {
    return Json::parse(DumpState(game));
}

// The world without the frame counters and author mode's own keys.
Json World(TGame& game) {
    Json j = Dump(game);
    for (const char* key : {"frame", "author", "fps"}) j.erase(key);
    return j;
}

std::vector<uint32_t> Picture() {
    const uint32_t* p = media::BackBuffer();
    return std::vector<uint32_t>(p, p + 640 * 480);
}

class Author : public testing::Test {
protected:
    StageProject project;
    std::unique_ptr<GameRunner> run;

    TGame& Start(TTestPlay testPlay, const std::string& input = "") {
        run.reset();
        PlayerShotTimer() = 0;  // one counter for the whole process
        run = std::make_unique<GameRunner>(project.dir.path());
        run->testPlay = testPlay;
        if (!input.empty()) run->SetInput(input);
        EXPECT_TRUE(run->Start());
        return run->game();
    }
    TTestPlay AuthorPlay() {
        TTestPlay t;
        t.play = true;
        t.author = true;
        t.invincible = true;
        return t;
    }
};

TEST(AuthorOptions, InputScriptNamesTheFunctionKeys) {
    struct Case {
        const char* name;
        int code;  // -1: not a name
    } cases[] = {{"F1", 0x3B},  {"f6", 0x40}, {"F10", 0x44}, {"F11", 0x57},
                 {"F12", 0x58}, {"F13", -1},  {"F0", -1},    {"F01", -1}};
    for (const Case& c : cases) {
        int code = 0, pad = 0;
        EXPECT_EQ(media::LookUpInputName(c.name, &code, &pad), c.code != -1) << c.name;
        EXPECT_EQ(code, c.code) << c.name;
    }
}

TEST(AuthorOptions, ParseAndRangeChecks) {
    struct Case {
        std::vector<std::string> args;
        int code;  // -1: accepted
    } cases[] = {
        {{"--author", "--play", "--scene-entry", "6", "--invincible", "--lives", "7", "--power",
          "2"},
         -1},
        {{"--power", "6"}, 2},
        {{"--lives", "100"}, 2},
        {{"--scene-entry", "-1"}, 2},
        {{"--lives", "x"}, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"orvan"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        TRunOptions o;
        EXPECT_EQ(ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &o), c.code)
            << c.args[0];
        if (c.code == -1) {
            EXPECT_TRUE(o.author && o.play && o.invincible);
            EXPECT_EQ(o.sceneEntry, 6);
            EXPECT_EQ(o.lives, 7);
            EXPECT_EQ(o.power, 2);
        }
    }
    TRunOptions plain;
    char name[] = "orvan";
    char* argv[] = {name};
    ASSERT_EQ(ParseCommandLine(1, argv, &plain), -1);
    EXPECT_FALSE(plain.author || plain.play || plain.invincible);
    EXPECT_EQ(plain.sceneEntry + plain.lives + plain.power, -3);
}

TEST_F(Author, PlayStartsAGameAtTheSceneEntryWithTheStartingValues) {
    TTestPlay t;
    t.play = true;
    t.sceneEntry = 6;
    t.lives = 7;
    t.power = 2;
    TGame& game = Start(t);
    EXPECT_EQ(run->Front(), kGameStart);
    ASSERT_TRUE(run->RunTo(1));
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameFadeIn, kGamePlay}));
    EXPECT_EQ(game.app.fade, 0);
    // The entries before 6 were only read: background 13 at 1.5, music 4, no enemy.
    EXPECT_EQ(game.world.scene.entryIndex, 6);
    EXPECT_EQ(game.world.background.sprite, 13);
    EXPECT_DOUBLE_EQ(game.world.background.speed, 1.5);
    EXPECT_EQ(IsSoundPlaying(game.project->sounds[4].handle), 1);
    EXPECT_EQ(game.world.player.lives, 7);
    EXPECT_EQ(game.world.player.power, 2);
    EXPECT_TRUE(Dump(game)["enemies"].empty());
    // The entry runs once play begins: enemy 2 appears at x 200.
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    ASSERT_TRUE(run->RunTo(game.frame + 1));
    Json enemies = Dump(game)["enemies"];
    ASSERT_EQ(enemies.size(), 1u);
    EXPECT_EQ(enemies[0]["kind"], 2);
    EXPECT_EQ(enemies[0]["x"], 200.0);
    EXPECT_FALSE(Dump(game).contains("author"));
}

TEST_F(Author, PlayStartsWhereTheProjectOrTheEntrySays) {
    struct Case {
        int32_t entry;
        int32_t background;  // what the entries before it set up
        bool music;
    } cases[] = {{-1, 8, false}, {9, 13, false}, {3, 12, true}};
    for (const Case& c : cases) {
        TTestPlay t;
        t.play = true;
        t.sceneEntry = c.entry;
        TGame& game = Start(t);
        ASSERT_TRUE(run->RunTo(1));
        EXPECT_EQ(game.world.scene.entryIndex, std::max(c.entry, 0));
        EXPECT_EQ(game.world.background.sprite, c.background) << c.entry;
        EXPECT_EQ(IsSoundPlaying(game.project->sounds[4].handle), c.music ? 1 : 0) << c.entry;
        EXPECT_EQ(game.world.player.lives, 3);
        EXPECT_EQ(game.world.player.power, 0);
    }
}

TEST_F(Author, InvincibleShipTakesNoHits) {
    for (bool invincible : {false, true}) {
        TTestPlay t;
        t.play = true;
        t.invincible = invincible;
        TGame& game = Start(t);
        ASSERT_TRUE(run->RunUntilState(kGamePlay));
        game.world.player.PlayerHit();
        EXPECT_EQ(game.world.player.IsAlive(), invincible);
        EXPECT_EQ(game.world.player.lives, invincible ? 3 : 2);
    }
}

// Without --author the F-keys do nothing at all: every frame's world and picture are those
// of the same run without them.
TEST_F(Author, FunctionKeysAreInertInAPlainRun) {
    const std::string base = "1-400 X\n";
    const std::string keys = base + "40 F1\n50 F2\n60 F2\n70 F3\n80 F4\n90 F5\n100 F6\n" +
                             "150 F1\n160 F2\n170 F2\n180 F3\n190 F4\n200 F5\n210 F6\n";
    std::vector<std::pair<Json, std::vector<uint32_t>>> frames;
    for (const std::string& input : {base, keys}) {
        Start(TTestPlay{}, input);
        for (uint32_t f = 1; f <= 220; ++f) {
            ASSERT_TRUE(run->Frame());
            if (input == base) {
                frames.emplace_back(Dump(run->game()), Picture());
            } else {
                ASSERT_EQ(Dump(run->game()), frames[f - 1].first) << "frame " << f;
                ASSERT_EQ(Picture(), frames[f - 1].second) << "frame " << f;
            }
        }
    }
    EXPECT_EQ(frames.back().first["states"][0], kGamePlay);
}

TEST_F(Author, KeysPauseStepSlowFastInvincibleOverlayReload) {
    TGame& game =
        Start(AuthorPlay(), "60 F2\n70 F2\n80 F3\n100 F3\n120 F4\n130 F6\n140 F1\n150 F5\n");
    TAuthorMode& a = *game.author;
    struct Step {
        uint32_t frame;
        uint32_t gameFrames;
        bool paused;
        int slow;
        bool fast;
    } steps[] = {
        {59, 59, false, 0, false},   // every pass runs a game frame
        {69, 59, true, 0, false},    // F2 at 60 paused
        {79, 60, true, 0, false},    // F2 at 70 stepped one frame
        {99, 70, false, 1, false},   // F3 at 80: one game frame every 2nd pass
        {119, 75, false, 2, false},  // F3 at 100: every 4th
        {129, 85, false, 0, true},   // F4 at 120: every pass, unpaced
    };
    std::vector<uint32_t> held;
    for (const Step& s : steps) {
        ASSERT_TRUE(run->RunTo(s.frame));
        EXPECT_EQ(a.gameFrames, s.gameFrames) << s.frame;
        EXPECT_EQ(a.paused, s.paused) << s.frame;
        EXPECT_EQ(a.slowMotion, s.slow) << s.frame;
        EXPECT_EQ(a.fastForward, s.fast) << s.frame;
        // Fast forward mutes what the host hears while the music plays on.
        std::vector<int16_t> heard(512);
        media::PullAudio(heard.data(), 256);
        EXPECT_EQ(heard == std::vector<int16_t>(512, 0), s.fast) << s.frame;
        // The step shows a new picture.
        if (s.frame == 69) held = Picture();
        if (s.frame == 79) {
            EXPECT_NE(Picture(), held);
        }
    }
    EXPECT_EQ(IsSoundPlaying(game.project->sounds[4].handle), 1);
    EXPECT_TRUE(game.world.player.noHits);  // --invincible
    ASSERT_TRUE(run->RunTo(130));
    EXPECT_FALSE(game.world.player.noHits);  // F6 took it away
    ASSERT_TRUE(run->RunTo(140));
    EXPECT_TRUE(a.overlay);
    EXPECT_TRUE(Dump(game)["author"]["overlay"]);
    // F5 reloads and restarts at the entry that was running.
    ASSERT_TRUE(run->RunTo(149));
    const int32_t entry = game.world.scene.entryIndex;
    ASSERT_TRUE(run->RunTo(150));
    EXPECT_EQ(a.reloads, 1u);
    EXPECT_EQ(game.world.scene.entryIndex, entry);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameFadeIn, kGamePlay}));
}

TEST_F(Author, PausedPassesHoldTheWorldAndThePicture) {
    TGame& game = Start(AuthorPlay(), "80 F2\n");
    ASSERT_TRUE(run->RunTo(81));
    const Json world = World(game);
    const std::vector<uint32_t> picture = Picture();
    ASSERT_TRUE(run->RunTo(90));
    EXPECT_EQ(World(game), world);
    EXPECT_EQ(Picture(), picture);
}

// The overlay draws the hit boxes over the picture and leaves the world as it was.
TEST_F(Author, OverlayDrawsHitBoxesAndReadsOnly) {
    std::vector<Json> worlds;
    std::vector<std::vector<uint32_t>> pictures;
    for (const char* input : {"", "3 F1\n"}) {
        TGame& game = Start(AuthorPlay(), input);
        ASSERT_TRUE(run->RunTo(120));
        worlds.push_back(World(game));
        pictures.push_back(Picture());
        const TPlayer& ship = game.world.player;
        const int left = static_cast<int>(ship.x) - ship.halfWidth;
        const uint32_t at = pictures.back()[static_cast<size_t>(ship.y) * 640 + left] & 0xFFFFFF;
        EXPECT_EQ(at == overlay_colour::kShip, input[0] != 0);
    }
    EXPECT_EQ(worlds[0], worlds[1]);
    EXPECT_NE(pictures[0], pictures[1]);
}

// An editor saving a project file while the game runs: the project is loaded again and play
// restarts at the running entry with the new values.
TEST_F(Author, ChangedFileReloadsWithinASecond) {
    TGame& game = Start(AuthorPlay());
    ASSERT_TRUE(game.author->watching);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    ASSERT_TRUE(run->RunTo(game.frame + 40));
    PlayerFile player;
    player.initialLife = 5;
    project.dir.WriteFile("Global/Player.bin", player.Encode().str());
    const uint32_t changed = game.frame;
    int32_t entry = -1;  // the entry running when the reload came
    while (game.author->reloads == 0 && game.frame < changed + 59) {
        entry = game.world.scene.entryIndex;
        ASSERT_TRUE(run->Frame());
    }
    EXPECT_EQ(game.author->reloads, 1u);
    ASSERT_TRUE(run->Frame());  // the new game's start
    EXPECT_EQ(game.world.player.lives, 5);
    EXPECT_EQ(game.world.scene.entryIndex, entry);
    EXPECT_EQ(game.project->player.initialLife, 5);
}

// A reload that meets a broken file keeps the old project running and says why, on the
// screen and in the dump; once the file is whole again the reload goes through.
TEST_F(Author, BrokenFileKeepsTheOldProjectRunning) {
    struct Case {
        std::string path;
        std::string broken;
        std::string good;
    } cases[] = {
        {"Enemy/Enemy1.bin", project.enemy.Encode().Prefix(12), project.enemy.Encode().str()},
        {"Sprite/Sprite10.png", "\x89PNG\r\n\x1a\n garbage", ""},
    };
    {
        std::vector<unsigned char> png = Square(16, 0xFF20C020u);
        cases[1].good.assign(png.begin(), png.end());
    }
    for (const Case& c : cases) {
        TGame& game = Start(AuthorPlay());
        ASSERT_TRUE(run->RunUntilState(kGamePlay));
        const TProject* old = game.project.get();
        project.dir.WriteFile(c.path, c.broken);
        const uint32_t before = game.author->gameFrames;
        ASSERT_TRUE(run->RunTo(game.frame + 30));
        EXPECT_EQ(game.author->reloads, 0u) << c.path;
        EXPECT_EQ(game.project.get(), old);
        EXPECT_EQ(game.author->gameFrames, before + 30);
        EXPECT_EQ(run->Front(), kGamePlay);
        const std::string name = c.path.substr(c.path.find('/') + 1);
        EXPECT_NE(Dump(game)["author"]["reloadError"].get<std::string>().find(name),
                  std::string::npos);
        const uint32_t banner = Picture()[478 * 640 + 410];
        EXPECT_GT(banner >> 16 & 0xFF, (banner >> 8 & 0xFF) + 40) << "no message on screen";

        project.dir.WriteFile(c.path, c.good);
        ASSERT_TRUE(run->RunTo(game.frame + 30));
        EXPECT_EQ(game.author->reloads, 1u) << c.path;
        EXPECT_TRUE(game.author->reloadError.empty());
    }
}

}  // namespace
