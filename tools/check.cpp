#include "check.h"

#include <filesystem>
#include <set>

#include "image_size.h"
#include "names.h"
#include "project/media_attach.h"
#include "sys/sys.h"
#include "tool_project.h"

namespace fs = std::filesystem;

namespace tool {

std::string Problem::Line() const {
    std::string line = (error ? "error: " : "warning: ") + file + ": ";
    if (!where.empty()) line += where + ": ";
    return line + message;
}

namespace {

const char* const kFixedSprites[] = {"title picture", "score panel",       "ship tilted left",
                                     "ship",          "ship tilted right", "explosion",
                                     "bomb",          "game-over picture", "stage background"};
const char* const kFixedSounds[] = {
    "menu cursor sound",  "menu decision sound", "explosion sound", "player's shot sound",
    "bomb sound",         "power item sound",    "item sound",      "enemy hit sound",
    "blocked shot sound", "title music",         "game-over music"};

std::string Indexed(const char* table, int n) {
    return std::string(table) + "[" + std::to_string(n) + "]";
}

class Checker {
public:
    Checker(const std::string& dataDir, const ToolProject& tp)
        : dir_(dataDir), tp_(tp), p_(*tp.project) {}

    std::vector<Problem> Run(const std::vector<FileReport>& reports) {
        Files(reports);
        Sprites();
        Sounds();
        Bullets();
        Items();
        Enemies();
        Scene();
        return std::move(problems_);
    }

private:
    void Error(const std::string& file, const std::string& where, const std::string& message) {
        problems_.push_back({true, file, where, message});
    }
    void Warning(const std::string& file, const std::string& where, const std::string& message) {
        problems_.push_back({false, file, where, message});
    }

    void Files(const std::vector<FileReport>& reports) {
        if (!tp_.files.global)
            Error("Global/Global.bin", "",
                  "missing: the game moves the folder to the kind-folder layout and loads "
                  "nothing else");
        for (const FileReport& r : reports) {
            if (r.status == FileStatus::Truncated)
                Error(r.path, "",
                      "the file ends before its last field; the fields after the "
                      "cut keep their defaults");
            else if (r.trailingBytes)
                Warning(
                    r.path, "",
                    std::to_string(r.trailingBytes) + " bytes after the last field are ignored");
        }
        if (tp_.assets.frameImage.empty())
            Error("Frame.png", "",
                  "missing: the menu window has no frame and the game stops "
                  "at start-up");
    }

    // A number that must lie in [low, high]; false (after reporting) when it does not.
    bool InRange(const std::string& file, const std::string& where, int64_t v, int64_t low,
                 int64_t high, const char* what) {
        if (v >= low && v <= high) return true;
        Error(file, where,
              std::string(what) + " " + std::to_string(v) + " is outside " + std::to_string(low) +
                  ".." + std::to_string(high));
        return false;
    }

    // A sprite named by a definition: in the table and with an image.
    void SpriteRef(const std::string& file, const std::string& where, int32_t n) {
        if (!InRange(file, where, n, 0, kSpriteCount - 1, "sprite")) return;
        if (!tp_.assets.spriteImages.count(n))
            Error(file, where,
                  "sprite " + std::to_string(n) + " has no image (" +
                      NumberedFile("Sprite", n, ".png") + ")");
    }

    // A sound named by a definition; 'none' is a value that means no sound.
    void SoundRef(const std::string& file, const std::string& where, int32_t n, bool noneAllowed) {
        if (noneAllowed && n == -1) return;
        if (!InRange(file, where, n, 0, kSoundCount - 1, "sound")) return;
        if (!tp_.files.sounds[n])
            Error(file, where,
                  "sound " + std::to_string(n) + " has no definition (" + NumberedFile("Sound", n) +
                      ")");
    }

    template <size_t N>
    void RecordRef(const std::string& file, const std::string& where, int32_t n,
                   const std::array<bool, N>& exists, const char* what, const char* kind) {
        if (!InRange(file, where, n, 0, static_cast<int64_t>(N) - 1, what)) return;
        if (!exists[n])
            Error(file, where,
                  std::string(what) + " " + std::to_string(n) + " has no definition (" +
                      NumberedFile(kind, n) + ")");
    }

    void Sprites() {
        for (int n = 0; n < 9; ++n)
            if (!tp_.assets.spriteImages.count(n))
                Error(NumberedFile("Sprite", n, ".png"), Indexed("sprites", n),
                      std::string("missing: the ") + kFixedSprites[n] + " is not drawn");
        for (const auto& [n, image] : tp_.assets.spriteImages) {
            const TSpriteDef& s = p_.sprites[n];
            std::string file = NumberedFile("Sprite", n, ".png");
            int width = 0, height = 0;
            if (!ReadImageSize((fs::path(dir_) / image).string(), width, height)) {
                Error(file, Indexed("sprites", n), "not a PNG or JPEG image");
                continue;
            }
            if (!s.animate) continue;
            std::string bin = NumberedFile("Sprite", n);
            std::string where = Indexed("sprites", n);
            if (s.frameCount <= 0) {
                Error(bin, where + ".frameCount",
                      "an animated strip of " + std::to_string(s.frameCount) +
                          " frames has no pictures");
                continue;
            }
            if (s.frameCount == 1) continue;  // one picture with the image's own size
            if (s.frameCount > kMaxStripFrames) {
                Error(bin, where + ".frameCount",
                      "a strip holds at most " + std::to_string(kMaxStripFrames) + " frames, not " +
                          std::to_string(s.frameCount));
                continue;
            }
            if (s.frameWidth <= 0 || s.frameHeight <= 0) {
                Error(bin, where,
                      "frames of " + std::to_string(s.frameWidth) + "x" +
                          std::to_string(s.frameHeight) + " cannot be cut");
                continue;
            }
            int64_t needWidth = int64_t{s.frameWidth} * s.frameCount;
            if (needWidth > width || s.frameHeight > height)
                Error(bin, where,
                      "a strip of " + std::to_string(s.frameCount) + " frames of " +
                          std::to_string(s.frameWidth) + "x" + std::to_string(s.frameHeight) +
                          " needs " + std::to_string(needWidth) + "x" +
                          std::to_string(s.frameHeight) + " pixels; " + file + " is " +
                          std::to_string(width) + "x" + std::to_string(height));
        }
    }

    void Sounds() {
        for (int n = 0; n < kSoundCount; ++n) {
            std::string file = NumberedFile("Sound", n);
            if (!tp_.files.sounds[n]) {
                if (n < 11)
                    Warning(file, Indexed("sounds", n),
                            std::string("missing: the ") + kFixedSounds[n] + " is silent");
                continue;
            }
            const TSoundDef& s = p_.sounds[n];
            if (!tp_.assets.soundFiles.count(n))
                Error(file, Indexed("sounds", n) + ".fileName",
                      SoundFilePath(s) + " is missing: the sound is silent");
            InRange(file, Indexed("sounds", n) + ".volume", s.volume, 0, 255, "volume");
        }
    }

    void Bullets() {
        if (!tp_.files.bullets[0])
            Error(NumberedFile("Bullet", 0), "bullets[0]",
                  "missing: the player's shot uses the default bullet");
        for (int n = 0; n < kBulletCount; ++n) {
            if (!tp_.files.bullets[n]) continue;
            const TBulletDef& b = p_.bullets[n];
            std::string file = NumberedFile("Bullet", n), where = Indexed("bullets", n);
            SpriteRef(file, where + ".sprite", b.sprite);
            SoundRef(file, where + ".sound", b.sound, true);
        }
    }

    void Items() {
        for (int n = 0; n < kItemCount; ++n) {
            if (!tp_.files.items[n]) continue;
            const TItemDef& i = p_.items[n];
            std::string file = NumberedFile("Item", n), where = Indexed("items", n);
            SpriteRef(file, where + ".sprite", i.sprite);
            InRange(file, where + ".attribute", i.attribute, 0, 3, "attribute");
        }
    }

    void Attack(const std::string& file, const std::string& where, const TActionEntry& a) {
        if (a.target == 0)
            RecordRef(file, where + ".which", a.which, tp_.files.bullets, "bullet", "Bullet");
        else if (a.target == 1)
            RecordRef(file, where + ".which", a.which, tp_.files.enemies, "enemy", "Enemy");
        else
            Error(file, where + ".target",
                  "target " + std::to_string(a.target) + " creates nothing (0 bullet, 1 enemy)");
        if ((a.extra == kRing || a.extra == kDoubleRing) && a.spacing < 1)
            Error(file, where + ".spacing",
                  "a ring needs a spacing of 1 or more, not " + std::to_string(a.spacing));
        const std::pair<const char*, int32_t> ranges[] = {{"shotSpeedJitter", a.shotSpeedJitter},
                                                          {"countJitter", a.countJitter},
                                                          {"spacingJitter", a.spacingJitter},
                                                          {"angleJitter", a.angleJitter}};
        for (const auto& [key, value] : ranges) {
            // The double ring uses angleJitter as its rotation step, which may be negative.
            if (value >= 0 || (a.extra == kDoubleRing && std::string(key) == "angleJitter"))
                continue;
            Warning(file, where + "." + key, "a negative range gives lopsided draws");
        }
        if ((a.extra == kFan || a.extra == kRandomSpread) && (a.angleMode < 0 || a.angleMode > 5))
            Error(file, where + ".angleMode",
                  "angle mode " + std::to_string(a.angleMode) + " is outside 0..5");
    }

    void Actions(const std::string& file, const std::string& enemy, const TEnemyDef& e) {
        std::set<int32_t> labels;
        for (const TActionEntry& a : e.actions)
            if (a.command == kLabel) labels.insert(a.paramA);
        for (size_t i = 0; i < e.actions.size(); ++i) {
            const TActionEntry& a = e.actions[i];
            std::string where = enemy + ".actions[" + std::to_string(i) + "]";
            if (a.command < 0 || a.command > kLastActionCommand)
                Error(file, where + ".command",
                      "unknown command " + std::to_string(a.command) + " does nothing");
            if (a.command == kReturnToLabel && !labels.count(a.paramA))
                Error(file, where + ".paramA",
                      "no label entry carries label " + std::to_string(a.paramA) +
                          ": the list goes back to its first entry");
            if (a.extra < 0 || a.extra > kPlaySound)
                Error(file, where + ".extra",
                      "unknown extra action " + std::to_string(a.extra) + " does nothing");
            if (IsAttack(a.extra)) Attack(file, where, a);
            if (a.extra == kPlaySound) SoundRef(file, where + ".target", a.target, false);
        }
    }

    void Enemies() {
        for (int n = 0; n < kEnemyCount; ++n) {
            if (!tp_.files.enemies[n]) continue;
            const TEnemyDef& e = p_.enemies[n];
            std::string file = NumberedFile("Enemy", n), where = Indexed("enemies", n);
            SpriteRef(file, where + ".sprite", e.sprite);
            InRange(file, where + ".shotResponse", e.shotResponse, 0, 2, "shot response");
            if (e.successor != -1)
                RecordRef(file, where + ".successor", e.successor, tp_.files.enemies, "enemy",
                          "Enemy");
            for (size_t k = 0; k < e.dropKinds.size(); ++k)
                RecordRef(file, where + ".dropKinds[" + std::to_string(k) + "]", e.dropKinds[k],
                          tp_.files.items, "item", "Item");
            if (e.dropCount > 0 && e.dropKinds.empty())
                Warning(file, where + ".dropCount", "items to drop but no item kinds");
            Actions(file, where, e);
        }
    }

    void Scene() {
        const char* file = "Global/Scene.bin";
        if (!tp_.files.scene || p_.scene.empty()) {
            Warning(file, "scene", "no scene script: the stage runs nothing");
            return;
        }
        int64_t size = static_cast<int64_t>(p_.scene.size());
        if (tp_.files.global)
            InRange("Global/Global.bin", "sceneStart", p_.sceneStart, 0, size - 1, "scene start");
        for (size_t i = 0; i < p_.scene.size(); ++i) {
            const TSceneCommand& c = p_.scene[i];
            std::string where = "scene[" + std::to_string(i) + "]";
            switch (c.command) {
                case kBackgroundImage:
                    SpriteRef(file, where + ".sprite", c.p1);
                    break;
                case kMusic:
                case kScenePlaySound:
                    SoundRef(file, where + ".sound", c.p1, false);
                    break;
                case kEnemyAppearance:
                    RecordRef(file, where + ".enemy", c.p1, tp_.files.enemies, "enemy", "Enemy");
                    InRange(file, where + ".place", c.p2, 0, 3, "place");
                    break;
                default:
                    if (c.command < 0 || c.command > kEndOfStage)
                        Error(file, where + ".command",
                              "unknown command " + std::to_string(c.command) +
                                  " stops the script here for good");
            }
        }
    }

    std::string dir_;
    const ToolProject& tp_;
    const TProject& p_;
    std::vector<Problem> problems_;
};

}  // namespace

std::vector<Problem> CheckProject(const std::string& dataDir) {
    ToolProject tp;
    std::vector<FileReport> reports;
    LoadToolProject(dataDir, tp, &reports);
    return Checker(dataDir, tp).Run(reports);
}

}  // namespace tool
