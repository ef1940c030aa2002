// Keyboard and pads for the SDL host, through the control table.
#include "media/sdl_input.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

namespace media {
namespace {

constexpr int kButtons = 21;                // controller buttons before the stick directions
constexpr int kLeftTrigger = kButtons + 8;  // after the four sticks' two directions
constexpr int kRightTrigger = kButtons + 9;
static_assert(kRightTrigger < kPadInputs, "the table holds every controller input");

// A quarter of the travel, as the game's own joystick set-up asks for.
constexpr int kDeadZone = 8192;

// The keyboard's own scan code for an SDL key (0 when the game has no use for the key).
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

}  // namespace

ControlMap DefaultControls() {
    ControlMap map;
    for (int k = 0; k < kHostKeys; ++k)
        map.keyCode[k] = DirectInputCode(static_cast<SDL_Scancode>(k));
    std::fill(std::begin(map.padBits), std::end(map.padBits), 0);
    auto bind = [&](const char* name, int bits) { map.padBits[PadInputFromName(name)] |= bits; };
    bind("dpdown", 0x1);
    bind("lefty+", 0x1);
    bind("dpleft", 0x2);
    bind("leftx-", 0x2);
    bind("dpright", 0x4);
    bind("leftx+", 0x4);
    bind("dpup", 0x8);
    bind("lefty-", 0x8);
    bind("b", 0x10);
    bind("start", 0x20);
    bind("a", 0x40);
    map.screenshotKey = SDL_SCANCODE_F12;
    return map;
}

int HostKeyFromName(const std::string& name) {
    // SDL's own lookup compares the name with every key's in turn; a configuration line may
    // name many keys, so the names are put in a table once (in lower case; the first key of
    // a name wins, as in SDL's lookup).
    static const std::unordered_map<std::string, int> byName = [] {
        std::unordered_map<std::string, int> table;
        for (int s = SDL_SCANCODE_UNKNOWN + 1; s < SDL_NUM_SCANCODES; ++s) {
            std::string key = SDL_GetScancodeName(static_cast<SDL_Scancode>(s));
            if (key.empty()) continue;
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            table.emplace(key, s);
        }
        return table;
    }();
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto it = byName.find(key);
    return it != byName.end() && it->second < kHostKeys ? it->second : -1;
}

int PadInputFromName(const std::string& name) {
    if (SDL_strcasecmp(name.c_str(), "lefttrigger") == 0) return kLeftTrigger;
    if (SDL_strcasecmp(name.c_str(), "righttrigger") == 0) return kRightTrigger;
    if (!name.empty() && (name.back() == '-' || name.back() == '+')) {
        SDL_GameControllerAxis axis =
            SDL_GameControllerGetAxisFromString(name.substr(0, name.size() - 1).c_str());
        if (axis < SDL_CONTROLLER_AXIS_LEFTX || axis > SDL_CONTROLLER_AXIS_RIGHTY) return -1;
        return kButtons + 2 * axis + (name.back() == '+');
    }
    SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(name.c_str());
    return b > SDL_CONTROLLER_BUTTON_INVALID && b < kButtons ? static_cast<int>(b) : -1;
}

void ReadKeys(const ControlMap& map, uint8_t keys[256]) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::memset(keys, 0, 256);
    for (int s = 0; s < count && s < kHostKeys; ++s)
        if (state[s] && map.keyCode[s]) keys[map.keyCode[s]] = 1;
}

void Pads::OpenAll() {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
}

void Pads::Open(int index) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    for (SDL_GameController* c : controllers_)
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)) == id) return;
    if (joystick_ && SDL_JoystickInstanceID(joystick_) == id) return;
    if (SDL_IsGameController(index)) {
        if (SDL_GameController* c = SDL_GameControllerOpen(index)) controllers_.push_back(c);
    } else if (!joystick_) {
        joystick_ = SDL_JoystickOpen(index);
    }
}

void Pads::Close() {
    for (SDL_GameController* c : controllers_) SDL_GameControllerClose(c);
    controllers_.clear();
    if (joystick_) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
}

void Pads::Handle(const SDL_Event& e) {
    if (e.type == SDL_JOYDEVICEADDED) Open(e.jdevice.which);
    if (e.type != SDL_JOYDEVICEREMOVED) return;
    for (size_t i = 0; i < controllers_.size(); ++i)
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controllers_[i])) ==
            e.jdevice.which) {
            SDL_GameControllerClose(controllers_[i]);
            controllers_.erase(controllers_.begin() + i);
            return;
        }
    if (joystick_ && SDL_JoystickInstanceID(joystick_) == e.jdevice.which) {
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        // Another raw joystick that is still there takes its place.
        for (int i = 0; i < SDL_NumJoysticks() && !joystick_; ++i)
            if (!SDL_IsGameController(i)) Open(i);
    }
}

int Pads::Read(const ControlMap& map) const {
    int bits = 0;
    for (SDL_GameController* c : controllers_) {
        for (int b = 0; b < kButtons; ++b)
            if (SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)))
                bits |= map.padBits[b];
        for (int a = SDL_CONTROLLER_AXIS_LEFTX; a <= SDL_CONTROLLER_AXIS_RIGHTY; ++a) {
            int v = SDL_GameControllerGetAxis(c, static_cast<SDL_GameControllerAxis>(a));
            if (v < -kDeadZone) bits |= map.padBits[kButtons + 2 * a];
            if (v > kDeadZone) bits |= map.padBits[kButtons + 2 * a + 1];
        }
        if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) > 16384)
            bits |= map.padBits[kLeftTrigger];
        if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > 16384)
            bits |= map.padBits[kRightTrigger];
    }
    // A joystick SDL has no layout for gives its raw bits, as the game always read them; it
    // is not read beside a controller, so that a motion sensor or tablet that calls itself a
    // joystick cannot steer the ship.
    if (!controllers_.empty() || !joystick_) return bits;
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

}  // namespace media
