#include "windows/GlassWindowButton.h"
#include "unit/LookAndFeelTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct GlassButtonCase
{
    int w, h;
    juce::Point<int> insideDisc[2];
    juce::Point<int> outsideDisc[4];
};

class GlassButtonCircle : public ::testing::TestWithParam<GlassButtonCase>
{
};

TEST_P(GlassButtonCircle, IsNinetyPercentOfTheShortSideCentredOnTheLongOne)
{
    const auto c = GetParam();
    GlassWindowButton button("b", juce::Colour(0xFF3273A1), {}, {});
    button.setSize(c.w, c.h);
    const auto image =
        looktest::render(c.w, c.h, [&](juce::Graphics& g) { button.paintButton(g, false, false); });
    for (auto p : c.insideDisc)
        EXPECT_GT(image.getPixelAt(p.x, p.y).getAlpha(), 60) << p.toString();
    for (auto p : c.outsideDisc)
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getAlpha(), 0) << p.toString();
}

// 21 x 24: d = 18.9 at (1.05, 2.55), reaching x 19.95 and y 21.45.
// 40 x 20: d = 18 at (11, 1), reaching x 29 and y 19.
INSTANTIATE_TEST_SUITE_P(
    Shapes, GlassButtonCircle,
    ::testing::Values(GlassButtonCase{21, 24, {{10, 3}, {10, 20}}, {{10, 1}, {10, 22}, {0, 12}, {20, 12}}},
                      GlassButtonCase{
                          40, 20, {{11, 10}, {28, 10}}, {{10, 10}, {29, 10}, {20, 0}, {20, 19}}}));

struct GlassAlphaCase
{
    bool enabled, over, down;
    int alpha;
};

class GlassButtonOpacity : public ::testing::TestWithParam<GlassAlphaCase>
{
};

// In an 80 x 80 button the grey disc spans 4 to 76 and the sphere's rim
// starts at 5.5, so pixel (40, 4) is disc alone: its alpha is the button's
// opacity times the pixel's coverage, which the fully opaque state shows.
TEST_P(GlassButtonOpacity, FollowsTheMouseAndHalvesWhenDisabled)
{
    const auto c = GetParam();
    GlassWindowButton button("b", juce::Colour(0xFF3273A1), {}, {});
    button.setSize(80, 80);
    button.setEnabled(c.enabled);
    const auto image =
        looktest::render(80, 80, [&](juce::Graphics& g) { button.paintButton(g, c.over, c.down); });
    const auto full = looktest::render(80, 80,
                                       [&](juce::Graphics& g)
                                       {
                                           GlassWindowButton opaque("o", juce::Colour(0xFF3273A1), {}, {});
                                           opaque.setSize(80, 80);
                                           opaque.paintButton(g, true, true);
                                       });
    const auto coverage = full.getPixelAt(40, 4).getAlpha() / 255.0f;
    EXPECT_GT(coverage, 0.9f);
    EXPECT_NEAR(image.getPixelAt(40, 4).getAlpha(), (float)c.alpha * coverage, 1.5f);
}

// 0.55 x 255 = 140, 0.8 x 255 = 204, 0.275 x 255 = 70, 0.4 x 255 = 102.
INSTANTIATE_TEST_SUITE_P(
    States, GlassButtonOpacity,
    ::testing::Values(GlassAlphaCase{true, false, false, 140}, GlassAlphaCase{true, false, true, 140},
                      GlassAlphaCase{true, true, false, 204}, GlassAlphaCase{true, true, true, 255},
                      GlassAlphaCase{false, false, false, 70}, GlassAlphaCase{false, true, false, 102}));

TEST(GlassButtonDisc, IsLighterAtTheBottomThanAtTheTop)
{
    GlassWindowButton button("b", juce::Colour(0xFF3273A1), {}, {});
    button.setSize(80, 80);
    const auto image =
        looktest::render(80, 80, [&](juce::Graphics& g) { button.paintButton(g, true, true); });
    // Grey 0.6 (153) at the disc's top edge y = 4, 0.9 (230) at its bottom y = 76.
    EXPECT_NEAR(image.getPixelAt(40, 4).getRed(), 154, 3);
    EXPECT_NEAR(image.getPixelAt(40, 75).getRed(), 229, 3);
}

TEST(GlassButtonSymbol, IsScaledIntoTheMiddleOfTheSphere)
{
    juce::Path square;
    square.addRectangle(0.0f, 0.0f, 500.0f, 500.0f);
    GlassWindowButton button("b", juce::Colour(0xFFFFFFFF), square, square);
    button.setSize(40, 40);
    const auto image =
        looktest::render(40, 40, [&](juce::Graphics& g) { button.paintButton(g, true, true); });
    // Sphere at 4 with d = 32: the symbol fills 13.6 to 26.4 in black at 0.6
    // over a white sphere: 255 x 0.4 = 102.
    for (auto p : {juce::Point<int>(20, 20), {14, 14}, {25, 25}, {14, 25}})
        EXPECT_NEAR(image.getPixelAt(p.x, p.y).getRed(), 102, 6) << p.toString();
    for (auto p : {juce::Point<int>(12, 20), {27, 20}, {20, 12}, {20, 27}})
        EXPECT_GT(image.getPixelAt(p.x, p.y).getRed(), 200) << p.toString();
}
} // namespace
