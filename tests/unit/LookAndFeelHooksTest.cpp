#include "look/TemplateLookAndFeel.h"
#include "unit/LookAndFeelTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using looktest::isBlank;
using looktest::render;

namespace
{
// Black at 0.2 over white: 255 x 204 / 256 = 203.
constexpr juce::uint32 whiteContrasted = 0xFFCBCBCB;

class LookAndFeelHooks : public ::testing::Test
{
protected:
    TemplateLookAndFeel lnf;

    template <typename ComponentType> void use(ComponentType& c, int w, int h)
    {
        c.setLookAndFeel(&lnf);
        c.setSize(w, h);
    }
};

/** Puts a component in a window of its own on the desktop and gives it the
    keyboard focus; under a display without focus the test is skipped. */
class FocusedOnDesktop
{
public:
    explicit FocusedOnDesktop(juce::Component& c) : content(c)
    {
        holder.setSize(c.getWidth() + 20, c.getHeight() + 20);
        holder.addAndMakeVisible(c);
        holder.addToDesktop(0);
        holder.setVisible(true);
        holder.toFront(true);
        testsupport::runMessageLoopUntil([&] { return holder.isShowing(); }, 2000);
        c.setWantsKeyboardFocus(true);
        testsupport::runMessageLoopUntil(
            [&]
            {
                c.grabKeyboardFocus();
                return c.hasKeyboardFocus(true);
            },
            3000);
    }

    ~FocusedOnDesktop() { holder.removeChildComponent(&content); }

    bool hasFocus() const { return content.hasKeyboardFocus(true); }

private:
    juce::Component& content;
    juce::Component holder;
};

//==============================================================================
TEST_F(LookAndFeelHooks, SetsThePaletteUnderTheFrameworkColourIds)
{
    const std::pair<int, juce::uint32> entries[] = {
        {juce::ComboBox::outlineColourId, 0xB2808080},
        {juce::ComboBox::buttonColourId, 0x00000000},
        {juce::PopupMenu::highlightedBackgroundColourId, 0xB2808080},
        {juce::PopupMenu::highlightedTextColourId, 0xFFFFFFFF},
        {juce::ProgressBar::foregroundColourId, 0xFFD3D3D3},
        {juce::ProgressBar::backgroundColourId, 0xFFFFFFFF},
        {juce::ScrollBar::backgroundColourId, 0x00000000},
        {juce::TextEditor::focusedOutlineColourId, 0xB2808080},
        {juce::TooltipWindow::backgroundColourId, 0xFFFFFFFF},
        {juce::TextButton::buttonColourId, 0xFFFFFFFF},
    };
    for (const auto& [id, argb] : entries)
        EXPECT_EQ(lnf.findColour(id).getARGB(), argb) << std::hex << id;
}

//==============================================================================
TEST_F(LookAndFeelHooks, DisabledButtonIsDrawnAtHalfAlpha)
{
    juce::TextButton button("b");
    use(button, 80, 20);
    const auto colour = juce::Colour(0xFF336699);

    button.setEnabled(false);
    const auto atRest =
        render(80, 20, [&](juce::Graphics& g) { lnf.drawButtonBackground(g, button, colour, false, false); });

    // Row 8 of the body sits at the gradient's full-colour stop (0.4 of 20).
    button.setEnabled(true);
    const auto enabled =
        render(80, 20, [&](juce::Graphics& g) { lnf.drawButtonBackground(g, button, colour, false, false); });
    EXPECT_NEAR(atRest.getPixelAt(40, 8).getAlpha(), enabled.getPixelAt(40, 8).getAlpha() / 2, 2);
}

TEST_F(LookAndFeelHooks, PressedButtonTwoPixelsHighDrawsNothing)
{
    juce::TextButton button("b");
    use(button, 40, 2);
    EXPECT_TRUE(isBlank(render(40, 2,
                               [&](juce::Graphics& g)
                               { lnf.drawButtonBackground(g, button, juce::Colours::white, true, true); })));
}

TEST_F(LookAndFeelHooks, ButtonJoinedOnTheRightReachesItsRightEdgeWithSquareCorners)
{
    juce::TextButton button("b");
    use(button, 60, 20);
    button.setConnectedEdges(juce::Button::ConnectedOnRight);
    const auto image = render(60, 20,
                              [&](juce::Graphics& g) {
                                  lnf.drawButtonBackground(g, button, juce::Colour(0xFF336699), false, false);
                              });
    EXPECT_EQ(image.getPixelAt(0, 0).getAlpha(), 0);
    EXPECT_GT(image.getPixelAt(59, 0).getAlpha(), 100);
    EXPECT_GT(image.getPixelAt(59, 19).getAlpha(), 100);
}

//==============================================================================
TEST_F(LookAndFeelHooks, TickIsScaledToTheWholeBoxAndReachesBeyondTheSphere)
{
    juce::ToggleButton toggle("t");
    use(toggle, 30, 30);

    // The sphere is 14 across at (0, 3); the tick's tip lands near (13.3, 0).
    auto draw = [&](bool ticked, bool enabled)
    {
        return render(20, 20,
                      [&](juce::Graphics& g) {
                          lnf.drawTickBox(g, toggle, 0.0f, 0.0f, 20.0f, 20.0f, ticked, enabled, false, false);
                      });
    };

    const auto unticked = draw(false, true);
    EXPECT_EQ(unticked.getPixelAt(13, 0).getAlpha(), 0);
    EXPECT_EQ(unticked.getPixelAt(7, 1).getAlpha(), 0);
    EXPECT_GT(unticked.getPixelAt(7, 10).getAlpha(), 200);

    const auto ticked = draw(true, true);
    EXPECT_GT(ticked.getPixelAt(13, 0).getAlpha(), 100);
    EXPECT_LT(ticked.getPixelAt(13, 0).getBrightness(), 0.1f);

    // Disabled: the tick is grey, not black.
    const auto disabled = draw(true, false);
    const auto tip = disabled.getPixelAt(13, 1);
    EXPECT_GT(tip.getAlpha(), 100);
    EXPECT_NEAR(tip.getRed(), 0x80, 8);
}

//==============================================================================
TEST_F(LookAndFeelHooks, ClosedComboBoxShowsAWhiteFaceAThinOutlineAndTwoArrows)
{
    juce::ComboBox box;
    use(box, 120, 24);
    auto draw = [&]
    {
        return render(120, 24,
                      [&](juce::Graphics& g) { lnf.drawComboBox(g, 120, 24, false, 96, 0, 24, 24, box); });
    };

    const auto image = draw();
    // Outline 0xB2808080 over white: 0x80 + (0x7F x 77) >> 8 = 166.
    EXPECT_EQ(image.getPixelAt(50, 0).getARGB(), 0xFFA6A6A6);
    EXPECT_EQ(image.getPixelAt(50, 1).getARGB(), 0xFFFFFFFF);
    // Arrow centres: black at 0.6 (alpha 153) over white leaves 255 x 102 / 255.
    EXPECT_EQ(image.getPixelAt(108, 9).getARGB(), 0xFF666666);
    EXPECT_EQ(image.getPixelAt(108, 14).getARGB(), 0xFF666666);
    // No glass bar in the button area between the arrows.
    EXPECT_EQ(image.getPixelAt(100, 12).getARGB(), 0xFFFFFFFF);

    box.setEnabled(false);
    const auto disabled = draw();
    EXPECT_EQ(disabled.getPixelAt(50, 0).getARGB(), 0xFFA6A6A6);
    EXPECT_EQ(disabled.getPixelAt(50, 1).getARGB(), 0xFFFFFFFF);
    EXPECT_EQ(disabled.getPixelAt(108, 9).getARGB(), 0xFFFFFFFF);
    EXPECT_EQ(disabled.getPixelAt(108, 14).getARGB(), 0xFFFFFFFF);
}

TEST_F(LookAndFeelHooks, FocusedComboBoxHasATwoPixelOutline)
{
    juce::ComboBox box;
    use(box, 120, 24);
    FocusedOnDesktop desktop(box);
    if (!desktop.hasFocus())
        GTEST_SKIP() << "no keyboard focus on this display";

    const auto image =
        render(120, 24, [&](juce::Graphics& g) { lnf.drawComboBox(g, 120, 24, false, 96, 0, 24, 24, box); });
    EXPECT_EQ(image.getPixelAt(50, 0).getARGB(), 0xFFA6A6A6);
    EXPECT_EQ(image.getPixelAt(50, 1).getARGB(), 0xFFA6A6A6);
    EXPECT_EQ(image.getPixelAt(50, 2).getARGB(), 0xFFFFFFFF);
}

struct ComboFontCase
{
    int height;
    float font;
};

class ComboBoxFont : public ::testing::TestWithParam<ComboFontCase>
{
};

TEST_P(ComboBoxFont, IsAtMostFifteenAndOtherwiseEightyFivePercentOfTheBox)
{
    TemplateLookAndFeel lnf;
    juce::ComboBox box;
    box.setSize(100, GetParam().height);
    EXPECT_FLOAT_EQ(lnf.getComboBoxFont(box).getHeight(), GetParam().font);
    EXPECT_FLOAT_EQ(lnf.getComboBoxListFont().getHeight(), 15.0f);
}

INSTANTIATE_TEST_SUITE_P(Heights, ComboBoxFont,
                         ::testing::Values(ComboFontCase{10, 8.5f}, ComboFontCase{30, 15.0f},
                                           ComboFontCase{20, 15.0f}, ComboFontCase{16, 13.6f}));

//==============================================================================
// White overlaid with light blue 0xADD8E6 at 0.17 (alpha 43):
// 0xAD + (0x52 x 212) >> 8 = 240, 0xD8 + (0x27 x 212) >> 8 = 248, 0xE6 + (0x19 x 212) >> 8 = 250.
constexpr juce::uint32 stripe = 0xFFF0F8FA;

struct StripeCase
{
    int height;
    std::vector<int> striped, plain;
};

class PopupStripes : public ::testing::TestWithParam<StripeCase>
{
};

// Rows 0 and height - 1 carry the outline, so stripes are read inside it.
TEST_P(PopupStripes, FallOnEveryThirdRowFromTheTop)
{
    TemplateLookAndFeel lnf;
    const auto& c = GetParam();
    const auto image =
        render(20, c.height, [&](juce::Graphics& g) { lnf.drawComboBoxListBackground(g, 20, c.height); });

    for (auto row : c.striped)
        EXPECT_EQ(image.getPixelAt(10, row).getARGB(), stripe) << "row " << row;
    for (auto row : c.plain)
        EXPECT_EQ(image.getPixelAt(10, row).getARGB(), 0xFFFFFFFF) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(Heights, PopupStripes,
                         ::testing::Values(StripeCase{8, {3, 6}, {1, 2, 4, 5}},
                                           StripeCase{7, {3}, {1, 2, 4, 5}}, StripeCase{6, {3}, {1, 2, 4}}));

TEST_F(LookAndFeelHooks, PopupStripesStartOnTheTopRowUnderTheOutline)
{
    // Without its outline (clipped away at the sides and bottom) the top row
    // shows the stripe blended under the 60 % black outline, row 1 the plain.
    const auto image = render(20, 7, [&](juce::Graphics& g) { lnf.drawComboBoxListBackground(g, 20, 7); });
    const auto plainUnderOutline = render(20, 7,
                                          [&](juce::Graphics& g)
                                          {
                                              g.fillAll(juce::Colours::white);
                                              g.setColour(juce::Colours::black.withAlpha(0.6f));
                                              g.drawRect(0, 0, 20, 7, 1);
                                          });
    EXPECT_NE(image.getPixelAt(10, 0), plainUnderOutline.getPixelAt(10, 0));
    EXPECT_NE(image.getPixelAt(10, 6), plainUnderOutline.getPixelAt(10, 6));
}

TEST_F(LookAndFeelHooks, ComboBoxPopupsUseTheListColoursAndOtherMenusTheMenuColours)
{
    lnf.setColour(juce::ListBox::backgroundColourId, juce::Colour(0xFF00FF00));
    lnf.setColour(juce::PopupMenu::backgroundColourId, juce::Colour(0xFF0000FF));
    juce::ComboBox box;
    use(box, 100, 20);

    const auto comboPopup = render(20, 8,
                                   [&](juce::Graphics& g) {
                                       lnf.drawPopupMenuBackgroundWithOptions(
                                           g, 20, 8, juce::PopupMenu::Options().withTargetComponent(&box));
                                   });
    const auto menu = render(20, 8,
                             [&](juce::Graphics& g) {
                                 lnf.drawPopupMenuBackgroundWithOptions(g, 20, 8, juce::PopupMenu::Options());
                             });
    EXPECT_EQ(comboPopup.getPixelAt(10, 1).getARGB(), 0xFF00FF00);
    EXPECT_EQ(menu.getPixelAt(10, 1).getARGB(), 0xFF0000FF);

    // Combo items are measured in the 15-pixel list font, menu items in the menu's.
    int comboW = 0, comboH = 0, menuW = 0, menuH = 0;
    lnf.getIdealPopupMenuItemSizeWithOptions("Midi Through Port-0", false, 0, comboW, comboH,
                                             juce::PopupMenu::Options().withTargetComponent(&box));
    lnf.getIdealPopupMenuItemSizeWithOptions("Midi Through Port-0", false, 0, menuW, menuH,
                                             juce::PopupMenu::Options());
    EXPECT_EQ(comboH, 20); // 15 x 1.3 = 19.5, rounded to even
    EXPECT_EQ(menuH, 22);  // 17 x 1.3 = 22.1
    EXPECT_LT(comboW, menuW);
}

TEST_F(LookAndFeelHooks, DisabledMenuBarIsFilledFlatWithTheMenuColour)
{
    juce::MenuBarComponent bar;
    use(bar, 100, 20);
    bar.setEnabled(false);
    const auto image =
        render(100, 20, [&](juce::Graphics& g) { lnf.drawMenuBarBackground(g, 100, 20, false, bar); });
    for (auto p : {juce::Point<int>(0, 0), {50, 10}, {99, 19}})
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), 0xFFFFFFFF);

    // Enabled, its side strokes fall outside the bar but the bottom one shows.
    bar.setEnabled(true);
    const auto enabled =
        render(100, 20, [&](juce::Graphics& g) { lnf.drawMenuBarBackground(g, 100, 20, false, bar); });
    EXPECT_LT(enabled.getPixelAt(50, 19).getBrightness(), enabled.getPixelAt(50, 10).getBrightness());
    EXPECT_EQ(enabled.getPixelAt(0, 10), enabled.getPixelAt(50, 10));
}

//==============================================================================
struct ProgressCase
{
    double progress;
    int lastFilledColumn; // -1: none; the 0.5 rim reaches a quarter pixel past the fill
};

class ProgressBarFill : public ::testing::TestWithParam<ProgressCase>
{
};

// A 102-pixel bar has 100 pixels inside its frame, at columns 1 to 100.
TEST_P(ProgressBarFill, IsHeldBetweenEmptyAndFull)
{
    TemplateLookAndFeel lnf;
    double value = 0.0;
    juce::ProgressBar bar(value);
    bar.setLookAndFeel(&lnf);
    bar.setSize(102, 12);

    const auto c = GetParam();
    const auto image =
        render(102, 12, [&](juce::Graphics& g) { lnf.drawProgressBar(g, bar, 102, 12, c.progress, {}); });

    if (c.lastFilledColumn < 0)
    {
        for (auto p : {juce::Point<int>(0, 6), {50, 0}, {50, 11}, {101, 6}})
            EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), whiteContrasted);
    }
    for (int x = 1; x <= 100; ++x)
    {
        const bool filled = image.getPixelAt(x, 6).getARGB() != 0xFFFFFFFF;
        EXPECT_EQ(filled, x <= c.lastFilledColumn) << "column " << x;
    }
    bar.setLookAndFeel(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Values, ProgressBarFill,
                         ::testing::Values(ProgressCase{-1.0, -1}, ProgressCase{0.0, -1},
                                           ProgressCase{0.5, 51}, ProgressCase{1.0, 100},
                                           ProgressCase{1.7, 100}));

TEST_F(LookAndFeelHooks, ProgressBarTwoPixelsHighDrawsOnlyItsFrame)
{
    double value = 0.0;
    juce::ProgressBar bar(value);
    use(bar, 50, 2);
    const auto image = render(50, 2, [&](juce::Graphics& g) { lnf.drawProgressBar(g, bar, 50, 2, 1.0, {}); });
    for (int x = 0; x < 50; ++x)
        EXPECT_EQ(image.getPixelAt(x, 0).getARGB(), whiteContrasted);
    bar.setLookAndFeel(nullptr);
}

//==============================================================================
struct ScrollbarCase
{
    int width;
    int firstSlotColumn, lastSlotColumn;
};

class ScrollbarIndent : public ::testing::TestWithParam<ScrollbarCase>
{
};

TEST_P(ScrollbarIndent, DropsBelowSixteenPixels)
{
    TemplateLookAndFeel lnf;
    juce::ScrollBar scrollbar(true);
    scrollbar.setLookAndFeel(&lnf);
    const auto c = GetParam();

    const auto slotOnly =
        render(c.width, 100,
               [&](juce::Graphics& g)
               { lnf.drawScrollbar(g, scrollbar, 0, 0, c.width, 100, true, 0, 0, false, false); });
    for (int x = 0; x < c.width; ++x)
    {
        const auto alpha = slotOnly.getPixelAt(x, 50).getAlpha();
        if (x < c.firstSlotColumn || x > c.lastSlotColumn)
            EXPECT_EQ(alpha, 0) << "column " << x;
        else
            EXPECT_GE(alpha, 250) << "column " << x;
    }

    // The white thumb starts one pixel further in; the slot beside it is dark.
    const auto withThumb =
        render(c.width, 100,
               [&](juce::Graphics& g)
               { lnf.drawScrollbar(g, scrollbar, 0, 0, c.width, 100, true, 20, 60, false, false); });
    EXPECT_LT(withThumb.getPixelAt(c.firstSlotColumn, 50).getRed(), 200);
    EXPECT_GT(withThumb.getPixelAt(c.firstSlotColumn + 2, 50).getRed(), 235);
    scrollbar.setLookAndFeel(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Widths, ScrollbarIndent,
                         ::testing::Values(ScrollbarCase{15, 0, 14}, ScrollbarCase{16, 1, 14}));

TEST_F(LookAndFeelHooks, PressedScrollbarArrowIsDarkerAndHoverChangesNothing)
{
    juce::ScrollBar scrollbar(true);
    use(scrollbar, 16, 100);
    auto draw = [&](bool over, bool down)
    {
        return render(16, 16,
                      [&](juce::Graphics& g)
                      { lnf.drawScrollbarButton(g, scrollbar, 16, 16, 0, true, over, down); });
    };
    const auto rest = draw(false, false);
    EXPECT_EQ(looktest::maxChannelDifference(rest, draw(true, false)), 0);
    EXPECT_EQ(rest.getPixelAt(8, 8).getARGB(), 0xFFFFFFFF);
    EXPECT_EQ(draw(true, true).getPixelAt(8, 8).getARGB(), whiteContrasted);

    EXPECT_TRUE(isBlank(render(16, 16,
                               [&](juce::Graphics& g)
                               { lnf.drawScrollbarButton(g, scrollbar, 16, 16, 4, true, false, false); })));
    scrollbar.setLookAndFeel(nullptr);
}

//==============================================================================
TEST_F(LookAndFeelHooks, CornerResizerDrawsFourLightAndFourDarkLines)
{
    // Inside a larger image, so the last line, which lies mostly beyond the
    // 20 x 20 grip, shows too. Along the diagonal x = y the lines cross at
    // x = 10.5 + 3k (light) and 11.25 + 3k (dark), k = 0 to 3.
    const auto image =
        render(24, 24, [&](juce::Graphics& g) { lnf.drawCornerResizer(g, 20, 20, false, false); });
    EXPECT_EQ(
        looktest::maxChannelDifference(
            image, render(24, 24, [&](juce::Graphics& g) { lnf.drawCornerResizer(g, 20, 20, true, true); })),
        0);

    juce::String pattern;
    for (int t = 0; t < 24; ++t)
    {
        const auto p = image.getPixelAt(t, t);
        pattern << (p.getAlpha() < 64 ? '.' : (p.getBrightness() > 0.6f ? 'L' : 'D'));
    }
    EXPECT_EQ(pattern, "..........LD.LD.LD.LD...");
}

//==============================================================================
TEST_F(LookAndFeelHooks, TextEditorOutlineWithDefaultColoursIsOnlyTheSoftBevel)
{
    juce::TextEditor editor;
    use(editor, 60, 20);
    const auto image =
        render(60, 20, [&](juce::Graphics& g) { lnf.drawTextEditorOutline(g, 60, 20, editor); });

    // The 1-pixel outline is transparent; the bevel in the shadow colour
    // 0x38000000 is darkest at the top edge and fades inwards and along the sides. Its
    // bottom edge lies two rows below the editor, so only its faint inner
    // ring reaches the last row.
    EXPECT_EQ(image.getPixelAt(30, 0).getARGB(), 0x38000000);
    EXPECT_LT(image.getPixelAt(30, 1).getAlpha(), 0x38);
    EXPECT_GT(image.getPixelAt(0, 10).getAlpha(), 0);
    EXPECT_EQ(image.getPixelAt(30, 10).getAlpha(), 0);
    EXPECT_LT(image.getPixelAt(30, 19).getAlpha(), 0x38 / 2);

    editor.setEnabled(false);
    EXPECT_TRUE(
        isBlank(render(60, 20, [&](juce::Graphics& g) { lnf.drawTextEditorOutline(g, 60, 20, editor); })));
}

TEST_F(LookAndFeelHooks, OnlyAFocusedEditableEditorGetsTheFocusOutline)
{
    juce::TextEditor editor;
    use(editor, 60, 20);
    FocusedOnDesktop desktop(editor);
    if (!desktop.hasFocus())
        GTEST_SKIP() << "no keyboard focus on this display";

    auto draw = [&]
    {
        return render(60, 20,
                      [&](juce::Graphics& g)
                      {
                          g.fillAll(juce::Colours::white);
                          lnf.drawTextEditorOutline(g, 60, 20, editor);
                      });
    };

    // The focus outline, 0xB2808080 (0xA6 over white), fills two rows at
    // top and bottom; the bevel only darkens it further.
    const auto focused = draw();
    for (int row : {0, 1, 18, 19})
        EXPECT_LE(focused.getPixelAt(30, row).getRed(), 0xA6) << "row " << row;

    // Read-only: a transparent 1-pixel outline, so the second and last rows
    // show only the soft bevel.
    editor.setReadOnly(true);
    const auto readOnly = draw();
    for (int row : {1, 18, 19})
        EXPECT_GT(readOnly.getPixelAt(30, row).getRed(), 0xD0) << "row " << row;
}

//==============================================================================
struct ThumbCase
{
    int width, height, radius;
};

class SliderThumbRadius : public ::testing::TestWithParam<ThumbCase>
{
};

TEST_P(SliderThumbRadius, IsSevenAtMostAndHalfTheSmallerSide)
{
    const auto c = GetParam();
    TemplateLookAndFeel lnf;
    juce::Slider slider;
    slider.setSize(c.width, c.height);
    EXPECT_EQ(lnf.getSliderThumbRadius(slider), c.radius);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SliderThumbRadius,
                         ::testing::Values(ThumbCase{10, 30, 5}, ThumbCase{40, 40, 7}, ThumbCase{200, 13, 6},
                                           ThumbCase{1, 50, 0}));

TEST_F(LookAndFeelHooks, SliderButtonsReadPlusAndMinusAndSlidersHaveNoEffect)
{
    juce::Slider slider;
    std::unique_ptr<juce::Button> up(lnf.createSliderButton(slider, true));
    std::unique_ptr<juce::Button> down(lnf.createSliderButton(slider, false));
    ASSERT_NE(dynamic_cast<juce::TextButton*>(up.get()), nullptr);
    EXPECT_EQ(up->getButtonText(), "+");
    EXPECT_EQ(up->getName(), "+");
    EXPECT_EQ(down->getButtonText(), "-");
    EXPECT_TRUE(up->getTooltip().isEmpty());
    EXPECT_EQ(lnf.getSliderEffect(slider), nullptr);
    EXPECT_EQ(lnf.getScrollbarEffect(), nullptr);
}

TEST_F(LookAndFeelHooks, BarSliderAtItsStartDrawsOnlyTheFaintBackground)
{
    juce::Slider slider(juce::Slider::LinearBar, juce::Slider::NoTextBox);
    use(slider, 100, 20);
    const auto image = render(
        100, 20,
        [&](juce::Graphics& g)
        { lnf.drawLinearSlider(g, 0, 0, 100, 20, 0.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider); });
    // White at alpha 0.5 everywhere (stored premultiplied, read back as 0xFD).
    for (auto p : {juce::Point<int>(0, 0), {1, 10}, {50, 10}, {99, 19}})
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), 0x80FDFDFD);

    const auto half = render(
        100, 20,
        [&](juce::Graphics& g)
        { lnf.drawLinearSlider(g, 0, 0, 100, 20, 50.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider); });
    // The accent is 70 % opaque: 0.5 + 0.7 x 0.5 = 0.85 over nothing.
    EXPECT_NEAR(half.getPixelAt(25, 5).getAlpha(), 217, 5);
    EXPECT_EQ(half.getPixelAt(75, 5).getARGB(), 0x80FDFDFD);
}

TEST_F(LookAndFeelHooks, LinearSliderThumbIsCentredOnTheValue)
{
    juce::Slider slider(juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    use(slider, 100, 30);
    const auto image = render(100, 30,
                              [&](juce::Graphics& g) {
                                  lnf.drawLinearSlider(g, 0, 0, 100, 30, 60.0f, 0.0f, 100.0f,
                                                       juce::Slider::LinearHorizontal, slider);
                              });
    // Radius 7: the sphere spans x 53 to 67 and y 8 to 22; the track is 7 high.
    EXPECT_EQ(image.getPixelAt(60, 9).getAlpha(), 255);
    EXPECT_EQ(image.getPixelAt(60, 6).getAlpha(), 0);
    EXPECT_GT(image.getPixelAt(20, 15).getAlpha(), 0);
    EXPECT_EQ(image.getPixelAt(20, 9).getAlpha(), 0);
}
} // namespace
