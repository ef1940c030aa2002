// The two hosts under the media core: the SDL2 host (window, present, events, keyboard, pad,
// audio device) and the headless host (no window, no audio device, virtual clock). One is
// chosen at start-up with SetHost, before MediaInit; the core never asks which it has.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/controls.h"

namespace media {

struct WindowConfig {
    std::string titleUtf8;
    bool windowed = false;
    int width = 640;
    int height = 480;
    int scale = 0;  // window size as a multiple of the screen; 0 picks one that fits
};

// Pulls mixed audio: interleaved stereo signed 16-bit frames at the device rate.
using AudioPull = void (*)(int16_t* out, int frames);

class Host {
public:
    virtual ~Host() = default;
    // MediaInit: open the window (or nothing) and the audio device. False on failure.
    virtual bool Open(const WindowConfig& config) = 0;
    // MediaEnd: close everything; a second call does nothing.
    virtual void Close() = 0;
    // Shows one 640 x 480 XRGB8888 picture.
    virtual void Present(const uint32_t* pixels, int width, int height) = 0;
    // Handles pending events. False once the window is closing. While the window is not
    // active it keeps handling events and sleeping until it is active again or a quit
    // arrives, so the game stands still in the background.
    virtual bool ProcessEvents() = 0;
    // The keyboard by DirectInput scan code (1 = held) and the first pad's bits.
    virtual void ReadInput(uint8_t keys[256], int* pad) = 0;
    // A new caption for the open window (UTF-8); the next Open uses its config's title.
    virtual void SetTitle(const std::string& titleUtf8) {}
    // The audio device's sample rate, or 0 without a device.
    virtual int AudioRate() const = 0;
    // Without an audio device, mixes and discards the samples of the time elapsed since the
    // last call, so that sounds end when they would on a sound card. Called after every
    // Present, and while StartSound waits for a sound to finish.
    virtual void PullAudioByClock(uint32_t nowMs) {}
};

std::unique_ptr<Host> CreateSdlHost();
std::unique_ptr<Host> CreateHeadlessHost();

// Chooses the host. Must be called before MediaInit; the default is the SDL host.
void SetHost(std::unique_ptr<Host> host);
Host& CurrentHost();

// Scripted or replayed input replaces the host's keyboard and pad. 'frame' counts presented
// frames: the state read after the k-th FlipScreen belongs to frame k.
using InputOverride = std::function<void(uint32_t frame, uint8_t keys[256], int* pad)>;
void SetInputOverride(InputOverride source);
// Sees the input of every frame after any override (for recording replays).
using InputObserver = std::function<void(uint32_t frame, const uint8_t keys[256], int pad)>;
void SetInputObserver(InputObserver observer);

// The mixer entry that hosts pull (from the audio thread, or by the virtual clock).
void PullAudio(int16_t* out, int frames);
// Silences what the mixer hands to the host while the voices play on (author mode's fast
// forward). Off at start.
void SetOutputMuted(bool muted);
// The rate the mixer mixes at: the device rate, or 48000 without a device.
int MixRate();

}  // namespace media

namespace media {
// How the SDL host shows the picture and reads the player; taken by CreateSdlHost.
struct SdlSettings {
    int scale = 0;  // the window's size as a multiple of 640 x 480; 0: the largest that fits
    bool integerScaling = false;  // whole multiples only in a larger window or full screen
    bool vsync = false;           // present in step with the display, where it can
    ControlMap controls = DefaultControls();
    std::string screenshotFolder;    // host path; empty: no screenshots
    std::string controllerMappings;  // a gamecontrollerdb.txt file to add, when it exists
};
void SetSdlSettings(const SdlSettings& settings);
// The SDL window's size as a multiple of 640 x 480 (0 picks the largest that fits).
void SetWindowScale(int scale);
}  // namespace media
