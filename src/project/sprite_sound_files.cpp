// "Sprite%d.bin" and "Sound%d.bin".
#include "base/paths.h"
#include "project/definition_files.h"
#include "project/record_file.h"

TString NumberedPath(const TString& folder, const char* nameFormat, int number) {
    // The joined folder and name are the format: the folder text holds no '%'.
    TString path;
    path.Format(JoinPath(folder, nameFormat).c_str(), number);
    return path;
}

bool ReadSpriteDef(ByteReader& in, TSpriteDef& sprite) {
    return in.ReadString(sprite.name) && in.ReadU8(sprite.animate) &&
           in.ReadI32(sprite.frameWidth) && in.ReadI32(sprite.frameHeight) &&
           in.ReadI32(sprite.frameCount) && in.ReadI32(sprite.framesPerStep);
}

bool ReadSoundDef(ByteReader& in, TSoundDef& sound) {
    return in.ReadString(sound.name) && in.ReadU8(sound.streamFromFile) &&
           in.ReadString(sound.fileName) && in.ReadI32(sound.volume) && in.ReadU8(sound.loop);
}

FileStatus LoadSpriteDef(TSpriteDef& sprite, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kSpriteFolder, "Sprite%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadSpriteDef(in, sprite); });
    if (status == FileStatus::Missing) sprite.name = kUnregistered;
    return status;
}

FileStatus LoadSoundDef(TSoundDef& sound, int number, std::vector<uint8_t>* buffer) {
    FileStatus status = LoadRecordFile(NumberedPath(kSoundFolder, "Sound%d.bin", number), buffer,
                                       [&](ByteReader& in) { return ReadSoundDef(in, sound); });
    if (status == FileStatus::Missing) sound.name = kUnregistered;
    return status;
}
