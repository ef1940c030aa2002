#include "shell/state_dump.h"

#include <nlohmann/json.hpp>

#include "media/inspect.h"
#include "media/media.h"
#include "project/project.h"
#include "shell/author.h"
#include "shell/game.h"
#include "sys/sys.h"

using nlohmann::json;

namespace {

std::string Utf8(const TString& s) {
    return sys::Cp932ToUtf8(s.c_str());
}

json MenuJson(const TMenu& menu) {
    json items = json::array();
    for (const TString& item : menu.items) items.push_back(Utf8(item));
    return json{{"items", items},
                {"cursor", menu.cursor},
                {"x", menu.x},
                {"y", menu.y},
                {"cells", menu.widthCells},
                {"repeat", menu.repeatCounter},
                {"highlight", menu.highlight},
                {"decision", menu.decision}};
}

json PlayerJson(const TPlayer& p) {
    return json{{"alive", p.alive},
                {"x", p.x},
                {"y", p.y},
                {"vx", p.vx},
                {"vy", p.vy},
                {"angle", p.angle},
                {"speed", p.speed},
                {"lives", p.lives},
                {"bombs", p.bombs},
                {"power", p.power},
                {"direction", p.direction},
                {"blinking", p.blinking},
                {"alpha", p.alpha},
                {"respawnTimer", p.respawnTimer},
                {"gameOver", p.gameOver},
                {"gameOverTimer", p.gameOverTimer},
                {"shotTimer", PlayerShotTimer()}};
}

json EnemiesJson(const TEnemyPool& pool) {
    json list = json::array();
    for (const TEnemy& e : pool.enemies) {
        if (!e.alive) continue;
        list.push_back(json{{"slot", e.slot},
                            {"kind", e.kind},
                            {"x", e.x},
                            {"y", e.y},
                            {"vx", e.vx},
                            {"vy", e.vy},
                            {"speed", e.speed},
                            {"angle", e.angle},
                            {"durability", e.durability},
                            {"watched", e.watched},
                            {"parentSlot", e.parentSlot},
                            {"commandIndex", e.commandIndex},
                            {"commandFrames", e.commandFrames},
                            {"advancePending", e.advancePending},
                            {"listFinished", e.listFinished},
                            {"attackFrames", e.attackFrames},
                            {"emitAngle", e.emitAngle},
                            {"turnFrames", e.turnFrames},
                            {"accelerating", e.accelerating},
                            {"acceleration", e.acceleration},
                            {"savedSpeed", e.savedSpeed},
                            {"halfWidth", e.halfWidth},
                            {"halfHeight", e.halfHeight},
                            {"hitFlash", e.hitFlash}});
    }
    return list;
}

json DrawOrderJson(const TEnemyPool& pool) {
    json order = json::array();
    for (const TDrawOrderEntry& d : pool.drawOrder) {
        if (d.slot >= 0 && d.slot < TEnemyPool::kSize && pool.enemies[d.slot].alive)
            order.push_back(d.slot);
    }
    return order;
}

json BulletsJson(const TBulletPool& pool) {
    json list = json::array();
    for (size_t i = 0; i < pool.bullets.size(); ++i) {
        const TBullet& b = pool.bullets[i];
        if (!b.alive) continue;
        list.push_back(json{{"slot", i},
                            {"kind", b.kind},
                            {"side", b.side},
                            {"x", b.x},
                            {"y", b.y},
                            {"vx", b.vx},
                            {"vy", b.vy},
                            {"angle", b.angle},
                            {"speed", b.speed}});
    }
    return list;
}

json ItemsJson(const TItemPool& pool) {
    json list = json::array();
    for (size_t i = 0; i < pool.items.size(); ++i) {
        const TItem& it = pool.items[i];
        if (!it.alive) continue;
        list.push_back(json{{"slot", i},
                            {"kind", it.kind},
                            {"x", it.x},
                            {"y", it.y},
                            {"vx", it.vx},
                            {"vy", it.vy},
                            {"attracted", it.attracted}});
    }
    return list;
}

json EffectsJson(const TEffectPool& pool) {
    json list = json::array();
    for (size_t i = 0; i < pool.effects.size(); ++i) {
        const TEffect& e = pool.effects[i];
        if (!e.alive) continue;
        list.push_back(json{{"slot", i},
                            {"x", e.x},
                            {"y", e.y},
                            {"frame", e.frame},
                            {"delay", e.delay},
                            {"delayCounter", e.delayCounter},
                            {"blend", e.blend},
                            {"scale", e.scale}});
    }
    return list;
}

json SceneJson(const TScene& s) {
    return json{{"entryIndex", s.entryIndex}, {"waitFrames", s.waitFrames},
                {"spawned", s.spawned},       {"watchedSlot", s.watchedSlot},
                {"stageEnded", s.stageEnded}, {"advancePending", s.advancePending}};
}

// Numbers of the sound entries whose handle is among the given ones.
json SoundNumbers(const TProject& project, const std::vector<int>& handles) {
    json list = json::array();
    for (int h : handles) {
        for (int n = 0; n < kSoundCount; ++n) {
            if (project.sounds[n].handle == h && h != -1) {
                list.push_back(n);
                break;
            }
        }
    }
    return list;
}

}  // namespace

std::string DumpState(const TGame& game) {
    json j;
    j["frame"] = game.frame;
    j["states"] = json(std::vector<int32_t>(game.states.begin(), game.states.end()));
    j["fade"] = game.app.fade;
    j["quit"] = game.app.quitRequest;
    j["fps"] = FrameTiming().displayedRate;
    j["randCalls"] = sys::RandCalls();
    j["shell"] = {{"titleDelay", game.titleDelay},
                  {"configDelay", game.configDelay},
                  {"toggleCounter", game.toggleCounter}};
    j["settings"] = {{"showFps", game.setting.showFps}, {"windowed", game.setting.windowed}};
    j["menu"] = MenuJson(game.menu);
    j["background"] = {{"sprite", game.world.background.sprite},
                       {"position", game.world.background.position},
                       {"speed", game.world.background.speed},
                       {"period", game.world.background.period},
                       {"frame", game.world.background.frame}};
    const TWorld& w = game.world;
    j["score"] = w.scorePanel.score;
    j["best"] = w.scorePanel.best;
    j["player"] = PlayerJson(w.player);
    j["bomb"] = {
        {"alive", w.player.bomb.alive}, {"life", w.player.bomb.life}, {"fade", w.player.bomb.fade}};
    j["enemies"] = EnemiesJson(w.enemies);
    j["drawOrder"] = DrawOrderJson(w.enemies);
    j["bullets"] = BulletsJson(w.bullets);
    j["items"] = ItemsJson(w.items);
    j["effects"] = EffectsJson(w.effects);
    j["scene"] = SceneJson(w.scene);
    json playing = json::array();
    for (int n = 0; n < kSoundCount; ++n) {
        int h = game.project->sounds[n].handle;
        if (h != -1 && IsSoundPlaying(h) == 1) playing.push_back(n);
    }
    j["playing"] = playing;
    j["soundStarts"] = SoundNumbers(*game.project, game.frameSoundStarts);
    // Author mode's own state, only when it is on: a plain run's dump keeps its keys.
    if (game.author) {
        const TAuthorMode& a = *game.author;
        j["author"] = json{{"overlay", a.overlay},
                           {"paused", a.paused},
                           {"slowMotion", a.slowMotion},
                           {"fastForward", a.fastForward},
                           {"invincible", game.testPlay.invincible},
                           {"gameFrames", a.gameFrames},
                           {"reloads", a.reloads},
                           {"reloadError", Utf8(TString(a.reloadError.c_str()))},
                           {"watching", a.watching}};
    }
    return j.dump(2) + "\n";
}
