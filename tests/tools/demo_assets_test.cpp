// The demo's generated sounds decode and are neither silent nor clipped (the sizes of its
// pictures are orvan-tool check's, in tool_check_test.cpp).
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace {

using Json = nlohmann::json;

std::string Asset(const std::string& name) {
    return std::string(ORVAN_DEMO_ASSETS) + "/" + name;
}

// The 16-bit mono samples of an Ogg Vorbis or a plain 44-byte-header WAV file.
std::vector<int16_t> Decode(const std::string& file) {
    std::string bytes;
    if (file.size() > 4 && file.substr(file.size() - 4) == ".ogg") {
        OggVorbis_File vf;
        if (ov_fopen(Asset(file).c_str(), &vf) != 0) return {};
        EXPECT_EQ(ov_info(&vf, -1)->channels, 1) << file;
        char buf[8192];
        int section = 0;
        for (long got; (got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0;)
            bytes.append(buf, static_cast<size_t>(got));
        ov_clear(&vf);
    } else {
        std::string wav = ReadText(Asset(file));
        if (wav.size() <= 44 || wav.substr(0, 4) != "RIFF" || wav.substr(8, 8) != "WAVEfmt ")
            return {};
        bytes = wav.substr(44);
    }
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

}  // namespace

TEST(DemoAssets, SoundsDecodeAndAreAudible) {
    Json game = Json::parse(ReadText(ORVAN_DEMO_JSON));
    for (const Json& s : game["sounds"]) {
        std::string file = s["source"];
        std::vector<int16_t> pcm = Decode(file);
        ASSERT_FALSE(pcm.empty()) << file;
        // Music loops last several seconds.
        EXPECT_TRUE(file.substr(file.size() - 4) != ".ogg" || pcm.size() > 22050u * 5) << file;
        double peak = 0, sum = 0;
        for (int16_t v : pcm) {
            peak = std::max(peak, std::fabs(v / 32768.0));
            sum += (v / 32768.0) * (v / 32768.0);
        }
        EXPECT_GT(std::sqrt(sum / pcm.size()), 0.02) << file;
        EXPECT_LT(peak, 0.999) << file;
    }
}
