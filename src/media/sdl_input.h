// The SDL host's keyboard and pads (internal to the media layer).
#pragma once

#include <SDL.h>

#include <vector>

#include "media/controls.h"

namespace media {

// Keys, through the control table.
void ReadKeys(const ControlMap& map, uint8_t keys[256]);

// Every attached pad: game controllers through the control table; while there is none, the
// first other joystick with its raw bits. Pads come and go while the game runs.
class Pads {
public:
    ~Pads() { Close(); }
    void OpenAll();
    void Close();
    // SDL_JOYDEVICEADDED and SDL_JOYDEVICEREMOVED.
    void Handle(const SDL_Event& e);
    int Read(const ControlMap& map) const;

private:
    void Open(int deviceIndex);
    std::vector<SDL_GameController*> controllers_;
    SDL_Joystick* joystick_ = nullptr;
};

}  // namespace media
