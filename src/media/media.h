// The media layer as the game sees it: plain functions over integer handles. Every
// operation returns a signed 32-bit integer: 0 for success and -1 for failure unless said
// otherwise; -1 is never a valid handle. Every operation runs under the media lock.
//
// This header knows no game concept. What the hosts and the tests need beyond the game's
// operations is in media/host.h and media/inspect.h.
#pragma once

// ---- Lifecycle and window -------------------------------------------------------------
int SetAppLogEnabled(int enabled);
// Adds one line of text to "AppLog.txt" while the log is on.
int AddLogLine(const char* text);
int GetScreenColorDepth();
int SetScreenMode(int width, int height, int colourDepth, int refreshRate);
int SetWindowTitle(const char* text);  // cp932
int ChangeWindowMode(int windowed);
int MediaInit();
int SetDrawTarget(int screen);
int SetDrawFilterMode(int mode);
int SetDefaultFontSize(int size);
int SetDefaultFontThickness(int thickness);
int SetDefaultFontName(const char* faceName, int charset);
int SetDefaultFontType(int type);
int MediaEnd();

// ---- Frame ------------------------------------------------------------------------------
int FlipScreen();
int ProcessMessage();
int GetKeyStateAll(unsigned char* buffer);  // 256 bytes, DirectInput scan codes
int SetDrawBrightness(int r, int g, int b);
int ClearScreen();
int ClearScreenPrint();
int PrintToScreen(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- Input ------------------------------------------------------------------------------
// Bits: 0x1 down, 0x2 left, 0x4 right, 0x8 up, 0x10 << k button k + 1.
int GetPadInput(int pad);

// ---- Images and drawing -----------------------------------------------------------------
int LoadImageFile(const char* path);
int LoadImageFrames(const char* path, int count, int columns, int rows, int width, int height,
                    int* handles);
int GetImageSize(int image, int* width, int* height);
int DeleteImage(int image, int reserved);
int DrawImage(int x, int y, int image, int transparent);
int DrawImageMirrored(int x, int y, int image, int transparent);
int DrawImageRotated(int x, int y, double scale, double angle, int image, int transparent,
                     int mirrored);
int DrawImagePart(int x, int y, int srcX, int srcY, int width, int height, int image,
                  int transparent, int mirrored);
int DrawRect(int x1, int y1, int x2, int y2, int colour, int filled);
int SetBlendMode(int mode, int parameter);
int MakeColor(int r, int g, int b);

// ---- Text -------------------------------------------------------------------------------
int CreateFontToHandle(const char* faceName, int size, int thickness, int type, int charset,
                       int edgeSize, int italic, int reuseHandle);
int DrawTextWithFont(int x, int y, const char* text, int colour, int font, int edgeColour,
                     int option);
int GetTextWidthWithFont(const char* text, int length, int font, int option);

// ---- Sound ------------------------------------------------------------------------------
int SetSoundLoadMode(int mode);
int LoadSoundFile(const char* path, int bufferCount);
int StartSound(int sound, int playType, int fromStart);
int StopSound(int sound);
int IsSoundPlaying(int sound);
int SetSoundVolume(int volume, int sound);
// Stops every copy of the sound and frees its handle (a project reloaded in author mode).
int DeleteSound(int sound);
