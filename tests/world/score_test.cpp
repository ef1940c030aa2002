#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "media/media.h"
#include "project/project.h"
#include "render/score_texts.h"
#include "sys/sys.h"
#include "world/score_panel.h"

TEST(ScorePanel, AddScoreStopsAtNineDigitsAndTheBestFollows) {
    TScorePanel panel;
    panel.score = 999999950u;
    panel.best = 5u;
    panel.AddScore(100);
    EXPECT_EQ(panel.score, 999999999u);
    EXPECT_EQ(panel.best, 999999999u);
    panel.score = 999999000u;
    panel.AddScore(INT_MAX);
    EXPECT_EQ(panel.score, 999999999u);
}

TEST(ScorePanel, BestOnlyRises) {
    TScorePanel panel;
    panel.best = 1000u;
    panel.AddScore(300);
    EXPECT_EQ(panel.score, 300u);
    EXPECT_EQ(panel.best, 1000u);
    panel.AddScore(800);
    EXPECT_EQ(panel.best, 1100u);
}

TEST(ScorePanel, NegativeAmountsTakeAwayButStopAtZero) {
    TScorePanel panel;
    panel.score = 50u;
    panel.best = 70u;
    panel.AddScore(-20);
    EXPECT_EQ(panel.score, 30u);
    panel.AddScore(-100);
    EXPECT_EQ(panel.score, 0u);  // not wrapped round to the nine-digit maximum
    EXPECT_EQ(panel.best, 70u);
    panel.AddScore(INT_MIN);
    EXPECT_EQ(panel.score, 0u);
    panel.score = 30u;
    panel.AddScore(-30);
    EXPECT_EQ(panel.score, 0u);
}

TEST(ScorePanel, SetupPlacesThePanelPictureAndClearsBothScores) {
    sys::SetMessageBoxesToStderr(true);
    auto project = std::make_unique<TProject>();
    TScorePanel panel;
    panel.best = 7u;
    panel.score = 9u;
    panel.Setup(project.get(), nullptr);
    sys::ClearQuit();  // without a font engine the font is a checked failure
    EXPECT_EQ(panel.project, project.get());
    EXPECT_DOUBLE_EQ(project->sprites[1].drawX, 416.0);
    EXPECT_DOUBLE_EQ(project->sprites[1].drawY, 0.0);
    EXPECT_EQ(panel.best, 0u);
    EXPECT_EQ(panel.score, 0u);
    EXPECT_EQ(panel.font.colour, MakeColor(255, 255, 255));
}

TEST(ScoreTexts, NumbersHaveTheirMinimumWidths) {
    TScoreTexts texts;
    texts.Format(999999999u, 1234u, 100, -1);
    EXPECT_STREQ(texts.Best().c_str(), "999999999");
    EXPECT_STREQ(texts.Score().c_str(), "000001234");
    EXPECT_STREQ(texts.Bombs().c_str(), "100");  // a minimum width, not a cut
    EXPECT_STREQ(texts.Lives().c_str(), "00");   // after the last life
    texts.Format(0u, 0u, 3, 7);
    EXPECT_STREQ(texts.Best().c_str(), "000000000");
    EXPECT_STREQ(texts.Bombs().c_str(), "03");
    EXPECT_STREQ(texts.Lives().c_str(), "07");
}

TEST(ScoreTexts, FormattingAgainReusesTheSameBuffers) {
    TScoreTexts texts;
    texts.Format(1u, 2u, 3, 4);
    const char* best = texts.Best().c_str();
    const char* lives = texts.Lives().c_str();
    texts.Format(4294967295u, 4294967295u, 2147483647, 2147483647);
    EXPECT_EQ(texts.Best().c_str(), best);
    EXPECT_EQ(texts.Lives().c_str(), lives);
    EXPECT_STREQ(texts.Best().c_str(), "4294967295");
    EXPECT_STREQ(texts.Lives().c_str(), "2147483647");
}
