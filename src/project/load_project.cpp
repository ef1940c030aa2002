// LoadProject: "Global.bin" first, then every kind in the game's fixed order; or, for a data
// folder still in the old flat layout, the upgrade to kind folders.
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

void LoadProject(TProject& project) {
    if (!sys::FileExists(JoinPath(kGlobalFolder, "Global.bin").c_str())) {
        // The kind files that may already lie in the new folders are read on the next run.
        UpgradeLayout(project);
        return;
    }
    std::vector<uint8_t> buffer;
    if (LoadGlobal(project, &buffer) == FileStatus::Missing) return;

    for (int i = 0; i < kSpriteCount; ++i) LoadSpriteDef(project.sprites[i], i, &buffer);
    for (int i = 0; i < kSoundCount; ++i) LoadSoundDef(project.sounds[i], i, &buffer);
    LoadPlayerDef(project.player, &buffer);
    for (int i = 0; i < kBulletCount; ++i) LoadBulletDef(project.bullets[i], i, &buffer);
    for (int i = 0; i < kItemCount; ++i) LoadItemDef(project.items[i], i, &buffer);
    for (int i = 0; i < kEnemyCount; ++i) LoadEnemyDef(project.enemies[i], i, &buffer);
    LoadScene(project.scene, &buffer);
    for (int i = 0; i < kMapCount; ++i) LoadMapDef(project.maps[i], i, &buffer);
    LoadMapOrder(project.mapOrder, &buffer);
}
