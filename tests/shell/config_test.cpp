// The player's configuration file: what each setting does, how controls are remapped, and
// that a bad line is reported by its number while the rest still applies.
#include "shell/config.h"

#include <gtest/gtest.h>

namespace {

int Key(const char* name) {
    return media::HostKeyFromName(name);
}
int Pad(const char* name) {
    return media::PadInputFromName(name);
}

TEST(Config, SettingsApplyAndControlsAreRemapped) {
    TConfig c;
    std::vector<std::string> messages;
    ParseConfig(
        "# a comment\n"
        "author = yes\n"
        "[window]\n"
        "Scale = 3   # names and values in any case\n"
        "integer_scaling = on\n"
        "fullscreen = no\n"
        "vsync = YES\n"
        "[keyboard]\n"
        "right = D, Keypad 6\n"
        "fire = Space\n"
        "screenshot = F11\n"
        "[pad]\n"
        "fire = x, righttrigger\n"
        "pause = none\n",
        "c.conf", &c, &messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_TRUE(c.author);
    EXPECT_EQ(c.scale, 3);
    EXPECT_TRUE(c.integerScaling);
    EXPECT_EQ(c.fullscreen, 0);
    EXPECT_TRUE(c.vsync);
    const media::ControlMap& m = c.controls;
    EXPECT_EQ(m.keyCode[Key("D")], 0xCD);
    EXPECT_EQ(m.keyCode[Key("Keypad 6")], 0xCD);
    EXPECT_EQ(m.keyCode[Key("Right")], 0);  // no longer right
    EXPECT_EQ(m.keyCode[Key("Space")], 0x2D);
    EXPECT_EQ(m.keyCode[Key("X")], 0);
    EXPECT_EQ(m.keyCode[Key("Z")], 0x2C);  // untouched actions keep their keys
    EXPECT_EQ(m.keyCode[Key("A")], 0x1E);  // and other keys their own codes
    EXPECT_EQ(m.screenshotKey, Key("F11"));
    EXPECT_EQ(m.padBits[Pad("x")], 0x40);
    EXPECT_EQ(m.padBits[Pad("righttrigger")], 0x40);
    EXPECT_EQ(m.padBits[Pad("a")], 0);
    EXPECT_EQ(m.padBits[Pad("b")], 0x10);
    EXPECT_EQ(m.padBits[Pad("start")], 0);
    EXPECT_EQ(m.padBits[Pad("leftx-")], 0x2);
}

TEST(Config, ABadLineIsReportedWithItsNumberAndTheRestApplies) {
    TConfig c;
    std::vector<std::string> messages;
    ParseConfig(
        "[window]\n"
        "scale = 40\n"
        "vsync = maybe\n"
        "scale = 2\n"
        "sclae = 1\n"
        "no equals here\n"
        "[keyboard]\n"
        "fire = NoSuchKey\n"
        "bomb = X\n"
        "[nowhere]\n"
        "x = 1\n"
        "[pad]\n"
        "fire = q\n"
        "[window\n",
        "c.conf", &c, &messages);
    const std::vector<std::string> expected = {
        "c.conf:2: scale: the scale is a whole number from 0 to 16, not '40'",
        "c.conf:3: vsync: 'maybe' is not yes or no",
        "c.conf:5: 'sclae' is not a setting of [window]",
        "c.conf:6: expected 'name = value', got 'no equals here'",
        "c.conf:8: fire: 'NoSuchKey' is not a key",
        "c.conf:9: bomb: takes a key that fire had (applied)",
        "c.conf:10: there is no section [nowhere]",
        "c.conf:13: fire: 'q' is not a pad button or stick",
        "c.conf:14: a section's name ends with ']'",
    };
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(c.scale, 2);
    EXPECT_FALSE(c.vsync);
    EXPECT_EQ(c.controls.keyCode[Key("X")], 0x2C);
    EXPECT_EQ(c.controls.keyCode[Key("Z")], 0);
    EXPECT_EQ(c.controls.padBits[Pad("a")], 0x40);
}

TEST(Config, CommandLineLinesOverrideTheFile) {
    TConfig c;
    std::vector<std::string> messages;
    ParseConfig("[window]\nscale = 2\n", "c.conf", &c, &messages);
    for (const char* line : {"window.scale = 4", "keyboard.fire=Space", "author=yes", "window.x=1"})
        ParseConfigOverride(line, &c, &messages);
    EXPECT_EQ(c.scale, 4);
    EXPECT_EQ(c.controls.keyCode[Key("Space")], 0x2D);
    EXPECT_TRUE(c.author);
    EXPECT_EQ(messages,
              std::vector<std::string>{"--set 'window.x=1': 'x' is not a setting of [window]"});
}

}  // namespace
