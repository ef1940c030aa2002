#include "shell/game.h"

#include "base/check.h"
#include "base/paths.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/media_attach.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "render/game_picture.h"
#include "shell/author.h"
#include "shell/frame_rate.h"
#include "sys/sys.h"

namespace {
constexpr int kKeyEscape = 0x01;
}  // namespace

TGame::TGame() : project(std::make_unique<TProject>()) {}

TGame::~TGame() {
    Shutdown();
}

bool TGame::Startup(const TStartup& startup, int* exitCode) {
    sys::SeedRandom(startup.seedGiven ? startup.seed : sys::TimeGetTime());
    app.fade = 255;
    app.quitRequest = 0;

    // Every later relative path is resolved inside the data folder. The result is not
    // checked: without the folder the run goes on with whatever is found here.
    if (startup.changeIntoData) sys::SetCurrentDirectory(kDataFolder.c_str());

    if (sys::FileExists("Data.bin")) {
        ShowMessageBox(Sjis("まだ前バージョンから更新されていません。\n"
                            "一度編集画面を開いてから再度実行してください。"),
                       Sjis("エラー"), 6, 0, 0);
        *exitCode = 0;
        shutDown_ = true;
        return false;
    }

    ResetSaveReports();
    LoadSettings(setting);
    LoadProject(*project);
    bool windowed = startup.windowMode == -1 ? setting.windowed != 0 : startup.windowMode == 1;
    app.Init(project->windowTitle, windowed);

    titlePicture.Setup(project.get(), 0);
    gameOverPicture.Setup(project.get(), 7);
    menu.Setup(&app, project.get(), &setting);
    world.scorePanel.Setup(project.get(), &world.player);
    world.Link(&app, project.get());

    LoadSpriteImages(*project);
    for (TSoundDef& sound : project->sounds) LoadSound(sound);

    testPlay = startup.testPlay;
    world.player.noHits = testPlay.invincible;
    states.clear();
    if (testPlay.play)
        StartTestPlay();
    else
        Push({kBoot, kTitleFadeIn, kTitleMenuOpen, kTitleMenu});
    toggleCounter = 0;
    if (testPlay.author) {
        author = std::make_unique<TAuthorMode>();
        author->Start(*this);
    }
    return true;
}

bool TGame::Frame() {
    if (author) return author->Frame(*this);
    if (!app.BeginFrame()) return false;
    RunFrameState();
    ++frame;
    return true;
}

void TGame::RunFrameState() {
    media::TakeSoundStarts(frameSoundStarts);  // forget what earlier frames started
    UpdateFrameRateDisplay(setting.showFps != 0);
    if (!states.empty()) RunState(states.front());
    media::TakeSoundStarts(frameSoundStarts);
}

void TGame::StartTestPlay() {
    world.background.SetSprite(8);
    app.fade = 0;
    states.clear();
    Push({kGameStart, kGameFadeIn, kGamePlay});
}

void TGame::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    author.reset();
    MediaEnd();
    states.clear();
    // The enemy pool (last enemy first), the menu and the project are taken down before
    // the layer's second, empty shut-down.
    world.enemies.ReleaseAll();
    menu.Release();
    project.reset();
    MediaEnd();  // finds the layer shut down and does nothing
    sys::TimeEndPeriod(1);
}

void TGame::Push(std::initializer_list<int32_t> codes) {
    for (int32_t c : codes) states.push_back(c);
}

void TGame::RunState(int32_t code) {
    switch (code) {
        case kBoot:
            Boot();
            break;
        case kQuit:
            Quit();
            break;
        case kTitleFadeIn:
            FadeIn(&TGame::StepAndDrawTitle);
            break;
        case kTitleFadeOut:
            FadeOut(&TGame::StepAndDrawTitle);
            break;
        case kTitleMenuOpen:
            TitleMenuOpen();
            break;
        case kTitleMenu:
            TitleMenu();
            break;
        case kConfigMenuOpen:
            ConfigMenuOpen();
            break;
        case kConfigMenu:
            ConfigMenu();
            break;
        case kGameFadeIn:
            FadeIn(&TGame::DrawGamePicture);
            break;
        case kGameFadeOut:
            FadeOut(&TGame::DrawGamePicture);
            break;
        case kGameStart:
            GameStart();
            break;
        case kGamePlay:
            GamePlay();
            break;
        case kPause:
            Pause();
            break;
        case kGameOverFadeIn:
            FadeIn(&TGame::StepAndDrawGameOver);
            break;
        case kGameOverFadeOut:
            FadeOut(&TGame::StepAndDrawGameOver);
            break;
        case kGameOverOpen:
            GameOverOpen();
            break;
        case kGameOverMenu:
            GameOverMenu();
            break;
        default:
            break;  // an unknown code does nothing and stays
    }
}

void TGame::Boot() {
    world.background.SetSprite(8);
    app.fade = 0;
    Pop();
}

void TGame::Quit() {
    app.quitRequest = 1;
}

void TGame::FadeIn(void (TGame::*picture)()) {
    if (app.fade < 255) {
        app.fade += 5;
    } else {
        app.fade = 255;
        Pop();
    }
    (this->*picture)();
}

void TGame::FadeOut(void (TGame::*picture)()) {
    if (app.fade > 0) {
        app.fade -= 5;
    } else {
        app.fade = 0;
        Pop();
    }
    (this->*picture)();
}

void TGame::TitleMenuOpen() {
    // Coming back from the configuration menu the music is still playing and goes on.
    if (IsSoundPlaying(project->sounds[9].handle) == 0) {
        StopEverySound(*project);
        PlaySoundEntry(project->sounds[9]);
    }
    menu.FillTitle();
    titleDelay = 0;
    Pop();
    StepAndDrawTitle();
}

void TGame::TitleMenu() {
    StepAndDrawTitle();
    // The menu neither runs nor shows for the first 25 frames.
    if (titleDelay <= 24) {
        ++titleDelay;
        return;
    }
    menu.Run();
    switch (menu.TakeDecision()) {
        case 0:
            StopSound(project->sounds[9].handle);
            Push({kTitleFadeOut, kGameStart, kGameFadeIn, kGamePlay});
            Pop();
            break;
        case 1:
            Push({kConfigMenuOpen, kConfigMenu, kTitleMenuOpen, kTitleMenu});
            Pop();
            break;
        case 2:
            StopSound(project->sounds[9].handle);
            Push({kTitleFadeOut, kQuit});
            Pop();
            break;
        default:
            break;
    }
    menu.Draw();
}

void TGame::ConfigMenuOpen() {
    menu.FillConfig();
    configDelay = 0;
    Pop();
    DrawTitle();
}

void TGame::ConfigMenu() {
    DrawTitle();
    if (configDelay <= 24) {
        ++configDelay;
        return;
    }
    // The toggle counter also counts during earlier visits; only a toggle resets it.
    ++toggleCounter;
    menu.Run();
    switch (menu.TakeDecision()) {
        case 0:
            if (toggleCounter > 15) {
                setting.windowed = !setting.windowed;
                toggleCounter = 0;
                menu.Item(0) = ConfigWindowItem(setting.windowed == 1);
            }
            break;
        case 1:
            if (toggleCounter > 15) {
                setting.showFps = !setting.showFps;
                toggleCounter = 0;
                menu.Item(1) = ConfigFpsItem(setting.showFps == 1);
            }
            break;
        case 2:
            SaveSettings(setting);
            Pop();
            break;
        default:
            break;
    }
    menu.Draw();
}

void TGame::GameStart() {
    menu.FillPause();
    world.scorePanel.best = LoadBestScore();
    world.scorePanel.score = 0;
    // The background keeps the animation cursor that Boot or the last stage left.
    TBackground& bg = world.background;
    bg.speed = 0.0;
    bg.position = 0.0;
    bg.period = project->sprites[8].imageHeight;
    bg.sprite = 8;
    world.player.lives = world.player.startLives;
    world.player.bombs = world.player.startBombs;
    world.player.Reset();
    world.effects.KillAll();
    world.bullets.KillAll();
    world.items.KillAll();
    // Enemies left from the last game die now: their rewards belong to the new game.
    world.enemies.DestroyAll();
    Pop();
    world.scene.Reset();
    // Test play's starting values and start entry (none of them in a plain run).
    if (testPlay.lives >= 0) world.player.lives = testPlay.lives;
    if (testPlay.power >= 0) world.player.power = testPlay.power;
    if (testPlay.sceneEntry >= 0) world.scene.StartAt(testPlay.sceneEntry);
}

void TGame::GamePlay() {
    if (app.KeyHeld(kKeyEscape) || (GetPadInput(1) & 0x20)) {
        menu.ClearDecision();
        Push({kPause});
        Pop();
    }
    if (world.player.gameOver) {
        SaveBestScore(world.scorePanel.best);
        menu.ClearDecision();
        Push({kGameFadeOut, kGameOverFadeIn, kGameOverOpen, kGameOverMenu});
        Pop();
    }
    world.Update();
    // A stage that ends without a game over does not save the best score.
    if (world.scene.stageEnded) {
        Push({kGameFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu});
        Pop();
    }
    DrawGamePicture();
}

void TGame::Pause() {
    // A decision made in one frame is acted on in the next.
    switch (menu.TakeDecision()) {
        case 0:
            Push({kGamePlay});
            Pop();
            break;
        case 1:
            Push({kGameFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu});
            Pop();
            break;
        case 2:
            Push({kGameFadeOut, kQuit});
            Pop();
            break;
        default:
            break;
    }
    DrawGamePicture();
    menu.Run();
    menu.Draw();
}

void TGame::GameOverOpen() {
    StopEverySound(*project);
    StopSound(project->sounds[10].handle);
    PlaySoundEntry(project->sounds[10]);
    Pop();
    menu.FillGameOver();
    StepAndDrawGameOver();
}

void TGame::GameOverMenu() {
    switch (menu.TakeDecision()) {
        case 0:
            StopSound(project->sounds[10].handle);
            Push({kGameOverFadeOut, kTitleFadeIn, kTitleMenuOpen, kTitleMenu});
            Pop();
            break;
        case 1:
            StopSound(project->sounds[10].handle);
            Push({kGameOverFadeOut, kQuit});
            Pop();
            break;
        default:
            break;
    }
    StepAndDrawGameOver();
    menu.Run();
    menu.Draw();
}

void TGame::StepAndDrawTitle() {
    titlePicture.Step();
    titlePicture.Draw();
}

void TGame::DrawTitle() {
    titlePicture.Draw();
}

void TGame::StepAndDrawGameOver() {
    gameOverPicture.Step();
    gameOverPicture.Draw();
}

void TGame::DrawGamePicture() {
    ::DrawGamePicture(*project, world);
}
