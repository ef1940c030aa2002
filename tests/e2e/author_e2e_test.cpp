// The test-play and author options reach the game through the binary's command line, and
// the input script's F-keys reach author mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

TEST(AuthorE2e, OptionsAndFunctionKeysReachTheGame) {
    TempDir dir;
    fs::copy(ORVAN_DEMO_DATA, dir / "Data", fs::copy_options::recursive);
    dir.WriteFile("in.txt", "1 F1\n");
    RunResult r = RunOrvan({"--headless",
                            "--data",
                            dir / "Data",
                            "--seed",
                            "1",
                            "--frames",
                            "2",
                            "--play",
                            "--scene-entry",
                            "3",
                            "--lives",
                            "7",
                            "--power",
                            "2",
                            "--invincible",
                            "--author",
                            "--input",
                            dir / "in.txt",
                            "--dump-state",
                            "2:" + (dir / "d.json")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    nlohmann::json d = nlohmann::json::parse(dir.ReadFile("d.json"));
    EXPECT_EQ(d["states"], (std::vector<int>{8, 11}));
    EXPECT_EQ(d["scene"]["entryIndex"], 3);
    EXPECT_EQ(d["player"]["lives"], 7);
    EXPECT_EQ(d["player"]["power"], 2);
    EXPECT_EQ(d["author"]["invincible"], true);
    EXPECT_EQ(d["author"]["overlay"], true);
    EXPECT_EQ(d["author"]["gameFrames"], 2);
}
