#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The updater's one look and feel: glass buttons and spheres on a
    white-and-grey palette, a blue-to-grey title bar with glass window
    buttons. Everything it does not draw itself is JUCE's V2 drawing in the
    palette's colours.

    Each palette entry that has a JUCE colour id of the same role is set
    under that id in the constructor, and the hooks read it back from the
    component they draw, so a component's own colour still wins. The tick-box
    sphere, the drop-down highlight and the window buttons have no such id
    and use the constants. */
class TemplateLookAndFeel : public juce::LookAndFeel_V2
{
public:
    static constexpr juce::uint32 accentColour = 0xB2808080;
    static constexpr juce::uint32 focusOutlineColour = accentColour;
    static constexpr juce::uint32 scrollbarBackgroundColour = 0x00000000;
    static constexpr juce::uint32 scrollbarThumbColour = 0xFFFFFFFF;
    static constexpr juce::uint32 menuBackgroundColour = 0xFFFFFFFF;
    static constexpr juce::uint32 menuTextColour = 0xFF000000;
    static constexpr juce::uint32 listBackgroundColour = 0xFFFFFFFF;
    static constexpr juce::uint32 listTextColour = 0xFF000000;
    static constexpr juce::uint32 listHighlightTextColour = listBackgroundColour;
    static constexpr juce::uint32 listHighlightBackgroundColour = 0xB2808080;
    static constexpr juce::uint32 menuHighlightTextColour = menuBackgroundColour;
    static constexpr juce::uint32 menuHighlightBackgroundColour = listHighlightBackgroundColour;
    static constexpr juce::uint32 comboBackgroundColour = 0xFFFFFFFF;
    static constexpr juce::uint32 comboTextColour = 0xFF000000;
    static constexpr juce::uint32 comboOutlineColour = 0xB2808080;
    static constexpr juce::uint32 sliderBarColour = 0xFFFFFFFF;
    static constexpr juce::uint32 sliderBoxOutlineColour = comboOutlineColour;
    static constexpr juce::uint32 progressBackgroundColour = 0xFFFFFFFF;
    static constexpr juce::uint32 progressForegroundColour = 0xFFD3D3D3;
    static constexpr juce::uint32 tooltipBackgroundColour = 0xFFFFFFFF;
    static constexpr juce::uint32 minimiseButtonColour = 0xFFEFF2F3;
    static constexpr juce::uint32 maximiseButtonColour = 0xFF9299A5;
    static constexpr juce::uint32 closeButtonColour = 0xFF3273A1;

    /** The framework's own button defaults, which JUCE 7 no longer has: white
        text buttons, and combo boxes whose arrow button has no colour. */
    static constexpr juce::uint32 textButtonColour = 0xFFFFFFFF;
    static constexpr juce::uint32 comboButtonColour = 0x00000000;

    TemplateLookAndFeel();
    ~TemplateLookAndFeel() override;

    /** Size of a title-bar icon drawn beside a title in a font of the given
        height: as high as the font (truncated), as wide as the icon scaled to
        that height plus a 4-pixel gap. */
    static juce::Point<int> getTitleBarIconSize(int iconWidth, int iconHeight, float fontHeight);

    /** Thumb radius of a linear slider of the given size. */
    static int getSliderThumbRadius(int sliderWidth, int sliderHeight);

    /** Background of a combo box's drop-down list; every other popup menu
        gets the same striped drawing in the menu colours. */
    void drawComboBoxListBackground(juce::Graphics& g, int width, int height);

    /** Font of a combo box's drop-down items. */
    juce::Font getComboBoxListFont();

    //==============================================================================
    void drawButtonBackground(juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                              bool isMouseOverButton, bool isButtonDown) override;
    void drawTickBox(juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                     bool isEnabled, bool isMouseOverButton, bool isButtonDown) override;

    void drawProgressBar(juce::Graphics&, juce::ProgressBar&, int width, int height, double progress,
                         const juce::String& textToShow) override;
    void drawScrollbarButton(juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                             bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;
    void drawScrollbar(juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                       bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver,
                       bool isMouseDown) override;
    juce::ImageEffectFilter* getScrollbarEffect() override;

    void drawTextEditorOutline(juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawPopupMenuBackground(juce::Graphics&, int width, int height) override;
    void drawPopupMenuBackgroundWithOptions(juce::Graphics&, int width, int height,
                                            const juce::PopupMenu::Options&) override;
    void drawPopupMenuItemWithOptions(juce::Graphics&, const juce::Rectangle<int>& area, bool isHighlighted,
                                      const juce::PopupMenu::Item&, const juce::PopupMenu::Options&) override;
    void getIdealPopupMenuItemSizeWithOptions(const juce::String& text, bool isSeparator,
                                              int standardMenuItemHeight, int& idealWidth, int& idealHeight,
                                              const juce::PopupMenu::Options&) override;
    void drawMenuBarBackground(juce::Graphics&, int width, int height, bool isMouseOverBar,
                               juce::MenuBarComponent&) override;

    void drawComboBox(juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                      int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont(juce::ComboBox&) override;

    void drawLinearSlider(juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                          juce::Slider&) override;
    int getSliderThumbRadius(juce::Slider&) override;
    juce::Button* createSliderButton(juce::Slider&, bool isIncrement) override;
    juce::ImageEffectFilter* getSliderEffect(juce::Slider&) override;

    void drawCornerResizer(juce::Graphics&, int w, int h, bool isMouseOver, bool isMouseDragging) override;

    void drawDocumentWindowTitleBar(juce::DocumentWindow&, juce::Graphics&, int w, int h, int titleSpaceX,
                                    int titleSpaceW, const juce::Image* icon,
                                    bool drawTitleTextOnLeft) override;
    juce::Button* createDocumentWindowButton(int buttonType) override;
    void positionDocumentWindowButtons(juce::DocumentWindow&, int titleBarX, int titleBarY, int titleBarW,
                                       int titleBarH, juce::Button* minimiseButton,
                                       juce::Button* maximiseButton, juce::Button* closeButton,
                                       bool positionTitleBarButtonsOnLeft) override;

private:
    static void paintStripedBackground(juce::Graphics&, int width, int height, juce::Colour background,
                                       juce::Colour text);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(TemplateLookAndFeel)
};
