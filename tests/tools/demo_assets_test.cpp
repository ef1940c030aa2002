// The demo's generated assets: pictures of the sizes game.json gives them, sounds that
// decode and are neither silent nor clipped.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

#include "image_size.h"
#include "tool_runner.h"

namespace {

using Json = nlohmann::json;

std::string Asset(const std::string& name) {
    return std::string(ORVAN_DEMO_ASSETS) + "/" + name;
}

// Peak and RMS of 16-bit mono PCM.
void Levels(const int16_t* samples, size_t count, double& peak, double& rms) {
    double sum = 0;
    peak = 0;
    for (size_t i = 0; i < count; ++i) {
        double v = samples[i] / 32768.0;
        peak = std::max(peak, std::fabs(v));
        sum += v * v;
    }
    rms = count ? std::sqrt(sum / count) : 0;
}

}  // namespace

TEST(DemoAssets, EveryPictureHasTheSizeItsSpriteDescribes) {
    Json game = Json::parse(ReadText(ORVAN_DEMO_JSON));
    ASSERT_FALSE(game["sprites"].empty());
    for (const Json& s : game["sprites"]) {
        int w = 0, h = 0;
        std::string image = s["image"];
        ASSERT_TRUE(tool::ReadImageSize(Asset(image), w, h)) << image;
        int frames = s["animate"] ? s["frameCount"].get<int>() : 1;
        EXPECT_EQ(w, s["frameWidth"].get<int>() * frames) << image;
        EXPECT_EQ(h, s["frameHeight"].get<int>()) << image;
    }
    int w = 0, h = 0;
    ASSERT_TRUE(tool::ReadImageSize(Asset("Frame.png"), w, h));
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 39);
}

TEST(DemoAssets, SoundsDecodeAndAreAudible) {
    Json game = Json::parse(ReadText(ORVAN_DEMO_JSON));
    for (const Json& s : game["sounds"]) {
        std::string file = s["source"];
        std::vector<int16_t> pcm;
        if (file.size() > 4 && file.substr(file.size() - 4) == ".ogg") {
            OggVorbis_File vf;
            ASSERT_EQ(ov_fopen(Asset(file).c_str(), &vf), 0) << file;
            EXPECT_EQ(ov_info(&vf, -1)->channels, 1);
            char buf[8192];
            int section = 0;
            long got;
            while ((got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0) {
                size_t at = pcm.size();
                pcm.resize(at + got / 2);
                std::memcpy(pcm.data() + at, buf, static_cast<size_t>(got / 2) * 2);
            }
            ov_clear(&vf);
            // Music loops last several seconds.
            EXPECT_GT(pcm.size(), 22050u * 5) << file;
        } else {
            std::string wav = ReadText(Asset(file));
            ASSERT_GT(wav.size(), 44u) << file;
            EXPECT_EQ(wav.substr(0, 4), "RIFF");
            EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
            pcm.resize((wav.size() - 44) / 2);
            std::memcpy(pcm.data(), wav.data() + 44, pcm.size() * 2);
        }
        double peak, rms;
        Levels(pcm.data(), pcm.size(), peak, rms);
        EXPECT_GT(rms, 0.02) << file;
        EXPECT_LT(peak, 0.999) << file;
    }
}
