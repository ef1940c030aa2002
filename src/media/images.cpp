// Image handles: loading whole pictures and strips of frames, sizes, release; the blend
// mode and colour making that every drawing operation reads.
#include <cstdio>
#include <memory>

#include "media/core.h"
#include "media/draw_list.h"
#include "media/image.h"
#include "media/media.h"
#include "sys/sys.h"

namespace media {
namespace {

constexpr size_t kMaxImages = 32768;
constexpr int kMaxFrames = 512;
// No picture the limits allow needs a file this large.
constexpr long kMaxImageFileBytes = 256l * 1024 * 1024;

HandleTable<std::unique_ptr<Image>>& Images() {
    static HandleTable<std::unique_ptr<Image>> table(kImageHandle, kMaxImages);
    return table;
}

std::string ForLog(const char* path) {
    return sys::Cp932ToUtf8(path ? path : "(null)");
}

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes, std::string* error) {
    FILE* f = path ? sys::OpenFile(path, "rb") : nullptr;
    if (!f) {
        *error = "cannot open the file";
        return false;
    }
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (!ok) {
        *error = "cannot read the file";
    } else if (size > kMaxImageFileBytes) {
        *error = "file is too large";
        ok = false;
    } else {
        bytes->resize(static_cast<size_t>(size));
        ok = size == 0 || std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
        if (!ok) *error = "cannot read the file";
    }
    std::fclose(f);
    return ok;
}

// Reads and decodes a project file; logs the reason and returns false on failure.
bool LoadPicture(const char* operation, const char* path, Image* out) {
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadWholeFile(path, &bytes, &error) ||
        !DecodeImage(bytes.data(), bytes.size(), out, &error)) {
        Log("%s: %s: %s", operation, ForLog(path).c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace

const Image* FindImage(int handle) {
    std::unique_ptr<Image>* slot = Images().Get(handle);
    return slot ? slot->get() : nullptr;
}

void ReleaseAllImages() {
    // Listed draws point at their pictures.
    FlushDrawing();
    Images().Clear();
}

}  // namespace media

using media::MediaLockGuard;

int LoadImageFile(const char* path) {
    MediaLockGuard g;
    auto image = std::make_unique<media::Image>();
    if (!media::LoadPicture("LoadImageFile", path, image.get())) return -1;
    int handle = media::Images().Add(std::move(image));
    if (handle == -1)
        media::Log("LoadImageFile: %s: no free image handle", media::ForLog(path).c_str());
    return handle;
}

int LoadImageFrames(const char* path, int count, int columns, int rows, int width, int height,
                    int* handles) {
    MediaLockGuard g;
    const std::string name = media::ForLog(path);
    if (!handles || count <= 0 || count > media::kMaxFrames || columns <= 0 || rows <= 0 ||
        width <= 0 || height <= 0 || int64_t(columns) * rows < count) {
        media::Log("LoadImageFrames: %s: bad frame layout (count %d, %d x %d cells of %d x %d)",
                   name.c_str(), count, columns, rows, width, height);
        return -1;
    }
    media::Image sheet;
    if (!media::LoadPicture("LoadImageFrames", path, &sheet)) return -1;
    if (int64_t(columns) * width > sheet.width || int64_t(rows) * height > sheet.height) {
        media::Log("LoadImageFrames: %s: %d x %d cells of %d x %d do not fit in %d x %d",
                   name.c_str(), columns, rows, width, height, sheet.width, sheet.height);
        return -1;
    }
    auto& table = media::Images();
    if (table.Live() + static_cast<size_t>(count) > media::kMaxImages) {
        media::Log("LoadImageFrames: %s: no free image handles for %d frames", name.c_str(), count);
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const int x = (i % columns) * width, y = (i / columns) * height;
        handles[i] =
            table.Add(std::make_unique<media::Image>(media::CutImage(sheet, x, y, width, height)));
    }
    return 0;
}

int GetImageSize(int image, int* width, int* height) {
    MediaLockGuard g;
    int w = 0, h = 0;
    if (image == -2 || image == -4) {
        w = media::TheCore().width;
        h = media::TheCore().height;
    } else if (const media::Image* img = media::FindImage(image)) {
        w = img->width;
        h = img->height;
    } else {
        return -1;
    }
    if (width) *width = w;
    if (height) *height = h;
    return 0;
}

int DeleteImage(int image, int) {
    MediaLockGuard g;
    if (!media::FindImage(image)) return -1;
    media::FlushDrawing();  // listed draws point at their pictures
    return media::Images().Remove(image) ? 0 : -1;
}

int SetBlendMode(int mode, int parameter) {
    MediaLockGuard g;
    media::TheCore().blendMode = mode;
    media::TheCore().blendParam = parameter < 0 ? 0 : (parameter > 255 ? 255 : parameter);
    return 0;
}

int MakeColor(int r, int g, int b) {
    MediaLockGuard guard;
    auto c = [](int v) { return static_cast<unsigned>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    if (media::TheCore().depth == 16)
        return static_cast<int>(((c(r) >> 3) << 11) | ((c(g) >> 2) << 5) | (c(b) >> 3));
    return static_cast<int>((c(r) << 16) | (c(g) << 8) | c(b));
}
