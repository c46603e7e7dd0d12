#include "look/TemplateLookAndFeel.h"
#include "look/TitleColourWindow.h"
#include "unit/LookAndFeelTestSupport.h"
#include "windows/GlassWindowButton.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct ButtonPlacement
{
    bool onLeft;
    bool withClose;
    int closeX, maximiseX, minimiseX; // from the bar's left, or from its right end when negative
};

class TitleBarButtonLayout : public ::testing::TestWithParam<ButtonPlacement>
{
};

TEST_P(TitleBarButtonLayout, PlacesTwentyOnePixelButtonsOnATwentyFourPixelBar)
{
    const auto c = GetParam();
    TemplateLookAndFeel lnf;
    juce::DocumentWindow window("w", juce::Colours::grey, 0, false);
    juce::TextButton minimise, maximise, close;
    constexpr int barW = 300;

    lnf.positionDocumentWindowButtons(window, 0, 0, barW, 24, &minimise, &maximise,
                                      c.withClose ? &close : nullptr, c.onLeft);

    auto expectAt = [&](juce::Button& b, int x, const char* which)
    {
        const auto expectedX = x < 0 ? barW + x : x;
        EXPECT_EQ(b.getBounds(), juce::Rectangle<int>(expectedX, 0, 21, 24)) << which;
    };
    if (c.withClose)
        expectAt(close, c.closeX, "close");
    expectAt(maximise, c.maximiseX, "maximise");
    expectAt(minimise, c.minimiseX, "minimise");
}

INSTANTIATE_TEST_SUITE_P(Sides, TitleBarButtonLayout,
                         ::testing::Values(ButtonPlacement{false, true, -26, -52, -73},
                                           ButtonPlacement{true, true, 4, 46, 25},
                                           // Without a close button the next one takes its place.
                                           ButtonPlacement{false, false, 0, -26, -47},
                                           ButtonPlacement{true, false, 0, 25, 4}));

TEST(TitleBarButtonLayout, FollowsTheBarsOrigin)
{
    TemplateLookAndFeel lnf;
    juce::DocumentWindow window("w", juce::Colours::grey, 0, false);
    juce::TextButton close;
    lnf.positionDocumentWindowButtons(window, 10, 5, 200, 16, nullptr, nullptr, &close, false);
    // 16 - 2 = 14 wide; 10 + 200 - 14 - 3 = 193.
    EXPECT_EQ(close.getBounds(), juce::Rectangle<int>(193, 5, 14, 16));
}

struct IconCase
{
    int iconW, iconH;
    float fontHeight;
    int expectedW, expectedH;
};

class TitleBarIconSize : public ::testing::TestWithParam<IconCase>
{
};

TEST_P(TitleBarIconSize, IsTheFontsHeightAndTheScaledWidthPlusFour)
{
    const auto c = GetParam();
    EXPECT_EQ(TemplateLookAndFeel::getTitleBarIconSize(c.iconW, c.iconH, c.fontHeight),
              juce::Point<int>(c.expectedW, c.expectedH));
}

INSTANTIATE_TEST_SUITE_P(Icons, TitleBarIconSize,
                         ::testing::Values(IconCase{32, 16, 15.6f, 34, 15}, IconCase{16, 16, 15.6f, 19, 15},
                                           IconCase{10, 20, 13.0f, 10, 13}, IconCase{7, 3, 15.99f, 39, 15}));

//==============================================================================
struct FactoryCase
{
    int type;
    const char* name; // nullptr: no button
    juce::uint32 colour;
};

class WindowButtonFactory : public ::testing::TestWithParam<FactoryCase>
{
};

TEST_P(WindowButtonFactory, MakesGlassButtonsForCloseMinimiseAndMaximiseOnly)
{
    const auto c = GetParam();
    TemplateLookAndFeel lnf;
    std::unique_ptr<juce::Button> button(lnf.createDocumentWindowButton(c.type));

    if (c.name == nullptr)
    {
        EXPECT_EQ(button, nullptr);
        return;
    }

    ASSERT_NE(dynamic_cast<GlassWindowButton*>(button.get()), nullptr);
    EXPECT_EQ(button->getName(), c.name);

    // The sphere's colour shows at the middle of the button's upper half,
    // between the highlight and the symbol: compare its hue with the palette.
    button->setSize(60, 60);
    const auto image =
        looktest::render(60, 60, [&](juce::Graphics& g) { button->paintEntireComponent(g, false); });
    const auto expected = juce::Colour(c.colour);
    const auto seen = image.getPixelAt(30, 44);
    if (expected.getSaturation() > 0.3f)
    {
        EXPECT_NEAR(seen.getHue(), expected.getHue(), 0.03f);
    }
    EXPECT_GT(seen.getAlpha(), 100);
}

INSTANTIATE_TEST_SUITE_P(Types, WindowButtonFactory,
                         ::testing::Values(FactoryCase{4, "close", 0xFF3273A1},
                                           FactoryCase{1, "minimise", 0xFFEFF2F3},
                                           FactoryCase{2, "maximise", 0xFF9299A5}, FactoryCase{0, nullptr, 0},
                                           FactoryCase{3, nullptr, 0}, FactoryCase{8, nullptr, 0}));

TEST(WindowButtonFactory, MaximiseShowsItsOtherSymbolWhileToggled)
{
    TemplateLookAndFeel lnf;
    std::unique_ptr<juce::Button> maximise(lnf.createDocumentWindowButton(2));
    std::unique_ptr<juce::Button> close(lnf.createDocumentWindowButton(4));
    auto draw = [](juce::Button& b, bool toggled)
    {
        b.setSize(40, 40);
        b.setToggleState(toggled, juce::dontSendNotification);
        return looktest::render(40, 40, [&](juce::Graphics& g) { b.paintEntireComponent(g, false); });
    };
    EXPECT_GT(looktest::maxChannelDifference(draw(*maximise, false), draw(*maximise, true)), 50);
    EXPECT_EQ(looktest::maxChannelDifference(draw(*close, false), draw(*close, true)), 0);
}

//==============================================================================
class TitleBar : public ::testing::Test
{
protected:
    TemplateLookAndFeel lnf;

    juce::Image draw(juce::DocumentWindow& window, int w, int titleSpaceX, int titleSpaceW)
    {
        return looktest::render(
            w, 24,
            [&](juce::Graphics& g)
            { lnf.drawDocumentWindowTitleBar(window, g, w, 24, titleSpaceX, titleSpaceW, nullptr, false); });
    }
};

TEST_F(TitleBar, ShadesFromTheTitleColourToTheBackground)
{
    TitleColourWindow window("", juce::Colour(0xFFEFF2F3), juce::Colour(0xFF3273A1), 0, false);
    const auto image = draw(window, 200, 0, 200);
    // Row 0 is within half a row of the top colour, row 23 of the bottom one.
    const auto top = image.getPixelAt(100, 0);
    const auto bottom = image.getPixelAt(100, 23);
    EXPECT_NEAR(top.getRed(), 0x32, 4);
    EXPECT_NEAR(top.getBlue(), 0xA1, 4);
    EXPECT_NEAR(bottom.getRed(), 0xEF, 6);
    EXPECT_NEAR(bottom.getBlue(), 0xF3, 6);
}

TEST_F(TitleBar, WindowsWithoutATitleColourShadeFromTheSystemBlue)
{
    juce::DocumentWindow window("", juce::Colour(0xFFDDDDDD), 0, false);
    const auto top = draw(window, 200, 0, 200).getPixelAt(100, 0);
    EXPECT_NEAR(top.getRed(), 0x32, 4);
    EXPECT_NEAR(top.getBlue(), 0xA1, 4);
}

TEST_F(TitleBar, TitleStaysInsideItsSpace)
{
    // Inactive title: the background contrasted by 0.4, a mid grey.
    TitleColourWindow window("A title far too long for the little space it is given",
                             juce::Colour(0xFFEFF2F3), juce::Colour(0xFF3273A1), 0, false);
    const auto image = draw(window, 300, 100, 60);
    const auto background = draw(*std::make_unique<TitleColourWindow>("", juce::Colour(0xFFEFF2F3),
                                                                      juce::Colour(0xFF3273A1), 0, false),
                                 300, 100, 60);
    const auto changed = looktest::maxChannelDifference(image.getClippedImage({0, 0, 100, 24}),
                                                        background.getClippedImage({0, 0, 100, 24})) +
                         looktest::maxChannelDifference(image.getClippedImage({160, 0, 140, 24}),
                                                        background.getClippedImage({160, 0, 140, 24}));
    EXPECT_EQ(changed, 0);
    EXPECT_GT(looktest::maxChannelDifference(image.getClippedImage({100, 0, 60, 24}),
                                             background.getClippedImage({100, 0, 60, 24})),
              40);
}
} // namespace
