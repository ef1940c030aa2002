// ProjectFromJson: the JSON form back into records. Fields that are left out keep the
// editor's defaults; unknown fields are errors, so that a misspelt name is never ignored.
#include <filesystem>
#include <set>

#include "json_reader.h"
#include "names.h"
#include "project_json.h"

namespace fs = std::filesystem;

namespace tool {

namespace {

class Builder {
public:
    Builder(const std::string& assetDir, ToolProject& out)
        : assetDir_(assetDir), tp_(out), p_(*out.project) {}

    void Build(const Json& json) {
        JsonObject top(JsonValue(json, ""));
        if (top.Has("format") && top.Get("format").String() != kFormatName)
            top.Get("format").Fail(std::string("expected \"") + kFormatName + "\"");
        if (top.Has("version")) top.Get("version").IntIn(1, kFormatVersion);

        // "Global.bin" exists when any of its fields is given.
        for (const char* key : {"sceneStart", "windowTitle", "globalFlag"})
            if (top.Has(key)) tp_.files.global = true;
        top.Int("sceneStart", p_.sceneStart);
        top.Text("windowTitle", p_.windowTitle);
        top.Flag("globalFlag", p_.globalFlag);
        if (top.Has("frameImage")) tp_.assets.frameImage = Asset(top.Get("frameImage"));
        if (top.Has("player")) Player(top.Get("player"));

        Records(top, "sprites", kSpriteCount, [&](JsonObject& o, int n) { Sprite(o, n); });
        Records(top, "sounds", kSoundCount, [&](JsonObject& o, int n) { Sound(o, n); });
        Records(top, "bullets", kBulletCount, [&](JsonObject& o, int n) { Bullet(o, n); });
        Records(top, "items", kItemCount, [&](JsonObject& o, int n) { Item(o, n); });
        Records(top, "enemies", kEnemyCount, [&](JsonObject& o, int n) { Enemy(o, n); });
        if (top.Has("scene")) Scene(top.Get("scene"));
        Records(top, "maps", kMapCount, [&](JsonObject& o, int n) { Map(o, n); });
        if (top.Has("mapOrder")) {
            JsonValue order = top.Get("mapOrder");
            tp_.files.mapOrder = true;
            for (size_t i = 0; i < order.Size(); ++i) p_.mapOrder.push_back(order.At(i).Int());
        }
        top.Finish();
    }

private:
    // A path below the asset folder that must name a file.
    std::string Asset(const JsonValue& v) {
        std::string relative = v.String();
        std::error_code ec;
        fs::path full = fs::path(assetDir_) / relative;
        if (!fs::is_regular_file(full, ec)) v.Fail("file not found: " + full.string());
        return relative;
    }

    // A list of numbered records: each object carries its "number", at most once.
    template <class Read>
    void Records(JsonObject& top, const char* key, int capacity, Read read) {
        if (!top.Has(key)) return;
        JsonValue list = top.Get(key);
        std::set<int> seen;
        for (size_t i = 0; i < list.Size(); ++i) {
            JsonObject o(list.At(i));
            JsonValue numberValue = o.Get("number");
            int n = numberValue.IntIn(0, capacity - 1);
            if (!seen.insert(n).second)
                numberValue.Fail("number " + std::to_string(n) + " is given twice");
            read(o, n);
            o.Finish();
        }
    }

    void Sprite(JsonObject& o, int n) {
        TSpriteDef& s = p_.sprites[n];
        uint8_t definition = 1;
        o.Flag("definition", definition);
        tp_.files.sprites[n] = definition != 0;
        if (!definition)
            for (const char* key :
                 {"name", "animate", "frameWidth", "frameHeight", "frameCount", "framesPerStep"})
                if (o.Has(key)) o.Get(key).Fail("a sprite without a definition file has no fields");
        o.Text("name", s.name);
        o.Flag("animate", s.animate);
        o.Int("frameWidth", s.frameWidth);
        o.Int("frameHeight", s.frameHeight);
        o.Int("frameCount", s.frameCount);
        o.Int("framesPerStep", s.framesPerStep);
        if (o.Has("image")) tp_.assets.spriteImages[n] = Asset(o.Get("image"));
    }

    void Sound(JsonObject& o, int n) {
        TSoundDef& s = p_.sounds[n];
        tp_.files.sounds[n] = true;
        o.Text("name", s.name);
        o.Flag("streamFromFile", s.streamFromFile);
        o.Text("fileName", s.fileName);
        o.Int("volume", s.volume);
        o.Flag("loop", s.loop);
        if (o.Has("source")) tp_.assets.soundFiles[n] = Asset(o.Get("source"));
    }

    void Player(const JsonValue& v) {
        JsonObject o(v);
        TPlayerDef& p = p_.player;
        tp_.files.player = true;
        o.Int("unused0", p.unused0);
        o.Int("unused1", p.unused1);
        if (o.Has("moveSpeed")) p.moveSpeed = o.Get("moveSpeed").Real();
        o.Int("initialLife", p.initialLife);
        o.Int("initialBombs", p.initialBombs);
        o.Int("hitRadius", p.hitRadius);
        o.Flag("invincible", p.invincible);
        if (o.Has("padding")) {
            JsonValue padding = o.Get("padding");
            if (padding.Size() != 3) padding.Fail("expected three bytes");
            for (size_t i = 0; i < 3; ++i)
                p.padding[i] = static_cast<uint8_t>(padding.At(i).IntIn(0, 255));
        }
        o.Finish();
    }

    void Bullet(JsonObject& o, int n) {
        TBulletDef& b = p_.bullets[n];
        tp_.files.bullets[n] = true;
        o.Text("name", b.name);
        o.Int("sprite", b.sprite);
        o.Int("hitRadius", b.hitRadius);
        o.Enum("imageDirection", kImageDirections, b.imageDirection);
        o.Int("sound", b.sound);
    }

    void Item(JsonObject& o, int n) {
        TItemDef& i = p_.items[n];
        tp_.files.items[n] = true;
        o.Text("name", i.name);
        o.Int("sprite", i.sprite);
        o.Enum("attribute", kItemAttributes, i.attribute);
        o.Int("score", i.score);
    }

    void Action(const JsonValue& v, TActionEntry& a) {
        JsonObject o(v);
        o.Enum("command", kActionCommands, a.command);
        o.Int("paramA", a.paramA);
        o.Int("paramB", a.paramB);
        o.Enum("extra", kExtraActions, a.extra);
        o.Enum("target", kTargets, a.target);
        o.Int("which", a.which);
        o.Int("shotSpeed", a.shotSpeed);
        o.Int("shotSpeedJitter", a.shotSpeedJitter);
        o.Int("interval", a.interval);
        o.Int("count", a.count);
        o.Int("countJitter", a.countJitter);
        o.Int("spacing", a.spacing);
        o.Int("spacingJitter", a.spacingJitter);
        o.Int("angleJitter", a.angleJitter);
        o.Enum("angleMode", kAngleModes, a.angleMode);
        o.Int("angleValue", a.angleValue);
        o.Finish();
    }

    void Enemy(JsonObject& o, int n) {
        TEnemyDef& e = p_.enemies[n];
        tp_.files.enemies[n] = true;
        o.Text("name", e.name);
        o.Int("sprite", e.sprite);
        o.Flag("contactHurts", e.contactHurts);
        o.Enum("shotResponse", kShotResponses, e.shotResponse);
        o.Int("score", e.score);
        o.Int("durability", e.durability);
        o.Enum("imageDirection", kImageDirections, e.imageDirection);
        o.Flag("explosion", e.explosion);
        o.Int("successor", e.successor);
        o.Int("bombDamage", e.bombDamage);
        o.Int("hitWidth", e.hitWidth);
        o.Int("hitHeight", e.hitHeight);
        if (o.Has("actions")) {
            JsonValue list = o.Get("actions");
            e.actions.resize(list.Size());
            for (size_t i = 0; i < e.actions.size(); ++i) Action(list.At(i), e.actions[i]);
        }
        o.Int("dropCount", e.dropCount);
        if (o.Has("dropKinds")) {
            JsonValue list = o.Get("dropKinds");
            for (size_t i = 0; i < list.Size(); ++i) e.dropKinds.push_back(list.At(i).Int());
        }
        o.Int("groundDistance", e.groundDistance);
    }

    void SceneCommand(const JsonValue& v, TSceneCommand& c) {
        JsonObject o(v);
        c = TSceneCommand{};
        c.p1 = 0;  // a command written here starts from zero words, not the reader's 1000
        c.command = o.Get("command").Enum(kSceneCommands);
        int32_t* words[6] = {&c.p1, &c.p2, &c.p3, &c.p4, &c.p5, &c.p6};
        const std::vector<const char*>& names = SceneParamNames(c.command);
        for (size_t k = 0; k < 6; ++k) {
            std::string raw = "p" + std::to_string(k + 1);
            bool named = k < names.size() && o.Has(names[k]);
            if (named && o.Has(raw))
                o.Get(raw).Fail(std::string("the same word as \"") + names[k] + "\"");
            if (named) {
                bool place = c.command == kEnemyAppearance && k == 1;
                JsonValue w = o.Get(names[k]);
                *words[k] = place ? w.Enum(kPlaces) : w.Int();
            } else {
                o.Int(raw, *words[k]);
            }
        }
        o.Finish();
    }

    void Scene(const JsonValue& list) {
        tp_.files.scene = true;
        p_.scene.resize(list.Size());
        for (size_t i = 0; i < p_.scene.size(); ++i) SceneCommand(list.At(i), p_.scene[i]);
    }

    void Map(JsonObject& o, int n) {
        TMapDef& m = p_.maps[n];
        tp_.files.maps[n] = true;
        o.Text("name", m.name);
        o.Int("value", m.value);
        if (!o.Has("cells")) return;
        JsonValue cells = o.Get("cells");
        m.cells.resize(cells.Size());
        for (size_t i = 0; i < m.cells.size(); ++i) {
            JsonValue cell = cells.At(i);
            if (cell.Size() != kMapCellWords) cell.Fail("expected 13 integers");
            for (size_t k = 0; k < kMapCellWords; ++k) m.cells[i][k] = cell.At(k).Int();
        }
    }

    std::string assetDir_;
    ToolProject& tp_;
    TProject& p_;
};

}  // namespace

void ProjectFromJson(const Json& json, const std::string& assetDir, ToolProject& out) {
    Builder(assetDir, out).Build(json);
}

}  // namespace tool
