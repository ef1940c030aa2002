#include "base/paths.h"

#include <cstring>

#include "sys/sys.h"

const TString kGlobalFolder("Global\\");
const TString kSpriteFolder("Sprite\\");
const TString kSoundFolder("Sound\\");
const TString kBulletFolder("Bullet\\");
const TString kItemFolder("Item\\");
const TString kEnemyFolder("Enemy\\");
const TString kMapFolder("Map\\");
const TString kDataFolder("Data\\");
const TString kProjectsFolder("Projects\\");
const TString kUnregistered("<\x96\xa2\x93\x6f\x98\x5e>");  // <未登録>

TString JoinPath(TString folder, TString name) {
    size_t a = folder.Length();
    size_t b = name.Length();
    TString out;
    if (!out.Resize(a + b + 1)) return out;
    std::memcpy(out.data(), folder.c_str(), a);
    std::memcpy(out.data() + a, name.c_str(), b + 1);
    return out;
}

TString MakeSpritePath(int n) {
    TString path;
    path.Format(JoinPath(kSpriteFolder, "Sprite%d.png").c_str(), n);
    return path;
}

TString Sjis(const char* utf8) {
    return TString(sys::Utf8ToCp932(utf8 ? utf8 : "").c_str());
}
