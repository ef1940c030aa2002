#include "project/media_attach.h"

#include "base/paths.h"
#include "media/media.h"
#include "sys/sys.h"

void LoadSpriteImages(TProject& project) {
    for (int i = 0; i < kSpriteCount; ++i) {
        TSpriteDef& sprite = project.sprites[i];
        TString path = MakeSpritePath(i);
        if (!sys::FileExists(path.c_str())) continue;
        // A sprite that does not animate is one picture, whatever its frame fields say.
        if (sprite.animate == 0)
            LoadImageStrip(sprite, path, 1, -1, -1);
        else
            LoadImageStrip(sprite, path, sprite.frameCount, sprite.frameWidth, sprite.frameHeight);
    }
}

bool LoadImageStrip(TSpriteImage& sprite, TString path, int count, int width, int height) {
    if (count <= 0) return false;
    // Empty at start-up; releasing rather than dropping keeps a second call from leaking.
    sprite.ReleaseFrames();

    if (count == 1) {
        int image = LoadImageFile(path.c_str());
        if (image == -1) return false;
        sprite.frames.push_back({image, 0});
        GetImageSize(image, &sprite.imageWidth, &sprite.imageHeight);
        return true;
    }

    if (width == -1 || height == -1) return false;
    // The handle buffer holds kMaxStripFrames: a longer strip is refused whole rather than
    // cut short, so that an animation never runs with frames missing.
    if (count > kMaxStripFrames) return false;
    int handles[kMaxStripFrames];
    if (LoadImageFrames(path.c_str(), count, count, 1, width, height, handles) == -1) return false;
    sprite.frames.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) sprite.frames.push_back({handles[k], 10});
    sprite.imageWidth = width;
    sprite.imageHeight = height;
    return true;
}

bool LoadSound(TSoundDef& sound) {
    TString path = JoinPath(kSoundFolder, sound.fileName);
    if (!sys::FileExists(path.c_str())) return false;
    SetSoundLoadMode(sound.streamFromFile ? 2 : 0);
    sound.handle = LoadSoundFile(path.c_str(), 3);
    if (sound.handle == -1) return false;
    SetSoundVolume(sound.volume, sound.handle);
    return true;
}

void LoadSounds(TProject& project) {
    for (TSoundDef& sound : project.sounds) LoadSound(sound);
}
