// Fonts and text. Placeholder until text drawing lands: font creation fails with -1.
#include "media/core.h"
#include "media/media.h"

namespace media {
void ReleaseAllFonts() {}
void DrawDebugText(const std::vector<std::string>&) {}
}  // namespace media

int CreateFontToHandle(const char*, int, int, int, int, int, int, int) { return -1; }
int DrawTextWithFont(int, int, const char*, int, int, int, int) { return -1; }
int GetTextWidthWithFont(const char*, int, int, int) { return -1; }
