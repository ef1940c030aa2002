// Folder constants and the helpers that build every file name the program opens. Project
// paths use '\' separators and are relative to the data folder; sys::HostPath maps them.
#pragma once

#include <string>

#include "base/tstring.h"

extern const TString kGlobalFolder;    // "Global\"
extern const TString kSpriteFolder;    // "Sprite\"
extern const TString kSoundFolder;     // "Sound\"
extern const TString kBulletFolder;    // "Bullet\"
extern const TString kItemFolder;      // "Item\"
extern const TString kEnemyFolder;     // "Enemy\"
extern const TString kMapFolder;       // "Map\"
extern const TString kDataFolder;      // "Data\"
extern const TString kProjectsFolder;  // "Projects\" (defined, not used by the game)
extern const TString kUnregistered;    // "<未登録>", the name of every record without one

// The folder's text immediately followed by the name's; no separator is inserted.
TString JoinPath(TString folder, TString name);
// "Sprite\Sprite<n>.png".
TString MakeSpritePath(int n);

// A cp932 TString from UTF-8 source text, for the game's own fixed texts.
TString Sjis(const char* utf8);
