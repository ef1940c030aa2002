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
        "# a comment\nauthor = yes\n[window]\nScale = 3   # any case\n"
        "integer_scaling = on\nfullscreen = no\nvsync = YES\n"
        "[keyboard]\nright = D, Keypad 6\nfire = Space\nscreenshot = F11\n"
        "[pad]\nfire = x, righttrigger\npause = none\n",
        "c.conf", &c, &messages);
    EXPECT_TRUE(messages.empty()) << messages[0];
    EXPECT_TRUE(c.author && c.integerScaling && c.vsync);
    EXPECT_EQ(c.scale, 3);
    EXPECT_EQ(c.fullscreen, 0);
    EXPECT_EQ(c.controls.screenshotKey, Key("F11"));
    // Remapped actions leave their old keys; other actions and keys keep theirs.
    const std::pair<const char*, int> keys[] = {{"D", 0xCD},     {"Keypad 6", 0xCD}, {"Right", 0},
                                                {"Space", 0x2D}, {"X", 0},           {"Z", 0x2C},
                                                {"A", 0x1E}};
    for (const auto& k : keys) EXPECT_EQ(c.controls.keyCode[Key(k.first)], k.second) << k.first;
    const std::pair<const char*, int> pads[] = {
        {"x", 0x40}, {"righttrigger", 0x40}, {"a", 0}, {"b", 0x10}, {"start", 0}, {"leftx-", 0x2}};
    for (const auto& p : pads) EXPECT_EQ(c.controls.padBits[Pad(p.first)], p.second) << p.first;
    // Lines of the command line override the file.
    for (const char* line : {"window.scale = 4", "keyboard.bomb=Q", "author=no", "window.x=1"})
        ParseConfigOverride(line, &c, &messages);
    EXPECT_EQ(std::make_tuple(c.scale, c.author, c.controls.keyCode[Key("Q")]),
              std::make_tuple(4, false, 0x2C));
    EXPECT_EQ(messages,
              std::vector<std::string>{"--set 'window.x=1': 'x' is not a setting of [window]"});
}

TEST(Config, ABadLineIsReportedWithItsNumberAndTheRestApplies) {
    TConfig c;
    std::vector<std::string> messages;
    ParseConfig(
        "[window]\nscale = 40\nvsync = maybe\nscale = 2\nsclae = 1\nno equals here\n"
        "[keyboard]\nfire = NoSuchKey\nbomb = X\n[nowhere]\nx = 1\n[pad]\nfire = q\n"
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

}  // namespace
