// The system message box and the posted quit request.
#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "sys/sys.h"

namespace sys {
namespace {
std::atomic<bool> g_toStderr{false};
std::atomic<bool> g_quit{false};

const char* ButtonText(MessageBoxAnswer a) {
    switch (a) {
        case MessageBoxAnswer::Ok:
            return "OK";
        case MessageBoxAnswer::Cancel:
            return "Cancel";
        case MessageBoxAnswer::Yes:
            return "Yes";
        case MessageBoxAnswer::No:
            return "No";
        default:
            return "?";
    }
}
}  // namespace

void SetMessageBoxesToStderr(bool toStderr) {
    g_toStderr = toStderr;
}

MessageBoxAnswer ShowMessageBox(const char* text, const char* caption, MessageBoxIcon icon,
                                MessageBoxButtons buttons, int defaultButton) {
    std::vector<MessageBoxAnswer> answers;
    switch (buttons) {
        case MessageBoxButtons::Ok:
            answers = {MessageBoxAnswer::Ok};
            break;
        case MessageBoxButtons::OkCancel:
            answers = {MessageBoxAnswer::Ok, MessageBoxAnswer::Cancel};
            break;
        case MessageBoxButtons::YesNo:
            answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::No};
            break;
        case MessageBoxButtons::YesNoCancel:
            answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::No, MessageBoxAnswer::Cancel};
            break;
    }
    if (defaultButton < 0 || defaultButton >= static_cast<int>(answers.size())) defaultButton = 0;
    std::string utf8Text = Cp932ToUtf8(text ? text : "");
    std::string utf8Caption = Cp932ToUtf8(caption ? caption : "");

    if (!g_toStderr) {
        std::vector<SDL_MessageBoxButtonData> data;
        for (size_t i = 0; i < answers.size(); ++i) {
            Uint32 flags = 0;
            if (static_cast<int>(i) == defaultButton)
                flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
            if (answers[i] == MessageBoxAnswer::Cancel || answers.size() == 1)
                flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            data.push_back({flags, static_cast<int>(i), ButtonText(answers[i])});
        }
        Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
        if (icon == MessageBoxIcon::Stop) kind = SDL_MESSAGEBOX_ERROR;
        if (icon == MessageBoxIcon::Exclamation) kind = SDL_MESSAGEBOX_WARNING;
        SDL_MessageBoxData box{kind,
                               nullptr,
                               utf8Caption.c_str(),
                               utf8Text.c_str(),
                               static_cast<int>(data.size()),
                               data.data(),
                               nullptr};
        int pressed = -1;
        if (SDL_ShowMessageBox(&box, &pressed) == 0 && pressed >= 0 &&
            pressed < static_cast<int>(answers.size()))
            return answers[pressed];
        // No display: fall through to stderr.
    }
    std::fprintf(stderr, "[%s] %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    return answers[defaultButton];
}

void PostQuitMessage(int) {
    g_quit = true;
}
bool QuitPosted() {
    return g_quit;
}
void ClearQuit() {
    g_quit = false;
}

}  // namespace sys
