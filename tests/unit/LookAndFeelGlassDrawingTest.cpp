#include "look/GlassDrawing.h"
#include "unit/LookAndFeelTestSupport.h"

#include <gtest/gtest.h>

using looktest::isBlank;
using looktest::render;

namespace
{
const juce::Colour grey(0xFF808080);

struct LozengeSizeCase
{
    float width, height, outline;
    bool draws;
};

class LozengeSizeThreshold : public ::testing::TestWithParam<LozengeSizeCase>
{
};

TEST_P(LozengeSizeThreshold, DrawsOnlyWhenTheOutlineIsThinnerThanBothSides)
{
    const auto c = GetParam();
    const auto image = render(48, 48,
                              [&](juce::Graphics& g) {
                                  paintGlassLozenge(g, 2.0f, 2.0f, c.width, c.height, grey, c.outline, false,
                                                    false, false, false);
                              });
    EXPECT_EQ(!isBlank(image), c.draws);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LozengeSizeThreshold,
                         ::testing::Values(LozengeSizeCase{40.0f, 2.0f, 2.0f, false},
                                           LozengeSizeCase{40.0f, 2.0f, 1.2f, true},
                                           LozengeSizeCase{2.0f, 40.0f, 2.0f, false},
                                           LozengeSizeCase{2.0f, 40.0f, 1.9f, true},
                                           LozengeSizeCase{40.0f, 0.8f, 1.2f, false}));

// Row 9 of an 80 x 20 lozenge lies below the highlight and above the bottom
// corners, so only the end shading can make it vary along its length.
bool rowIsUniform(const juce::Image& image, int y, int fromX, int toX)
{
    for (int x = fromX; x <= toX; ++x)
        if (image.getPixelAt(x, y) != image.getPixelAt(fromX, y))
            return false;
    return true;
}

TEST(GlassLozenge, FlatOnAllSidesHasSquareCornersNoShadingAndAFullWidthHighlight)
{
    const auto image =
        render(80, 20,
               [](juce::Graphics& g)
               { paintGlassLozenge(g, 0.0f, 0.0f, 80.0f, 20.0f, grey, 0.5f, true, true, true, true); });

    // The body fades to 30 % alpha at top and bottom, so a covered corner is
    // far from opaque, but a rounded one would be empty.
    for (auto corner : {juce::Point<int>(0, 0), {79, 0}, {0, 19}, {79, 19}})
        EXPECT_GT(image.getPixelAt(corner.x, corner.y).getAlpha(), 128) << corner.toString();

    // Every row is the same from one side to the other, highlight rows included.
    for (int y = 1; y < 19; ++y)
        EXPECT_TRUE(rowIsUniform(image, y, 1, 78)) << "row " << y;

    // The highlight lightens the upper rows.
    EXPECT_GT(image.getPixelAt(40, 3).getBrightness(), image.getPixelAt(40, 12).getBrightness());
}

TEST(GlassLozenge, FlatOnTopKeepsSquareTopCornersRoundsTheBottomAndShadesNoEnd)
{
    const auto flatTop =
        render(80, 20,
               [](juce::Graphics& g)
               { paintGlassLozenge(g, 0.0f, 0.0f, 80.0f, 20.0f, grey, 0.5f, false, false, true, false); });
    EXPECT_GT(flatTop.getPixelAt(0, 0).getAlpha(), 128);
    EXPECT_GT(flatTop.getPixelAt(79, 0).getAlpha(), 128);
    EXPECT_EQ(flatTop.getPixelAt(0, 19).getAlpha(), 0);
    EXPECT_EQ(flatTop.getPixelAt(79, 19).getAlpha(), 0);
    EXPECT_TRUE(rowIsUniform(flatTop, 9, 1, 78));

    // The same lozenge with no flat side is shaded darker towards its ends.
    const auto round =
        render(80, 20,
               [](juce::Graphics& g)
               { paintGlassLozenge(g, 0.0f, 0.0f, 80.0f, 20.0f, grey, 0.5f, false, false, false, false); });
    EXPECT_EQ(round.getPixelAt(0, 0).getAlpha(), 0);
    EXPECT_FALSE(rowIsUniform(round, 9, 1, 78));
}

TEST(GlassLozenge, JoinedOnTheRightIsShadedAtItsLeftEndOnly)
{
    const auto image =
        render(80, 20,
               [](juce::Graphics& g)
               { paintGlassLozenge(g, 0.0f, 0.0f, 80.0f, 20.0f, grey, 0.5f, false, true, false, false); });
    EXPECT_EQ(image.getPixelAt(0, 0).getAlpha(), 0);
    EXPECT_GT(image.getPixelAt(79, 0).getAlpha(), 128);
    EXPECT_FALSE(rowIsUniform(image, 9, 1, 40));
    EXPECT_TRUE(rowIsUniform(image, 9, 40, 78));
}

TEST(GlassDrawing, TransparentColourPaintsNothing)
{
    const juce::Colour clear(0x00FF0000);
    const auto image =
        render(90, 40,
               [&](juce::Graphics& g)
               {
                   paintGlassLozenge(g, 1.0f, 1.0f, 80.0f, 20.0f, clear, 1.2f, false, false, false, false);
                   paintGlassLozenge(g, 1.0f, 22.0f, 80.0f, 16.0f, clear, 0.5f, true, false, true, false);
               });
    EXPECT_TRUE(isBlank(image));
}

struct SphereSizeCase
{
    float diameter, outline;
    bool draws;
};

class SphereSizeThreshold : public ::testing::TestWithParam<SphereSizeCase>
{
};

TEST_P(SphereSizeThreshold, DrawsOnlyWhenWiderThanItsOutline)
{
    const auto c = GetParam();
    const auto image = render(
        24, 24, [&](juce::Graphics& g) { paintGlassSphere(g, 4.0f, 4.0f, c.diameter, grey, c.outline); });
    EXPECT_EQ(!isBlank(image), c.draws);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SphereSizeThreshold,
                         ::testing::Values(SphereSizeCase{2.0f, 2.0f, false},
                                           SphereSizeCase{1.0f, 1.1f, false},
                                           SphereSizeCase{2.5f, 2.0f, true},
                                           SphereSizeCase{14.0f, 0.5f, true}));

TEST(GlassDrawing, ShinyShapeNeedsMoreThanOneAndATenthStrokes)
{
    // 1.1 x 0.9 = 0.99, so a bar 0.99 wide is the last that draws nothing.
    EXPECT_TRUE(isBlank(render(20, 20,
                               [](juce::Graphics& g) {
                                   paintShinyShape(g, 2.0f, 2.0f, 0.99f, 10.0f, 0.0f, grey, 0.9f, true, true,
                                                   true, true);
                               })));
    EXPECT_FALSE(isBlank(render(20, 20,
                                [](juce::Graphics& g) {
                                    paintShinyShape(g, 2.0f, 2.0f, 1.5f, 10.0f, 0.0f, grey, 0.9f, true, true,
                                                    true, true);
                                })));
}

// White has no saturation to change; black at 0.2 (alpha 51) over it leaves
// 255 x 204 / 256 = 203, at 0.1 (alpha 26) 255 x 229 / 256 = 228.
struct BaseColourCase
{
    bool focus, over, down;
    juce::uint32 expected;
};

class BaseColourOfWhite : public ::testing::TestWithParam<BaseColourCase>
{
};

TEST_P(BaseColourOfWhite, ContrastsByState)
{
    const auto c = GetParam();
    EXPECT_EQ(makeBaseColour(juce::Colour(0xFFFFFFFF), c.focus, c.over, c.down).getARGB(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(States, BaseColourOfWhite,
                         ::testing::Values(BaseColourCase{false, false, false, 0xFFFFFFFF},
                                           BaseColourCase{true, false, false, 0xFFFFFFFF},
                                           BaseColourCase{false, true, false, 0xFFE4E4E4},
                                           BaseColourCase{false, false, true, 0xFFCBCBCB},
                                           BaseColourCase{false, true, true, 0xFFCBCBCB},
                                           BaseColourCase{true, true, true, 0xFFCBCBCB}));

TEST(BaseColour, FocusRaisesSaturationAndItsAbsenceLowersIt)
{
    const auto half = juce::Colour::fromHSV(0.6f, 0.5f, 0.8f, 1.0f);
    EXPECT_NEAR(makeBaseColour(half, true, false, false).getSaturation(), 0.65f, 0.01f);
    EXPECT_NEAR(makeBaseColour(half, false, false, false).getSaturation(), 0.45f, 0.01f);
}

TEST(RoundedPath, CurvesOnlyTheCornersAskedFor)
{
    juce::Path p;
    makeRoundedPath(p, 0.0f, 0.0f, 40.0f, 20.0f, 10.0f, true, false, false, true);
    EXPECT_FALSE(p.contains(0.5f, 0.5f));   // top left, curved
    EXPECT_TRUE(p.contains(39.5f, 0.5f));   // top right, square
    EXPECT_TRUE(p.contains(0.5f, 19.5f));   // bottom left, square
    EXPECT_FALSE(p.contains(39.5f, 19.5f)); // bottom right, curved
    EXPECT_TRUE(p.contains(10.0f, 1.0f));
    EXPECT_EQ(p.getBounds(), juce::Rectangle<float>(0.0f, 0.0f, 40.0f, 20.0f));
}

//==============================================================================
// The framework's own glass drawing is the reference where the algorithms agree.

struct SphereCase
{
    float x, y, diameter;
    juce::uint32 colour;
    float outline;
};

class SphereMatchesFramework : public ::testing::TestWithParam<SphereCase>
{
};

TEST_P(SphereMatchesFramework, PixelForPixel)
{
    const auto c = GetParam();
    const auto ours = render(64, 64,
                             [&](juce::Graphics& g) {
                                 paintGlassSphere(g, c.x, c.y, c.diameter, juce::Colour(c.colour), c.outline);
                             });
    const auto framework = render(64, 64,
                                  [&](juce::Graphics& g) {
                                      juce::LookAndFeel_V2::drawGlassSphere(
                                          g, c.x, c.y, c.diameter, juce::Colour(c.colour), c.outline);
                                  });
    EXPECT_FALSE(looktest::isBlank(ours));
    EXPECT_EQ(looktest::maxChannelDifference(ours, framework), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SphereMatchesFramework,
                         ::testing::Values(SphereCase{0.0f, 0.0f, 14.0f, 0xB2808080, 0.5f},
                                           SphereCase{2.5f, 3.0f, 14.9f, 0x8C3273A1, 1.0f},
                                           SphereCase{4.0f, 4.0f, 56.0f, 0xFFEFF2F3, 1.1f},
                                           SphereCase{1.0f, 7.3f, 9.8f, 0x599299A5, 0.3f},
                                           SphereCase{0.0f, 0.0f, 64.0f, 0xFF00AA00, 2.0f}));

struct LozengeCase
{
    float x, y, w, h;
    juce::uint32 colour;
    float outline;
    bool left, right, top, bottom;
};

juce::Image ourLozenge(const LozengeCase& c)
{
    return render(100, 40,
                  [&](juce::Graphics& g)
                  {
                      paintGlassLozenge(g, c.x, c.y, c.w, c.h, juce::Colour(c.colour), c.outline, c.left,
                                        c.right, c.top, c.bottom);
                  });
}

juce::Image frameworkLozenge(const LozengeCase& c)
{
    return render(100, 40,
                  [&](juce::Graphics& g)
                  {
                      juce::LookAndFeel_V2::drawGlassLozenge(g, c.x, c.y, c.w, c.h, juce::Colour(c.colour),
                                                             c.outline, -1.0f, c.left, c.right, c.top,
                                                             c.bottom);
                  });
}

class SquareLozengeMatchesFramework : public ::testing::TestWithParam<LozengeCase>
{
};

// With no rounded corner the outlines are the same polygon, so everything
// else (gradients, stops, clips, rim) must agree exactly.
TEST_P(SquareLozengeMatchesFramework, PixelForPixel)
{
    const auto c = GetParam();
    const auto ours = ourLozenge(c);
    EXPECT_FALSE(looktest::isBlank(ours));
    EXPECT_EQ(looktest::maxChannelDifference(ours, frameworkLozenge(c)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SquareLozengeMatchesFramework,
    ::testing::Values(LozengeCase{1.0f, 1.0f, 98.0f, 18.0f, 0xFFD3D3D3, 0.5f, true, true, true, true},
                      LozengeCase{0.5f, 0.5f, 61.3f, 30.0f, 0xFFBBBBFF, 1.2f, true, true, true, true},
                      LozengeCase{2.3f, 4.0f, 40.0f, 12.5f, 0x80FF0000, 0.3f, true, true, true, true}));

// Rounded corners: the framework builds them from Bezier quarter circles and
// we from arcs, which JUCE flattens into a slightly different polygon. The
// bodies agree; the pictures differ only by anti-aliasing along the curves.
TEST(LozengeVersusFramework, RoundedEndsDifferOnlyAlongTheCurves)
{
    const LozengeCase c{0.35f, 0.35f, 99.3f, 25.3f, 0xFFFFFFFF, 0.7f, false, false, false, false};
    const auto ours = ourLozenge(c);
    const auto framework = frameworkLozenge(c);

    EXPECT_LE(looktest::maxChannelDifference(ours, framework), 32);

    // Between the two rounded ends (cs = 12.65) the pictures are identical.
    const auto middleOurs = ours.getClippedImage({14, 0, 72, 40});
    const auto middleFramework = framework.getClippedImage({14, 0, 72, 40});
    EXPECT_EQ(looktest::maxChannelDifference(middleOurs, middleFramework), 0);
}

// Flat on top only: the framework also drops the highlight's end indents
// when the top is flat; ours indents by the left and right sides alone, so
// the highlight stops short of the ends.
TEST(LozengeVersusFramework, FlatTopHighlightIsIndentedAtTheEnds)
{
    const LozengeCase c{0.0f, 0.0f, 100.0f, 20.0f, 0xFF808080, 0.5f, false, false, true, false};
    const auto ours = ourLozenge(c);
    const auto framework = frameworkLozenge(c);

    // cs = 10, so our highlight starts 4 pixels in; in the highlight rows the
    // first columns are lighter in the framework's picture.
    EXPECT_GT(framework.getPixelAt(1, 3).getBrightness(), ours.getPixelAt(1, 3).getBrightness());

    // The middle of the bar, away from the curved bottom corners, is the same.
    EXPECT_EQ(looktest::maxChannelDifference(ours.getClippedImage({10, 0, 80, 20}),
                                             framework.getClippedImage({10, 0, 80, 20})),
              0);
}
} // namespace
