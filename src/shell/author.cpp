#include "shell/author.h"

#include <cstdio>
#include <memory>

#include "base/paths.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/media_attach.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "render/author_overlay.h"
#include "shell/game.h"
#include "sys/sys.h"

namespace {

constexpr int kKeyF1 = 0x3B, kKeyF2 = 0x3C, kKeyF3 = 0x3D, kKeyF4 = 0x3E, kKeyF5 = 0x3F,
              kKeyF6 = 0x40;
// About three seconds of frame times for the graph.
constexpr size_t kFrameTimes = 180;
// An editor saving a project writes many files in a row; the reload waits until the folder
// has been quiet for this many passes (about 100 ms), well within a second of the change.
constexpr int kSettlePasses = 6;

bool InGame(int32_t state) {
    return state == kGameStart || state == kGameFadeIn || state == kGamePlay || state == kPause ||
           state == kGameFadeOut;
}

// Sprites whose picture file is there but gave no picture because it does not decode.
void FindUndecodablePictures(const TProject& project, std::vector<std::string>* problems) {
    for (int i = 0; i < kSpriteCount; ++i) {
        if (!project.sprites[i].frames.empty()) continue;
        TString path = MakeSpritePath(i);
        if (!sys::FileExists(path.c_str())) continue;
        int probe = LoadImageFile(path.c_str());
        if (probe == -1)
            problems->push_back(std::string(path.c_str()) + ": the picture cannot be decoded");
        else
            DeleteImage(probe, 0);
    }
}

}  // namespace

TAuthorMode::~TAuthorMode() {
    media::SetOutputMuted(false);
}

void TAuthorMode::Start(TGame& game) {
    font_ = CreateFontToHandle(Sjis("ＭＳ ゴシック").c_str(), 12, 1, 2, -1, -1, -1, -1);
    std::vector<std::string> folders;
    for (const TString* f : {&kGlobalFolder, &kSpriteFolder, &kSoundFolder, &kBulletFolder,
                             &kItemFolder, &kEnemyFolder, &kMapFolder})
        folders.push_back(sys::HostPath(f->c_str()));
    watching = watch_.Start(folders);
}

bool TAuthorMode::KeyPressed(const TGame& game, int scanCode) const {
    return game.app.keys[scanCode] && !previousKeys_[scanCode];
}

void TAuthorMode::HandleKeys(TGame& game) {
    if (KeyPressed(game, kKeyF1)) overlay = !overlay;
    if (KeyPressed(game, kKeyF2)) {
        if (paused) stepRequested_ = true;
        paused = true;
    }
    if (KeyPressed(game, kKeyF3)) {
        paused = false;
        fastForward = false;
        slowMotion = (slowMotion + 1) % (static_cast<int>(kSlowFactors.size()) + 1);
        passesSinceGameFrame_ = 0;
    }
    if (KeyPressed(game, kKeyF4)) {
        paused = false;
        slowMotion = 0;
        fastForward = !fastForward;
    }
    media::SetOutputMuted(fastForward);
    if (KeyPressed(game, kKeyF5)) Reload(game);
    if (KeyPressed(game, kKeyF6)) {
        game.testPlay.invincible = !game.testPlay.invincible;
        game.world.player.noHits = game.testPlay.invincible;
    }
    std::copy(game.app.keys, game.app.keys + 256, previousKeys_);
}

void TAuthorMode::WatchFolders(TGame& game) {
    if (!watching) return;
    if (!watch_.TakeChanges().empty()) settleCountdown_ = kSettlePasses;
    if (settleCountdown_ < 0) return;
    if (settleCountdown_-- == 0) Reload(game);
}

bool TAuthorMode::Frame(TGame& game) {
    // Headless, the clock only moves when the loop paces, so fast forward keeps the pacing
    // there: a headless run is as fast as the machine allows already.
    const bool pace = !fastForward || sys::VirtualClockActive();
    if (!game.app.BeginHostFrame(pace)) return false;
    frameTimes_.push_back(FrameTiming().lastDuration);
    if (frameTimes_.size() > kFrameTimes) frameTimes_.pop_front();
    HandleKeys(game);
    WatchFolders(game);

    bool run = true;
    if (paused) {
        run = stepRequested_;
    } else if (slowMotion > 0) {
        run = ++passesSinceGameFrame_ >= static_cast<uint32_t>(kSlowFactors[slowMotion - 1]);
    }
    stepRequested_ = false;
    if (run || picture_.empty()) {
        passesSinceGameFrame_ = 0;
        game.app.BeginDraw();
        game.RunFrameState();
        ++gameFrames;
        media::CopyBackBuffer(picture_);
    } else {
        // The world stands still; the host goes on presenting the last picture.
        game.frameSoundStarts.clear();
        media::PutBackBuffer(picture_);
    }
    DrawLayer(game);
    ++game.frame;
    return true;
}

void TAuthorMode::DrawLayer(TGame& game) {
    if (overlay) {
        TOverlayView view;
        view.font = font_;
        view.frameTimes.assign(frameTimes_.begin(), frameTimes_.end());
        if (paused) view.status += "PAUSE ";
        if (slowMotion > 0)
            view.status += "SLOW 1/" + std::to_string(kSlowFactors[slowMotion - 1]) + " ";
        if (fastForward) view.status += "FAST ";
        if (game.testPlay.invincible) view.status += "INVINCIBLE";
        DrawAuthorOverlay(game.world, view);
    }
    if (!reloadError.empty()) DrawAuthorMessage(font_, "reload refused: " + reloadError);
}

bool TAuthorMode::Reload(TGame& game) {
    // Everything is read and decoded before anything of the running project is touched.
    auto fresh = std::make_unique<TProject>();
    std::vector<std::string> problems;
    LoadProject(*fresh, &problems);
    if (problems.empty()) {
        LoadSpriteImages(*fresh);
        FindUndecodablePictures(*fresh, &problems);
    }
    if (!problems.empty()) {
        reloadError = problems.front();
        if (problems.size() > 1)
            reloadError += " (and " + std::to_string(problems.size() - 1) + " more)";
        std::fprintf(stderr, "orvan: reload refused, the old project keeps running: %s\n",
                     sys::Cp932ToUtf8(reloadError).c_str());
        return false;  // 'fresh' lets its pictures go
    }
    for (TSoundDef& sound : fresh->sounds) LoadSound(sound);

    // The old project's actors leave without rewards, its sounds are freed.
    TProject& old = *game.project;
    StopEverySound(old);
    for (TSoundDef& sound : old.sounds)
        if (sound.handle != -1) DeleteSound(sound.handle);
    TWorld& world = game.world;
    world.effects.KillAll();
    world.bullets.KillAll();
    world.items.KillAll();
    world.enemies.ReleaseAll();
    const int32_t state = game.states.empty() ? -1 : game.states.front();
    const int32_t entry = world.scene.entryIndex;

    std::unique_ptr<TProject> retired = std::move(game.project);
    game.project = std::move(fresh);
    TProject* project = game.project.get();
    game.titlePicture.Setup(project, 0);
    game.gameOverPicture.Setup(project, 7);
    game.menu.project = project;  // the menu keeps its frame picture and font
    world.scorePanel.Relink(project);
    world.Link(&game.app, project);
    world.player.noHits = game.testPlay.invincible;
    retired.reset();

    // Play restarts at the entry that was running; from the title or a game over the run
    // starts again as it began.
    if (InGame(state)) game.testPlay.sceneEntry = entry;
    if (InGame(state) || game.testPlay.play) {
        game.StartTestPlay();
    } else {
        game.states.clear();
        for (int32_t code : {kBoot, kTitleFadeIn, kTitleMenuOpen, kTitleMenu})
            game.states.push_back(code);
    }
    game.frameSoundStarts.clear();
    reloadError.clear();
    ++reloads;
    std::fprintf(stderr, "orvan: project reloaded\n");
    return true;
}
