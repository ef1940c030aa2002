// ProjectToJson: every record whose file exists, field by field under the names the code
// gives them.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "names.h"
#include "project_json.h"
#include "sys/sys.h"

namespace tool {

namespace {

Json Text(const TString& text) {
    std::string bytes = text.c_str();
    std::string utf8 = sys::Cp932ToUtf8(bytes);
    if (sys::Utf8ToCp932(utf8) == bytes) return utf8;
    // Bytes that are not valid cp932 would come back as '?': keep them as they are.
    std::string hex;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        hex += two;
    }
    return Json{{"cp932", hex}};
}

// A byte flag: true or false for 1 and 0, the number for any other value.
Json Flag(uint8_t v) {
    if (v <= 1) return v == 1;
    return v;
}

Json Enum(const NameTable& table, int32_t v) {
    if (auto name = table.Name(v)) return *name;
    return v;
}

Json Real(double v) {
    if (std::isfinite(v)) return v;
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
    return Json{{"bits", hex}};
}

Json Sprite(const ToolProject& tp, int n) {
    const TSpriteDef& s = tp.project->sprites[n];
    Json j{{"number", n}};
    if (tp.files.sprites[n]) {
        j["name"] = Text(s.name);
        j["animate"] = Flag(s.animate);
        j["frameWidth"] = s.frameWidth;
        j["frameHeight"] = s.frameHeight;
        j["frameCount"] = s.frameCount;
        j["framesPerStep"] = s.framesPerStep;
    } else {
        j["definition"] = false;
    }
    auto image = tp.assets.spriteImages.find(n);
    if (image != tp.assets.spriteImages.end()) j["image"] = image->second;
    return j;
}

Json Sound(const ToolProject& tp, int n) {
    const TSoundDef& s = tp.project->sounds[n];
    Json j{{"number", n},
           {"name", Text(s.name)},
           {"streamFromFile", Flag(s.streamFromFile)},
           {"fileName", Text(s.fileName)},
           {"volume", s.volume},
           {"loop", Flag(s.loop)}};
    auto source = tp.assets.soundFiles.find(n);
    if (source != tp.assets.soundFiles.end()) j["source"] = source->second;
    return j;
}

Json Player(const TPlayerDef& p) {
    Json j{{"unused0", p.unused0},
           {"unused1", p.unused1},
           {"moveSpeed", Real(p.moveSpeed)},
           {"initialLife", p.initialLife},
           {"initialBombs", p.initialBombs},
           {"hitRadius", p.hitRadius},
           {"invincible", Flag(p.invincible)}};
    if (p.padding[0] || p.padding[1] || p.padding[2])
        j["padding"] = {p.padding[0], p.padding[1], p.padding[2]};
    return j;
}

Json Bullet(const TBulletDef& b, int n) {
    return Json{{"number", n},
                {"name", Text(b.name)},
                {"sprite", b.sprite},
                {"hitRadius", b.hitRadius},
                {"imageDirection", Enum(kImageDirections, b.imageDirection)},
                {"sound", b.sound}};
}

Json Item(const TItemDef& i, int n) {
    return Json{{"number", n},
                {"name", Text(i.name)},
                {"sprite", i.sprite},
                {"attribute", Enum(kItemAttributes, i.attribute)},
                {"score", i.score}};
}

// The words a command or its extra action reads are always written; the others only when
// they hold something, so that nothing stored is lost.
Json Action(const TActionEntry& a) {
    Json j{{"command", Enum(kActionCommands, a.command)}};
    int params = ActionParamCount(a.command);
    if (params >= 1 || a.paramA) j["paramA"] = a.paramA;
    if (params >= 2 || a.paramB) j["paramB"] = a.paramB;
    if (a.extra) j["extra"] = Enum(kExtraActions, a.extra);
    bool attack = IsAttack(a.extra);
    if (attack)
        j["target"] = Enum(kTargets, a.target);
    else if (a.extra == kPlaySound || a.target)
        j["target"] = a.target;
    const std::pair<const char*, int32_t> words[] = {{"which", a.which},
                                                     {"shotSpeed", a.shotSpeed},
                                                     {"shotSpeedJitter", a.shotSpeedJitter},
                                                     {"interval", a.interval},
                                                     {"count", a.count},
                                                     {"countJitter", a.countJitter},
                                                     {"spacing", a.spacing},
                                                     {"spacingJitter", a.spacingJitter},
                                                     {"angleJitter", a.angleJitter}};
    for (const auto& [key, value] : words)
        if (attack || value) j[key] = value;
    if (attack)
        j["angleMode"] = Enum(kAngleModes, a.angleMode);
    else if (a.angleMode)
        j["angleMode"] = a.angleMode;
    if (attack || a.angleValue) j["angleValue"] = a.angleValue;
    return j;
}

Json Enemy(const TEnemyDef& e, int n) {
    Json actions = Json::array();
    for (const TActionEntry& a : e.actions) actions.push_back(Action(a));
    return Json{{"number", n},
                {"name", Text(e.name)},
                {"sprite", e.sprite},
                {"contactHurts", Flag(e.contactHurts)},
                {"shotResponse", Enum(kShotResponses, e.shotResponse)},
                {"score", e.score},
                {"durability", e.durability},
                {"imageDirection", Enum(kImageDirections, e.imageDirection)},
                {"explosion", Flag(e.explosion)},
                {"successor", e.successor},
                {"bombDamage", e.bombDamage},
                {"hitWidth", e.hitWidth},
                {"hitHeight", e.hitHeight},
                {"actions", actions},
                {"dropCount", e.dropCount},
                {"dropKinds", e.dropKinds},
                {"groundDistance", e.groundDistance}};
}

Json SceneCommand(const TSceneCommand& c) {
    Json j{{"command", Enum(kSceneCommands, c.command)}};
    const int32_t words[6] = {c.p1, c.p2, c.p3, c.p4, c.p5, c.p6};
    const std::vector<const char*>& names = SceneParamNames(c.command);
    bool known = kSceneCommands.Name(c.command).has_value();
    for (size_t k = 0; k < 6; ++k) {
        if (k < names.size()) {
            bool place = c.command == kEnemyAppearance && k == 1;
            j[names[k]] = place ? Enum(kPlaces, words[k]) : Json(words[k]);
        } else if (!known || words[k]) {
            j["p" + std::to_string(k + 1)] = words[k];
        }
    }
    return j;
}

Json Map(const TMapDef& m, int n) {
    Json cells = Json::array();
    for (const TMapCell& cell : m.cells) cells.push_back(cell);
    return Json{{"number", n}, {"name", Text(m.name)}, {"value", m.value}, {"cells", cells}};
}

}  // namespace

Json ProjectToJson(const ToolProject& tp) {
    const TProject& p = *tp.project;
    const ProjectFiles& f = tp.files;
    Json j{{"format", kFormatName}, {"version", kFormatVersion}};
    if (f.global) {
        j["sceneStart"] = p.sceneStart;
        j["windowTitle"] = Text(p.windowTitle);
        j["globalFlag"] = Flag(p.globalFlag);
    }
    if (!tp.assets.frameImage.empty()) j["frameImage"] = tp.assets.frameImage;
    if (f.player) j["player"] = Player(p.player);

    Json sprites = Json::array(), sounds = Json::array(), bullets = Json::array(),
         items = Json::array(), enemies = Json::array(), maps = Json::array();
    for (int i = 0; i < kSpriteCount; ++i)
        if (f.sprites[i] || tp.assets.spriteImages.count(i)) sprites.push_back(Sprite(tp, i));
    for (int i = 0; i < kSoundCount; ++i)
        if (f.sounds[i]) sounds.push_back(Sound(tp, i));
    for (int i = 0; i < kBulletCount; ++i)
        if (f.bullets[i]) bullets.push_back(Bullet(p.bullets[i], i));
    for (int i = 0; i < kItemCount; ++i)
        if (f.items[i]) items.push_back(Item(p.items[i], i));
    for (int i = 0; i < kEnemyCount; ++i)
        if (f.enemies[i]) enemies.push_back(Enemy(p.enemies[i], i));
    for (int i = 0; i < kMapCount; ++i)
        if (f.maps[i]) maps.push_back(Map(p.maps[i], i));
    j["sprites"] = sprites;
    j["sounds"] = sounds;
    j["bullets"] = bullets;
    j["items"] = items;
    j["enemies"] = enemies;
    if (f.scene) {
        Json scene = Json::array();
        for (const TSceneCommand& c : p.scene) scene.push_back(SceneCommand(c));
        j["scene"] = scene;
    }
    j["maps"] = maps;
    if (f.mapOrder) j["mapOrder"] = p.mapOrder;
    return j;
}

}  // namespace tool
