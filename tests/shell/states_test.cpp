// The state queue and the menus, walked with scripted input on the headless host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/project.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"
#include "sys/sys.h"

namespace {

// Half a second of a quiet 440 Hz tone.
std::string Tone() {
    std::vector<int16_t> samples(22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / 44100));
    std::vector<uint8_t> bytes = wav::Pcm16(samples, 1, 44100);
    return std::string(bytes.begin(), bytes.end());
}

// A data folder with the menu frame and the two menu sounds.
struct MenuProject {
    TempDir dir;
    MenuProject() {
        ProjectWriter w(dir.path());
        w.KindFolders().Global();
        w.File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
        for (int n : {0, 1, 9, 10}) {
            SoundFile s;
            s.fileName = "s" + std::to_string(n) + ".wav";
            s.loop = (n == 9 || n == 10) ? 1 : 0;
            w.Sound(n, s);
            w.File("Sound/s" + std::to_string(n) + ".wav", Tone());
        }
    }
};

class States : public testing::Test {
protected:
    MenuProject project;
    std::unique_ptr<GameRunner> run;

    void SetUp() override {
        run.reset();
        run = std::make_unique<GameRunner>(project.dir.path());
        ASSERT_TRUE(run->Start());
    }
    TGame& game() { return run->game(); }
    // Holds the named inputs for the next 'count' frames and runs them.
    void Hold(const std::string& names, uint32_t count) {
        uint32_t f = game().frame;
        run->SetInput(std::to_string(f + 1) + "-" + std::to_string(f + count) + " " + names);
        ASSERT_TRUE(run->RunTo(f + count));
        run->SetInput("");
    }
    void Idle(uint32_t count) { ASSERT_TRUE(run->RunTo(game().frame + count)); }
    // The title menu, ready to take input.
    void ReachTitleMenu() {
        ASSERT_TRUE(run->RunUntilState(kTitleMenu));
        Idle(25);
        ASSERT_EQ(game().titleDelay, 25);
    }
    std::string Item(size_t i) { return sys::Cp932ToUtf8(game().menu.items[i].c_str()); }
    void StartGame() {
        ReachTitleMenu();
        Hold("X", 1);
        ASSERT_TRUE(run->RunUntilState(kGamePlay));
    }
    // The game-over menu after a lost game.
    void LoseGame() {
        game().world.player.gameOver = true;
        Idle(1);
        game().world.player.gameOver = false;
        ASSERT_TRUE(run->RunUntilState(kGameOverMenu));
    }
    // Moves down to an item and decides; the pause and game-over menus act a frame later.
    void Decide(uint32_t downFrames, bool deferred = false) {
        if (downFrames) Hold("DOWN", downFrames);
        Hold("X", 1);
        if (deferred) Idle(1);
    }
};
using Queue = std::vector<int32_t>;

}  // namespace

// Start-up asks the media layer for a 640 x 480 screen at 60 Hz, in a window as the settings
// say, drawing to the back buffer unfiltered, with a 13-pixel anti-aliased default font.
TEST_F(States, StartUpSetsTheScreenAndTheDefaultFont) {
    const media::Core& c = media::TheCore();
    EXPECT_EQ((std::vector<int>{c.width, c.height, c.refreshRate, c.windowed, c.logEnabled}),
              (std::vector<int>{640, 480, 60, 0, 1}));
    EXPECT_EQ((std::vector<int>{c.drawTarget, c.filterMode, c.defaultFontSize,
                                c.defaultFontThickness, c.defaultFontCharset, c.defaultFontType}),
              (std::vector<int>{-2, 0, 13, 1, -1, 2}));
    Idle(1);
    EXPECT_EQ(media::DebugText(), "");
    project.dir.WriteFile("Setting.bin", std::string("\x01\x01", 2));  // frame rate, window
    SetUp();
    EXPECT_TRUE(media::TheCore().windowed);
    Idle(1);
    EXPECT_EQ(media::DebugText(), "FPS:0");
}

// Every menu choice that goes on playing, in one walk through the states; the title music
// starts once and keeps playing through the configuration menu, but not through a game.
TEST_F(States, EveryMenuChoiceQueuesItsTransitionsAndTheTitleMusicFollows) {
    EXPECT_EQ(run->Queue(), (Queue{kBoot, kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));
    const int music = game().project->sounds[9].handle;
    ASSERT_NE(music, -1);
    ASSERT_TRUE(run->RunUntilState(kTitleMenuOpen));
    Idle(1);
    EXPECT_EQ(game().frameSoundStarts, std::vector<int>{music});
    ReachTitleMenu();
    Decide(5);
    EXPECT_EQ(run->Queue(), (Queue{kConfigMenuOpen, kConfigMenu, kTitleMenuOpen, kTitleMenu}));
    ASSERT_TRUE(run->RunUntilState(kConfigMenu));
    Idle(25);
    Hold("PADDOWN", 10);  // the pad moves and decides as the keys do
    Hold("PAD3", 1);      // "戻る"
    EXPECT_EQ(run->Queue(), (Queue{kTitleMenuOpen, kTitleMenu}));
    Idle(1);
    EXPECT_EQ(game().titleDelay, 0);               // the 25-frame delay starts again
    EXPECT_TRUE(game().frameSoundStarts.empty());  // still playing: not restarted
    EXPECT_EQ(IsSoundPlaying(music), 1);
    Idle(25);
    Hold("PADUP", 10);
    Decide(0);
    EXPECT_EQ(run->Queue(), (Queue{kTitleFadeOut, kGameStart, kGameFadeIn, kGamePlay}));
    EXPECT_EQ(IsSoundPlaying(music), 0);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    EXPECT_EQ(Item(0), "キャンセル");

    Hold("PAD2", 1);  // the pad's pause button
    EXPECT_EQ(run->Queue(), (Queue{kPause}));
    Hold("X", 1);  // "キャンセル", acted on a frame later
    EXPECT_EQ(run->Front(), kPause);
    EXPECT_EQ(game().menu.decision, 1);  // as the state dump shows it
    Idle(1);
    EXPECT_EQ(run->Queue(), (Queue{kGamePlay}));
    Hold("ESC", 1);
    Hold("ESC X", 2);  // holding escape through the cancel pauses again at once
    EXPECT_EQ(run->Front(), kGamePlay);
    Hold("ESC", 1);
    EXPECT_EQ(run->Front(), kPause);
    Decide(5, true);  // "タイトルへ戻る"
    EXPECT_EQ(run->Queue(), (Queue{kGameFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));
    ASSERT_TRUE(run->RunUntilState(kTitleMenuOpen));
    Idle(1);
    EXPECT_EQ(game().frameSoundStarts, std::vector<int>{music});  // from the beginning

    StartGame();
    game().world.player.gameOver = true;
    Idle(1);
    EXPECT_EQ(run->Queue(), (Queue{kGameFadeOut, kGameOverFadeIn, kGameOverOpen, kGameOverMenu}));
    game().world.player.gameOver = false;
    ASSERT_TRUE(run->RunUntilState(kGameOverMenu));
    EXPECT_EQ(IsSoundPlaying(game().project->sounds[10].handle), 1);  // the game-over music
    EXPECT_EQ(Item(0), "タイトルへ戻る");
    EXPECT_EQ(Item(1), "終了");
    Decide(0, true);
    EXPECT_EQ(run->Queue(), (Queue{kGameOverFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));

    // Game over and the end of the stage in one frame queue both sequences.
    StartGame();
    game().world.player.gameOver = true;
    game().world.scene.stageEnded = true;
    game().project->scene.push_back(TSceneCommand{8, 0, 0, 0, 0, 0, 0});
    Idle(1);
    EXPECT_EQ(run->Queue(), (Queue{kGameOverFadeIn, kGameOverOpen, kGameOverMenu, kGameFadeOut,
                                   kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));
}

TEST_F(States, EveryExitEndsTheLoopAfterItsFadeOut) {
    const struct {
        std::function<void()> reach;
        uint32_t down;
        bool deferred;
        Queue queue;
    } exits[] = {
        {[&] { ReachTitleMenu(); }, 10, false, {kTitleFadeOut, kQuit}},
        {[&] { StartGame(), Hold("ESC", 1); }, 10, true, {kGameFadeOut, kQuit}},
        {[&] { StartGame(), LoseGame(); }, 5, true, {kGameOverFadeOut, kQuit}},
    };
    for (const auto& e : exits) {
        SetUp();  // a fresh run for each exit
        e.reach();
        Decide(e.down, e.deferred);
        EXPECT_EQ(run->Queue(), e.queue);
        for (int music : {9, 10})  // the title's and the game over's stop with the decision
            EXPECT_EQ(IsSoundPlaying(game().project->sounds[music].handle), 0) << music;
        ASSERT_TRUE(run->RunUntilState(kQuit));
        EXPECT_TRUE(run->Frame());  // Quit runs and sets the request
        EXPECT_EQ(game().app.quitRequest, 1);
        EXPECT_FALSE(run->Frame());
    }
    // Shut-down lets go of the enemies and the menu, then of the project.
    game().world.enemies.enemies[511].loopRecords.resize(3);
    game().Shutdown();
    EXPECT_EQ(game().world.enemies.enemies[511].loopRecords.capacity(), 0u);
    EXPECT_EQ(game().menu.ItemCount(), 0u);
    EXPECT_FALSE(game().project);
}

TEST_F(States, TitleMenuWaits25FramesThenMovesEvery5FramesWithoutWrapping) {
    ASSERT_TRUE(run->RunUntilState(kTitleMenu));
    ASSERT_EQ(Item(0), "GAME START ");
    Hold("DOWN", 25);  // ignored while the delay runs
    EXPECT_EQ(game().menu.cursor, 0);
    EXPECT_EQ(game().menu.repeatCounter, 0);
    // A move plays the cursor sound in its frame; a move held at the last item does not.
    const std::vector<int> moved = {game().project->sounds[0].handle}, still = {};
    for (auto [frames, cursor, sound] :
         {std::tuple{4, 0, false}, {1, 1, true}, {5, 2, true}, {20, 2, false}}) {
        Hold("DOWN", frames);
        EXPECT_EQ(game().menu.cursor, cursor);
        EXPECT_EQ(game().frameSoundStarts, sound ? moved : still);
    }
    // The counter is shared and not reset on release: the first move up comes sooner.
    Hold("UP", 5 - game().menu.repeatCounter);
    EXPECT_EQ(game().menu.cursor, 1);
    EXPECT_EQ(game().frameSoundStarts, moved);
    Hold("UP", 4);  // a move starts the count again
    EXPECT_EQ(game().menu.cursor, 1);
    // The cursor bar pulses by 5 a drawing, up to 255 and back down to 130.
    std::vector<int> seen;
    for (int i = 0; i < 70; ++i) Idle(1), seen.push_back(game().menu.highlight);
    EXPECT_EQ(*std::max_element(seen.begin(), seen.end()), 255);
    EXPECT_EQ(*std::min_element(seen.begin(), seen.end()), 130);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_EQ(std::abs(seen[i] - seen[i - 1]), 5) << i;
}

// Held on an item, a decision is taken (and its sound restarted) every frame, but an item
// toggles only once the counter passed 15; the flags are saved on leaving.
TEST_F(States, ConfigurationTogglesOncePer16FramesAndRestartsTheDecisionSound) {
    ReachTitleMenu();
    Decide(5);
    const int decisionSound = game().project->sounds[1].handle;
    ASSERT_NE(decisionSound, -1);
    EXPECT_EQ(game().frameSoundStarts, std::vector<int>{decisionSound});
    ASSERT_TRUE(run->RunUntilState(kConfigMenu));
    EXPECT_EQ(Item(0), "画面モード: フルスクリーン");
    EXPECT_EQ(Item(1), "FPS表示: しない");
    Idle(25);
    for (auto [frames, windowed] : {std::pair{15, 0}, {1, 1}, {15, 1}, {1, 0}, {16, 1}}) {
        Hold("X", frames);
        EXPECT_EQ(game().setting.windowed, windowed);
        EXPECT_EQ(game().frameSoundStarts, std::vector<int>{decisionSound});
    }
    EXPECT_EQ(Item(0), "画面モード: ウィンドウモード");
    Hold("DOWN", 5);  // the counter goes on meanwhile: 11 more frames toggle the frame rate
    Hold("X", 10);
    EXPECT_EQ(game().setting.showFps, 0);
    Hold("X", 1);
    EXPECT_EQ(Item(1), "FPS表示: する");
    Decide(5);
    EXPECT_EQ(project.dir.ReadFile("Setting.bin"), std::string("\x01\x01", 2));
}
