// The SDL2 host: a resizable window (or desktop full screen) showing the 640 x 480 picture
// scaled with black bars, keyboard and pads through the control table, screenshots with a
// note that fades (drawn over the presented picture, never into the game's), and the audio
// device pulling the mixer from SDL's audio thread.
#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "media/clock_pull.h"
#include "media/core.h"
#include "media/inspect.h"
#include "media/sdl_input.h"
#include "sys/sys.h"

namespace media {
namespace {

void AudioCallback(void*, Uint8* stream, int len) {
    PullAudio(reinterpret_cast<int16_t*>(stream), len / 4);
}

class SdlHost final : public Host {
public:
    explicit SdlHost(const SdlSettings& settings) : settings_(settings) {}
    ~SdlHost() override { Close(); }

    bool Open(const WindowConfig& config) override {
        if (window_) return true;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            Log("SDL video could not start: %s", SDL_GetError());
            return false;
        }
        videoUp_ = true;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        int scale = settings_.scale;
        if (scale <= 0) {
            // The largest whole multiple that fits the desktop with room for decorations.
            SDL_Rect usable;
            scale = 1;
            if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
                while ((scale + 1) * config.width <= usable.w - 32 &&
                       (scale + 1) * config.height <= usable.h - 64 && scale < 4)
                    ++scale;
            }
        }
        Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (!config.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_ = SDL_CreateWindow(config.titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED,
                                   SDL_WINDOWPOS_CENTERED, config.width * scale,
                                   config.height * scale, flags);
        if (!window_) {
            Log("The window could not be created: %s", SDL_GetError());
            Close();
            return false;
        }
        const Uint32 vsync = settings_.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | vsync);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | vsync);
        if (!renderer_) {
            Log("No renderer: %s", SDL_GetError());
            Close();
            return false;
        }
        SDL_RendererInfo info;
        if (settings_.vsync && SDL_GetRendererInfo(renderer_, &info) == 0 &&
            !(info.flags & SDL_RENDERER_PRESENTVSYNC))
            Log("This display cannot present in step with its refresh");
        SDL_RenderSetLogicalSize(renderer_, config.width, config.height);
        SDL_RenderSetIntegerScale(renderer_, settings_.integerScaling ? SDL_TRUE : SDL_FALSE);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     config.width, config.height);
        if (!texture_) {
            Log("No texture: %s", SDL_GetError());
            Close();
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
            joystickUp_ = true;
            if (!settings_.controllerMappings.empty() &&
                ::access(settings_.controllerMappings.c_str(), R_OK) == 0)
                SDL_GameControllerAddMappingsFromFile(settings_.controllerMappings.c_str());
            pads_.OpenAll();
        }
        OpenAudio();
        active_ = true;
        closing_ = false;
        return true;
    }

    void Close() override {
        if (audio_) {
            // Closing waits for the audio callback, which takes the media lock: let go of
            // it meanwhile so that the callback can finish.
            int holds = TheMediaLock().UnlockAll();
            SDL_CloseAudioDevice(audio_);
            TheMediaLock().RelockAll(holds);
            audio_ = 0;
        }
        if (audioUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioUp_ = false;
        audioRate_ = 0;
        pads_.Close();
        if (joystickUp_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        joystickUp_ = false;
        if (note_) SDL_DestroyTexture(note_);
        note_ = nullptr;
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = nullptr;
        if (renderer_) SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoUp_ = false;
    }

    void Present(const uint32_t* pixels, int width, int height) override {
        if (!renderer_) return;
        SDL_UpdateTexture(texture_, nullptr, pixels, width * 4);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        DrawNote();
        if (settings_.vsync) {
            // Waiting for the display must not keep the audio thread from the mixer.
            int holds = TheMediaLock().UnlockAll();
            SDL_RenderPresent(renderer_);
            TheMediaLock().RelockAll(holds);
        } else {
            SDL_RenderPresent(renderer_);
        }
    }

    bool ProcessEvents() override {
        for (;;) {
            SDL_Event e;
            while (SDL_PollEvent(&e)) Handle(e);
            if (closing_ || sys::QuitPosted()) return false;
            if (active_) return true;
            // In the background the whole game stands still until it is active again.
            SDL_Delay(1);
        }
    }

    void ReadInput(uint8_t keys[256], int* pad) override {
        // The keyboard and the pad as they are now: events that arrived since the last
        // ProcessEvents (during the frame's pacing sleep) are taken in first. They stay
        // queued, so the next ProcessEvents still handles them.
        SDL_PumpEvents();
        ReadKeys(settings_.controls, keys);
        *pad = pads_.Read(settings_.controls);
    }

    void SetTitle(const std::string& titleUtf8) override {
        if (window_) SDL_SetWindowTitle(window_, titleUtf8.c_str());
    }

    int AudioRate() const override { return audioRate_; }

    void PullAudioByClock(uint32_t nowMs) override {
        // Without an audio device the mixer is pulled by the clock, so that sounds still
        // end when they would and the game cannot tell the difference.
        if (!audio_) pull_.PullUntil(nowMs);
    }

private:
    void Handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_QUIT:
                closing_ = true;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                    e.window.event == SDL_WINDOWEVENT_MINIMIZED)
                    active_ = false;
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                    e.window.event == SDL_WINDOWEVENT_RESTORED)
                    active_ = true;
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) closing_ = true;
                break;
            case SDL_KEYDOWN:
                // Alt+Enter switches between the window and desktop full screen.
                if (e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT) &&
                    !e.key.repeat) {
                    bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                }
                if (e.key.keysym.scancode == settings_.controls.screenshotKey && !e.key.repeat)
                    SaveScreenshot();
                break;
            case SDL_JOYDEVICEADDED:
            case SDL_JOYDEVICEREMOVED:
                pads_.Handle(e);
                break;
            default:
                break;
        }
    }

    // The picture that was presented last (the back buffer is not drawn on again before
    // the next frame's keys are read), under the game's title and the time.
    void SaveScreenshot() {
        const std::string& folder = settings_.screenshotFolder;
        std::string title = WindowTitleUtf8();
        for (char& c : title)
            if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
        if (title.empty() || title[0] == '.') title = "Orvan" + title;
        char stamp[32];
        std::time_t now = std::time(nullptr);
        std::tm local;
        localtime_r(&now, &local);
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
        std::string path = folder + "/" + title + "_" + stamp + ".png";
        for (int k = 2; ::access(path.c_str(), F_OK) == 0 && k < 100; ++k)
            path = folder + "/" + title + "_" + stamp + "-" + std::to_string(k) + ".png";
        bool saved = !folder.empty() && sys::MakeFolders(folder) && WriteBackBufferPng(path);
        Log("Screenshot %s: %s", saved ? "saved" : "failed", path.c_str());
        const char* home = std::getenv("HOME");
        if (home && *home && path.compare(0, std::strlen(home) + 1, std::string(home) + "/") == 0)
            path = "~" + path.substr(std::strlen(home));
        ShowNote(saved ? "Screenshot: " + path : "The screenshot could not be saved in " + folder);
    }

    void ShowNote(const std::string& utf8) {
        if (note_) SDL_DestroyTexture(note_);
        note_ = nullptr;
        std::vector<uint32_t> pixels =
            RenderNote(sys::Utf8ToCp932(utf8), &noteWidth_, &noteHeight_);
        if (pixels.empty()) return;
        note_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                  noteWidth_, noteHeight_);
        if (!note_) return;
        SDL_UpdateTexture(note_, nullptr, pixels.data(), noteWidth_ * 4);
        SDL_SetTextureBlendMode(note_, SDL_BLENDMODE_BLEND);
        noteShown_ = SDL_GetTicks();
    }

    // The note stays two seconds and fades out over the third.
    void DrawNote() {
        if (!note_) return;
        Uint32 age = SDL_GetTicks() - noteShown_;
        if (age >= 3000) {
            SDL_DestroyTexture(note_);
            note_ = nullptr;
            return;
        }
        SDL_SetTextureAlphaMod(note_,
                               age < 2000 ? 255 : static_cast<Uint8>(255 * (3000 - age) / 1000));
        SDL_Rect at{8, kScreenHeight - noteHeight_ - 8, noteWidth_, noteHeight_};
        SDL_RenderCopy(renderer_, note_, nullptr, &at);
    }

    void OpenAudio() {
        pull_.Restart(sys::TimeGetTime());
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            Log("No audio: %s; sounds play silently", SDL_GetError());
            return;
        }
        audioUp_ = true;
        SDL_AudioSpec want{}, have{};
        want.freq = 48000;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = AudioCallback;
        audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (!audio_) {
            Log("No audio device: %s; sounds play silently", SDL_GetError());
            return;
        }
        audioRate_ = have.freq;
        Log("Audio: %d Hz, stereo", have.freq);
        SDL_PauseAudioDevice(audio_, 0);
    }

    SdlSettings settings_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* note_ = nullptr;
    int noteWidth_ = 0, noteHeight_ = 0;
    Uint32 noteShown_ = 0;
    Pads pads_;
    SDL_AudioDeviceID audio_ = 0;
    int audioRate_ = 0;
    bool videoUp_ = false, joystickUp_ = false, audioUp_ = false;
    bool active_ = true;
    bool closing_ = false;
    ClockPull pull_;
};

}  // namespace

namespace {
SdlSettings& Settings() {
    static SdlSettings settings;
    return settings;
}
}  // namespace

std::unique_ptr<Host> CreateSdlHost() {
    return std::make_unique<SdlHost>(Settings());
}
void SetSdlSettings(const SdlSettings& settings) {
    Settings() = settings;
}
void SetWindowScale(int scale) {
    Settings().scale = scale;
}

}  // namespace media
