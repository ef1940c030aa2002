// LoadProject: "Global.bin" first, then every kind in the game's fixed order; or, for a data
// folder still in the old flat layout, the upgrade to kind folders.
#include <string>
#include <vector>

#include "base/paths.h"
#include "project/definition_files.h"
#include "project/project.h"
#include "project/record_file.h"
#include "sys/sys.h"

bool ReadGlobal(ByteReader& in, TProject& project) {
    return in.ReadI32(project.sceneStart) && in.ReadString(project.windowTitle) &&
           in.ReadU8(project.globalFlag);
}

FileStatus LoadGlobal(TProject& project, std::vector<uint8_t>* buffer) {
    return LoadRecordFile(JoinPath(kGlobalFolder, "Global.bin"), buffer,
                          [&](ByteReader& in) { return ReadGlobal(in, project); });
}

void UpgradeLayout(const TProject& project) {
    // Creation fails harmlessly for a folder that is already there.
    for (const TString* folder : {&kBulletFolder, &kEnemyFolder, &kGlobalFolder, &kItemFolder,
                                  &kMapFolder, &kSoundFolder, &kSpriteFolder})
        sys::CreateDirectory(folder->c_str());

    // A move never replaces a file already in the kind folder.
    for (int i = 0; i < kSpriteCount; ++i) {
        TString from;
        from.Format("Sprite%d.png", i);
        sys::MoveFile(from.c_str(), MakeSpritePath(i).c_str());
    }
    // Nothing has been loaded, so every record still names "<未登録>.wav": the first move
    // takes it and the others find no source.
    for (const TSoundDef& sound : project.sounds)
        sys::MoveFile(sound.fileName.c_str(), JoinPath(kSoundFolder, sound.fileName).c_str());
}

namespace {

// A file that a checked load refuses: one that is there but cannot be read, or one that ends
// inside a record (an editor still writing it, or a damaged copy).
void Note(std::vector<std::string>* problems, FileStatus status, const TString& path) {
    if (!problems || status == FileStatus::Loaded) return;
    if (status == FileStatus::Truncated)
        problems->push_back(std::string(path.c_str()) + ": the file ends inside a record");
    else if (sys::FileExists(path.c_str()))
        problems->push_back(std::string(path.c_str()) + ": the file cannot be read");
}

}  // namespace

void LoadProject(TProject& project, std::vector<std::string>* problems) {
    const TString global = JoinPath(kGlobalFolder, "Global.bin");
    if (!sys::FileExists(global.c_str())) {
        // The kind files that may already lie in the new folders are read on the next run.
        if (problems)
            problems->push_back(std::string(global.c_str()) + ": no such file");
        else
            UpgradeLayout(project);
        return;
    }
    std::vector<uint8_t> buffer;
    FileStatus status = LoadGlobal(project, &buffer);
    Note(problems, status, global);
    if (status == FileStatus::Missing) return;

    for (int i = 0; i < kSpriteCount; ++i)
        Note(problems, LoadSpriteDef(project.sprites[i], i, &buffer),
             NumberedPath(kSpriteFolder, "Sprite%d.bin", i));
    for (int i = 0; i < kSoundCount; ++i)
        Note(problems, LoadSoundDef(project.sounds[i], i, &buffer),
             NumberedPath(kSoundFolder, "Sound%d.bin", i));
    Note(problems, LoadPlayerDef(project.player, &buffer), JoinPath(kGlobalFolder, "Player.bin"));
    for (int i = 0; i < kBulletCount; ++i)
        Note(problems, LoadBulletDef(project.bullets[i], i, &buffer),
             NumberedPath(kBulletFolder, "Bullet%d.bin", i));
    for (int i = 0; i < kItemCount; ++i)
        Note(problems, LoadItemDef(project.items[i], i, &buffer),
             NumberedPath(kItemFolder, "Item%d.bin", i));
    for (int i = 0; i < kEnemyCount; ++i)
        Note(problems, LoadEnemyDef(project.enemies[i], i, &buffer),
             NumberedPath(kEnemyFolder, "Enemy%d.bin", i));
    Note(problems, LoadScene(project.scene, &buffer), JoinPath(kGlobalFolder, "Scene.bin"));
    for (int i = 0; i < kMapCount; ++i)
        Note(problems, LoadMapDef(project.maps[i], i, &buffer),
             NumberedPath(kMapFolder, "Map%d.bin", i));
    Note(problems, LoadMapOrder(project.mapOrder, &buffer), JoinPath(kMapFolder, "Order.bin"));
}
