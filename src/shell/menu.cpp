#include "shell/menu.h"

#include <cstdio>

#include "base/app.h"
#include "base/paths.h"
#include "media/media.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "shell/program_files.h"
#include "sys/sys.h"

namespace {
constexpr int kKeyUp = 0xC8;
constexpr int kKeyDown = 0xD0;
constexpr int kKeyX = 0x2D;
}  // namespace

TString ConfigWindowItem(bool windowed) {
    return Sjis(windowed ? "画面モード: ウィンドウモード" : "画面モード: フルスクリーン");
}

TString ConfigFpsItem(bool showFps) {
    return Sjis(showFps ? "FPS表示: する" : "FPS表示: しない");
}

void TMenu::Setup(TApp* theApp, TProject* theProject, TSetting* theSetting) {
    int image = LoadImageFile("Frame.png");
    if (image == -1) {
        const char* message = "メニューフレーム画像が見つかりませんでした。";
        // Whoever started the program learns at once why it ends.
        std::fprintf(stderr, "orvan: %s (Frame.png)\n", message);
        WriteErrorFile(Sjis(message));
    } else {
        frameImage.frames.push_back({image, 0});
        GetImageSize(image, &frameImage.imageWidth, &frameImage.imageHeight);
    }
    font.Create(Sjis("ＭＳ ゴシック"), 13, 1, 0);
    app = theApp;
    project = theProject;
    setting = theSetting;
}

void TMenu::Fill(std::vector<TString> newItems, double atX, double atY) {
    items = std::move(newItems);
    x = atX;
    y = atY;
    LayOut();
}

void TMenu::FillTitle() {
    Fill({"GAME START ", "CONFIG ", "EXIT "}, 270.0, 400.0);
}

void TMenu::FillConfig() {
    bool windowed = setting && setting->windowed;
    bool showFps = setting && setting->showFps;
    Fill({ConfigWindowItem(windowed), ConfigFpsItem(showFps), Sjis("戻る")}, 220.0, 400.0);
}

void TMenu::FillPause() {
    Fill({Sjis("キャンセル"), Sjis("タイトルへ戻る"), Sjis("終了")}, 158.0, 250.0);
}

void TMenu::FillGameOver() {
    Fill({Sjis("タイトルへ戻る"), Sjis("終了")}, 270.0, 400.0);
}

void TMenu::LayOut() {
    cursor = 0;
    repeatCounter = 0;
    decision = 0;
    highlight = 100;
    highlightFalling = 0;
    // The longest item is the first of the greatest byte length.
    longestLength = 0;
    longestItem = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        int32_t length = static_cast<int32_t>(items[i].Length()) + 1;
        if (length > longestLength) {
            longestLength = length;
            longestItem = static_cast<int32_t>(i);
        }
    }
    if (items.empty()) {
        widthCells = 0;
        return;
    }
    const TString& longest = items[longestItem];
    widthCells =
        GetTextWidthWithFont(longest.c_str(), static_cast<int>(longest.Length()), font.handle, 0) /
        10;
}

void TMenu::Run() {
    const int32_t count = static_cast<int32_t>(items.size());
    // The repeat counter is shared by both directions and survives a release, so the first
    // move of a new press may come sooner than five frames.
    if ((GetPadInput(1) & 0x8) || app->KeyHeld(kKeyUp)) {
        if (++repeatCounter > 4) {
            repeatCounter = 0;
            if (--cursor < 0)
                cursor = 0;
            else
                PlaySoundEntry(project->sounds[0]);
        }
    }
    if ((GetPadInput(1) & 0x1) || app->KeyHeld(kKeyDown)) {
        if (++repeatCounter > 4) {
            repeatCounter = 0;
            if (++cursor > count - 1)
                cursor = count - 1;
            else
                PlaySoundEntry(project->sounds[0]);
        }
    }
    if ((GetPadInput(1) & 0x40) || app->KeyHeld(kKeyX)) decision = 1;
}

int32_t TMenu::TakeDecision() {
    if (!decision) return -1;
    decision = 0;
    PlaySoundEntry(project->sounds[1]);
    return cursor;
}

void TMenu::Draw() {
    const int32_t rows = static_cast<int32_t>(items.size()) - 1;
    frameImage.DrawWindowFrame(x, y, widthCells, rows);
    const int ix = static_cast<int>(x);
    const int iy = static_cast<int>(y);
    const int shadow = MakeColor(40, 40, 40);
    const int white = MakeColor(255, 255, 255);
    for (size_t i = 0; i < items.size(); ++i) {
        const TString& item = items[i];
        int w = GetTextWidthWithFont(item.c_str(), static_cast<int>(item.Length()), font.handle, 0);
        int offset = (widthCells + 1) * 5 - w / 2;
        int row = 13 * static_cast<int>(i);
        DrawTextWithFont(ix + offset + 7, iy + row + 6, item.c_str(), shadow, font.handle, 0, 0);
        DrawTextWithFont(ix + offset + 6, iy + row + 5, item.c_str(), white, font.handle, 0, 0);
    }
    SetBlendMode(1, 128);
    DrawRect(static_cast<int>(x + 5), static_cast<int>(y + 13 * cursor + 5),
             static_cast<int>(x + (widthCells + 1) * 10) + 3,
             static_cast<int>(y + 13 * cursor + 19), MakeColor(50, 98, highlight), 1);
    // The bar pulses: from 100 up to 255, then between 130 and 255 in steps of 5.
    if (!highlightFalling) {
        highlight += 5;
        if (highlight > 254) highlightFalling = 1;
    } else {
        highlight -= 5;
        if (highlight < 131) highlightFalling = 0;
    }
    SetBlendMode(0, 0);
}

void TMenu::Release() {
    frameImage.ReleaseFrames();
    items.clear();
    items.shrink_to_fit();
}
