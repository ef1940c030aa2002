// The command line, the replay files it names, and the configuration file.
#include "shell/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/replay.h"

namespace {

// Parses the words of 'line' after the program name into 'out', with the messages kept off
// the test's output.
int Parse(const std::string& line, TRunOptions* out) {
    std::vector<std::string> args = {"orvan"};
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStderr();
    const int code = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out);
    testing::internal::GetCapturedStderr();
    return code;
}

// The other options are read by the headless runs of the binary (tests/e2e), whose dumps
// show each of them.
TEST(CommandLine, ReadsTheWindowOptionsAndNoneMeansTheGamesOwnStart) {
    TRunOptions none;
    EXPECT_EQ(Parse("", &none), -1);
    EXPECT_TRUE(none.dataDir.empty() && !none.headless && none.windowMode == -1);
    EXPECT_FALSE(none.author || none.play || none.invincible);
    EXPECT_EQ(none.sceneEntry + none.lives + none.power, -3);
    TRunOptions o, f;
    ASSERT_EQ(Parse("--scale 3 --windowed --screenshot 5:a", &o) + Parse("--fullscreen", &f), -2);
    EXPECT_EQ((std::vector<int>{o.scale, o.windowMode, int(o.screenshots[0].frame), f.windowMode}),
              (std::vector<int>{3, 1, 5, 0}));
    EXPECT_EQ(Parse("--version", &o), 0);
}

TEST(CommandLine, RefusesMalformedValuesWithCode2) {
    for (const char* bad :
         {"--frames sixty", "--frames -1", "--seed 99999999999", "--seed 4294967296",
          "--dump-state s.json", "--dump-state 0:s.json", "--screenshot 3:", "--bogus",
          "--fullscreen --windowed", "--record a --replay b", "--input a --replay b", "--scale 17",
          "--power 6", "--lives 100", "--scene-entry -1", "--lives x"}) {
        TRunOptions o;
        EXPECT_EQ(Parse(bad, &o), 2) << bad;
    }
}

// A replay file keeps the seed, the last frame and each frame's keys and pad bits; anything
// else is refused with its line. (Recordings are replayed in headless_e2e_test.cpp.)
TEST(Replay, KeepsTheSeedAndInputAndRefusesOtherFilesByLine) {
    TReplay r, back;
    r.seed = 4242;
    uint8_t keys[256] = {}, out[256] = {};
    keys[0x2D] = 1;
    r.RecordInput(61, keys, 0x40);
    std::string error;
    ASSERT_TRUE(back.Parse(r.Serialize(), &error)) << error;
    int pad = 0;
    back.ApplyInput(61, out, &pad);
    EXPECT_EQ(
        (std::vector<uint32_t>{back.seed, back.lastFrame, out[0x2D], out[0x2C], uint32_t(pad)}),
        (std::vector<uint32_t>{4242, 61, 1, 0, 0x40}));
    EXPECT_FALSE(back.Parse("hello\n", &error));
    EXPECT_FALSE(back.Parse("orvan-replay 1\ni 3 zz 100\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}

// The player's configuration file: what each setting does, how controls are remapped, and
// that a bad line is reported by its number while the rest still applies.
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
