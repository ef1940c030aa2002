// The state queue and the menus, walked with scripted input on the headless host.
#include <gtest/gtest.h>

#include "media/media.h"
#include "project/project.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/tone_wav.h"
#include "sys/sys.h"

namespace {

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
            w.File("Sound/s" + std::to_string(n) + ".wav", MakeToneWav(44100, 0.5));
        }
    }
};

class States : public testing::Test {
protected:
    MenuProject project;
    std::unique_ptr<GameRunner> run;

    void SetUp() override {
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
};

}  // namespace

TEST_F(States, StartUpQueueAndTitleFade) {
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kBoot, kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));
    Idle(1);  // Boot
    EXPECT_EQ(game().app.fade, 0);
    EXPECT_EQ(run->Front(), kTitleFadeIn);
    Idle(51);  // 51 steps of 5 reach full brightness
    EXPECT_EQ(game().app.fade, 255);
    EXPECT_EQ(run->Front(), kTitleFadeIn);
    Idle(1);  // the frame that pops
    EXPECT_EQ(run->Front(), kTitleMenuOpen);
}

TEST_F(States, TitleMenuWaits25FramesThenMovesWithoutWrapping) {
    ASSERT_TRUE(run->RunUntilState(kTitleMenu));
    ASSERT_EQ(Item(0), "GAME START ");
    // Input is ignored while the delay runs.
    Hold("DOWN", 25);
    EXPECT_EQ(game().menu.cursor, 0);
    EXPECT_EQ(game().menu.repeatCounter, 0);
    // Holding down moves once every 5 frames and stops at the last item.
    Hold("DOWN", 4);
    EXPECT_EQ(game().menu.cursor, 0);
    Hold("DOWN", 1);
    EXPECT_EQ(game().menu.cursor, 1);
    Hold("DOWN", 5);
    EXPECT_EQ(game().menu.cursor, 2);
    Hold("DOWN", 20);
    EXPECT_EQ(game().menu.cursor, 2);
    // The counter is shared and not reset on release: the first move up comes sooner.
    int32_t counter = game().menu.repeatCounter;
    Hold("UP", 5 - counter);
    EXPECT_EQ(game().menu.cursor, 1);
}

TEST_F(States, ConfigurationTogglesAtMostOncePer16FramesAndSaves) {
    ReachTitleMenu();
    Hold("DOWN", 5);
    Hold("X", 1);
    EXPECT_EQ(run->Queue(),
              (std::vector<int32_t>{kConfigMenuOpen, kConfigMenu, kTitleMenuOpen, kTitleMenu}));
    ASSERT_TRUE(run->RunUntilState(kConfigMenu));
    EXPECT_EQ(Item(0), "画面モード: フルスクリーン");
    EXPECT_EQ(Item(1), "FPS表示: しない");
    Idle(25);  // the configuration delay
    // Holding the decision key on the window item: the counter must pass 15 first.
    Hold("X", 15);
    EXPECT_EQ(game().setting.windowed, 0);
    Hold("X", 1);
    EXPECT_EQ(game().setting.windowed, 1);
    EXPECT_EQ(Item(0), "画面モード: ウィンドウモード");
    Hold("X", 15);
    EXPECT_EQ(game().setting.windowed, 1);
    Hold("X", 1);
    EXPECT_EQ(game().setting.windowed, 0);
    Hold("X", 16);
    EXPECT_EQ(game().setting.windowed, 1);
    // Down to "戻る" and back to the title; the flags are saved.
    Hold("DOWN", 10);
    ASSERT_EQ(game().menu.cursor, 2);
    Hold("X", 1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kTitleMenuOpen, kTitleMenu}));
    EXPECT_EQ(project.dir.ReadFile("Setting.bin"), std::string("\x00\x01", 2));
    Idle(1);
    EXPECT_EQ(run->Front(), kTitleMenu);
    EXPECT_EQ(game().titleDelay, 0);  // the 25-frame delay starts again
}

TEST_F(States, GameStartPauseAndItsThreeChoices) {
    ReachTitleMenu();
    Hold("X", 1);
    EXPECT_EQ(run->Queue(),
              (std::vector<int32_t>{kTitleFadeOut, kGameStart, kGameFadeIn, kGamePlay}));
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    EXPECT_EQ(sys::Cp932ToUtf8(game().menu.items[0].c_str()), "キャンセル");

    // Escape pauses; a decision is acted on one frame after it is made.
    Hold("ESC", 1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kPause}));
    Hold("X", 1);
    EXPECT_EQ(run->Front(), kPause);
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGamePlay}));

    // "タイトルへ戻る"
    Hold("ESC", 1);
    Hold("DOWN", 5);
    Hold("X", 1);
    Idle(1);
    EXPECT_EQ(run->Queue(),
              (std::vector<int32_t>{kGameFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));

    // Back into a game and out through "終了": the loop ends.
    ReachTitleMenu();
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    Hold("ESC", 1);
    Hold("DOWN", 10);
    Hold("X", 1);
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameFadeOut, kQuit}));
    ASSERT_TRUE(run->RunUntilState(kQuit));
    EXPECT_TRUE(run->Frame());  // Quit runs and sets the request
    EXPECT_EQ(game().app.quitRequest, 1);
    EXPECT_FALSE(run->Frame());
}

TEST_F(States, HoldingEscapeThroughCancelPausesAgainAtOnce) {
    ReachTitleMenu();
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    Hold("ESC", 1);
    Hold("ESC X", 2);  // decision pending, then "キャンセル"
    EXPECT_EQ(run->Front(), kGamePlay);
    Hold("ESC", 1);
    EXPECT_EQ(run->Front(), kPause);
}

TEST_F(States, GameOverAndItsTwoChoices) {
    ReachTitleMenu();
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    game().world.player.gameOver = true;
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameFadeOut, kGameOverFadeIn, kGameOverOpen,
                                                  kGameOverMenu}));
    game().world.player.gameOver = false;
    ASSERT_TRUE(run->RunUntilState(kGameOverMenu));
    EXPECT_EQ(Item(0), "タイトルへ戻る");
    EXPECT_EQ(Item(1), "終了");
    Hold("X", 1);
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameOverFadeOut, kTitleFadeIn, kTitleMenuOpen,
                                                  kTitleMenu}));
    ReachTitleMenu();
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    game().world.player.gameOver = true;
    Idle(1);
    game().world.player.gameOver = false;
    ASSERT_TRUE(run->RunUntilState(kGameOverMenu));
    Hold("DOWN", 5);
    Hold("X", 1);
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameOverFadeOut, kQuit}));
}

TEST_F(States, GameOverAndStageEndInOneFrameQueueBothSequences) {
    ReachTitleMenu();
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    game().world.player.gameOver = true;
    game().world.scene.stageEnded = true;
    game().project->scene.push_back(TSceneCommand{8, 0, 0, 0, 0, 0, 0});
    Idle(1);
    EXPECT_EQ(run->Queue(), (std::vector<int32_t>{kGameOverFadeIn, kGameOverOpen, kGameOverMenu,
                                                  kGameFadeOut, kTitleFadeIn, kTitleMenuOpen,
                                                  kTitleMenu}));
}

TEST_F(States, EachDecisionRestartsTheDecisionSound) {
    ReachTitleMenu();
    Hold("DOWN", 5);
    Hold("X", 1);  // "CONFIG ": a decision
    int decisionSound = game().project->sounds[1].handle;
    ASSERT_NE(decisionSound, -1);
    ASSERT_EQ(game().frameSoundStarts, std::vector<int>{decisionSound});
    ASSERT_TRUE(run->RunUntilState(kConfigMenu));
    Idle(25);
    // Held on the frame-rate item: a decision is taken (and its sound restarted) every
    // frame, even while the toggle is locked.
    Hold("DOWN", 5);
    for (int i = 0; i < 3; ++i) {
        Hold("X", 1);
        EXPECT_EQ(game().frameSoundStarts, std::vector<int>{decisionSound});
    }
}

TEST_F(States, TitleMusicStartsOnceAndKeepsPlayingThroughTheConfigMenu) {
    const int music = game().project->sounds[9].handle;
    ASSERT_NE(music, -1);
    ASSERT_TRUE(run->RunUntilState(kTitleMenuOpen));
    Idle(1);
    EXPECT_EQ(game().frameSoundStarts, std::vector<int>{music});
    EXPECT_EQ(IsSoundPlaying(music), 1);
    Idle(25);
    Hold("DOWN", 5);
    Hold("X", 1);  // configuration
    ASSERT_TRUE(run->RunUntilState(kConfigMenu));
    Idle(25);
    Hold("DOWN", 10);
    Hold("X", 1);  // "戻る"
    ASSERT_EQ(run->Front(), kTitleMenuOpen);
    Idle(1);
    EXPECT_TRUE(game().frameSoundStarts.empty());  // still playing: not restarted
    EXPECT_EQ(IsSoundPlaying(music), 1);
    // A game stops it; coming back from the game starts it again from the beginning.
    Idle(25);
    Hold("UP", 10);
    Hold("X", 1);
    EXPECT_EQ(IsSoundPlaying(music), 0);
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    Hold("ESC", 1);
    Hold("DOWN", 5);
    Hold("X", 1);
    ASSERT_TRUE(run->RunUntilState(kTitleMenuOpen));
    Idle(1);
    EXPECT_EQ(game().frameSoundStarts, std::vector<int>{music});
}
