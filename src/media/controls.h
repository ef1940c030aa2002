// The one table through which the SDL host turns the player's keys, pad buttons and sticks
// into what the game reads: DirectInput scan codes and pad bits. It knows no game action;
// the shell's configuration fills it. Pads that SDL knows as game controllers are read
// through the table; any other joystick gives its raw bits (stick, hat, buttons 1 to 24).
#pragma once

#include <cstdint>
#include <string>

namespace media {

constexpr int kHostKeys = 512;  // the keys of the host's keyboard, by scan code
// Controller inputs: buttons 0 to 20 (a b x y back guide start leftstick rightstick
// leftshoulder rightshoulder dpup dpdown dpleft dpright misc1 paddle1-4 touchpad), then
// leftx- leftx+ lefty- lefty+ rightx- rightx+ righty- righty+, lefttrigger, righttrigger.
constexpr int kPadInputs = 32;

struct ControlMap {
    uint8_t keyCode[kHostKeys];  // the scan code a key sets in the game's key state; 0: none
    int padBits[kPadInputs];     // the pad bits a controller input sets
    int screenshotKey;           // the key that saves a screenshot; -1: none
};

// Every key as the keyboard's own scan code; a controller's d-pad and left stick move, A is
// button 3 (fire), B button 1 (bomb), Start button 2 (pause); F12 saves a screenshot.
ControlMap DefaultControls();
// A key by its name ("X", "Left", "Space", "Left Shift", "Keypad 8"); -1 when unknown.
int HostKeyFromName(const std::string& name);
// A controller input by its name ("a", "start", "dpup", "leftx-"); -1 when unknown.
int PadInputFromName(const std::string& name);

}  // namespace media
