// The SDL2 host: a resizable window (or desktop full screen) showing the 640 x 480 picture
// scaled with black bars, keyboard by DirectInput scan code, the first joystick, and the
// audio device pulling the mixer from SDL's audio thread.
#include <SDL.h>

#include <vector>

#include "media/clock_pull.h"
#include "media/core.h"
#include "sys/sys.h"

namespace media {
namespace {

// SDL scancode -> DirectInput scan code (0 when the game has no use for the key).
uint8_t DirectInputCode(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9)
        return static_cast<uint8_t>(0x02 + (s - SDL_SCANCODE_1));
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F10)
        return static_cast<uint8_t>(0x3B + (s - SDL_SCANCODE_F1));
    static const struct {
        SDL_Scancode sdl;
        uint8_t di;
    } table[] = {
        {SDL_SCANCODE_ESCAPE, 0x01},      {SDL_SCANCODE_0, 0x0B},
        {SDL_SCANCODE_MINUS, 0x0C},       {SDL_SCANCODE_EQUALS, 0x0D},
        {SDL_SCANCODE_BACKSPACE, 0x0E},   {SDL_SCANCODE_TAB, 0x0F},
        {SDL_SCANCODE_Q, 0x10},           {SDL_SCANCODE_W, 0x11},
        {SDL_SCANCODE_E, 0x12},           {SDL_SCANCODE_R, 0x13},
        {SDL_SCANCODE_T, 0x14},           {SDL_SCANCODE_Y, 0x15},
        {SDL_SCANCODE_U, 0x16},           {SDL_SCANCODE_I, 0x17},
        {SDL_SCANCODE_O, 0x18},           {SDL_SCANCODE_P, 0x19},
        {SDL_SCANCODE_LEFTBRACKET, 0x1A}, {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
        {SDL_SCANCODE_RETURN, 0x1C},      {SDL_SCANCODE_LCTRL, 0x1D},
        {SDL_SCANCODE_A, 0x1E},           {SDL_SCANCODE_S, 0x1F},
        {SDL_SCANCODE_D, 0x20},           {SDL_SCANCODE_F, 0x21},
        {SDL_SCANCODE_G, 0x22},           {SDL_SCANCODE_H, 0x23},
        {SDL_SCANCODE_J, 0x24},           {SDL_SCANCODE_K, 0x25},
        {SDL_SCANCODE_L, 0x26},           {SDL_SCANCODE_SEMICOLON, 0x27},
        {SDL_SCANCODE_APOSTROPHE, 0x28},  {SDL_SCANCODE_GRAVE, 0x29},
        {SDL_SCANCODE_LSHIFT, 0x2A},      {SDL_SCANCODE_BACKSLASH, 0x2B},
        {SDL_SCANCODE_Z, 0x2C},           {SDL_SCANCODE_X, 0x2D},
        {SDL_SCANCODE_C, 0x2E},           {SDL_SCANCODE_V, 0x2F},
        {SDL_SCANCODE_B, 0x30},           {SDL_SCANCODE_N, 0x31},
        {SDL_SCANCODE_M, 0x32},           {SDL_SCANCODE_COMMA, 0x33},
        {SDL_SCANCODE_PERIOD, 0x34},      {SDL_SCANCODE_SLASH, 0x35},
        {SDL_SCANCODE_RSHIFT, 0x36},      {SDL_SCANCODE_KP_MULTIPLY, 0x37},
        {SDL_SCANCODE_LALT, 0x38},        {SDL_SCANCODE_SPACE, 0x39},
        {SDL_SCANCODE_CAPSLOCK, 0x3A},    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
        {SDL_SCANCODE_SCROLLLOCK, 0x46},  {SDL_SCANCODE_KP_7, 0x47},
        {SDL_SCANCODE_KP_8, 0x48},        {SDL_SCANCODE_KP_9, 0x49},
        {SDL_SCANCODE_KP_MINUS, 0x4A},    {SDL_SCANCODE_KP_4, 0x4B},
        {SDL_SCANCODE_KP_5, 0x4C},        {SDL_SCANCODE_KP_6, 0x4D},
        {SDL_SCANCODE_KP_PLUS, 0x4E},     {SDL_SCANCODE_KP_1, 0x4F},
        {SDL_SCANCODE_KP_2, 0x50},        {SDL_SCANCODE_KP_3, 0x51},
        {SDL_SCANCODE_KP_0, 0x52},        {SDL_SCANCODE_KP_PERIOD, 0x53},
        {SDL_SCANCODE_F11, 0x57},         {SDL_SCANCODE_F12, 0x58},
        {SDL_SCANCODE_KP_ENTER, 0x9C},    {SDL_SCANCODE_RCTRL, 0x9D},
        {SDL_SCANCODE_KP_DIVIDE, 0xB5},   {SDL_SCANCODE_RALT, 0xB8},
        {SDL_SCANCODE_PAUSE, 0xC5},       {SDL_SCANCODE_HOME, 0xC7},
        {SDL_SCANCODE_UP, 0xC8},          {SDL_SCANCODE_PAGEUP, 0xC9},
        {SDL_SCANCODE_LEFT, 0xCB},        {SDL_SCANCODE_RIGHT, 0xCD},
        {SDL_SCANCODE_END, 0xCF},         {SDL_SCANCODE_DOWN, 0xD0},
        {SDL_SCANCODE_PAGEDOWN, 0xD1},    {SDL_SCANCODE_INSERT, 0xD2},
        {SDL_SCANCODE_DELETE, 0xD3},      {SDL_SCANCODE_LGUI, 0xDB},
        {SDL_SCANCODE_RGUI, 0xDC},        {SDL_SCANCODE_APPLICATION, 0xDD},
    };
    for (const auto& e : table)
        if (e.sdl == s) return e.di;
    return 0;
}

void AudioCallback(void*, Uint8* stream, int len) {
    PullAudio(reinterpret_cast<int16_t*>(stream), len / 4);
}

class SdlHost final : public Host {
public:
    explicit SdlHost(int scale) : scale_(scale) {}
    ~SdlHost() override { Close(); }

    bool Open(const WindowConfig& config) override {
        if (window_) return true;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            Log("SDL video could not start: %s", SDL_GetError());
            return false;
        }
        videoUp_ = true;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        int scale = scale_;
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
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            Log("No renderer: %s", SDL_GetError());
            Close();
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, config.width, config.height);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     config.width, config.height);
        if (!texture_) {
            Log("No texture: %s", SDL_GetError());
            Close();
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) {
            joystickUp_ = true;
            OpenFirstJoystick();
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
        if (joystick_) SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        if (joystickUp_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        joystickUp_ = false;
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
        SDL_RenderPresent(renderer_);
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
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (int i = 0; i < 256; ++i) keys[i] = 0;
        for (int s = 0; s < count; ++s) {
            if (!state[s]) continue;
            uint8_t code = DirectInputCode(static_cast<SDL_Scancode>(s));
            if (code) keys[code] = 1;
        }
        *pad = ReadPad();
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
                break;
            case SDL_JOYDEVICEADDED:
                if (!joystick_) OpenFirstJoystick();
                break;
            case SDL_JOYDEVICEREMOVED:
                if (joystick_ && e.jdevice.which == SDL_JoystickInstanceID(joystick_)) {
                    SDL_JoystickClose(joystick_);
                    joystick_ = nullptr;
                    OpenFirstJoystick();
                }
                break;
            default:
                break;
        }
    }

    void OpenFirstJoystick() {
        if (SDL_NumJoysticks() > 0) joystick_ = SDL_JoystickOpen(0);
    }

    int ReadPad() {
        if (!joystick_) return 0;
        int bits = 0;
        // Axes to -1000..1000 with a dead zone of a quarter of the travel; any reading off
        // centre after that sets the direction.
        auto axis = [&](int i) {
            if (i >= SDL_JoystickNumAxes(joystick_)) return 0;
            int v = SDL_JoystickGetAxis(joystick_, i) * 1000 / 32767;
            return (v > -250 && v < 250) ? 0 : v;
        };
        int x = axis(0), y = axis(1);
        if (y > 0) bits |= 0x1;
        if (x < 0) bits |= 0x2;
        if (x > 0) bits |= 0x4;
        if (y < 0) bits |= 0x8;
        if (SDL_JoystickNumHats(joystick_) > 0) {
            Uint8 hat = SDL_JoystickGetHat(joystick_, 0);
            if (hat & SDL_HAT_DOWN) bits |= 0x1;
            if (hat & SDL_HAT_LEFT) bits |= 0x2;
            if (hat & SDL_HAT_RIGHT) bits |= 0x4;
            if (hat & SDL_HAT_UP) bits |= 0x8;
        }
        int buttons = SDL_JoystickNumButtons(joystick_);
        for (int k = 0; k < 24 && k < buttons; ++k)
            if (SDL_JoystickGetButton(joystick_, k)) bits |= 0x10 << k;
        return bits;
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

    int scale_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Joystick* joystick_ = nullptr;
    SDL_AudioDeviceID audio_ = 0;
    int audioRate_ = 0;
    bool videoUp_ = false, joystickUp_ = false, audioUp_ = false;
    bool active_ = true;
    bool closing_ = false;
    ClockPull pull_;
};

}  // namespace

int g_sdlWindowScale = 0;
std::unique_ptr<Host> CreateSdlHost() {
    return std::make_unique<SdlHost>(g_sdlWindowScale);
}
void SetWindowScale(int scale) {
    g_sdlWindowScale = scale;
}

}  // namespace media
