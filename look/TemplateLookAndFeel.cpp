#include "look/TemplateLookAndFeel.h"

#include "look/GlassDrawing.h"
#include "look/TitleColourWindow.h"
#include "windows/GlassWindowButton.h"

#include <algorithm>

namespace
{
const juce::Colour black(0xFF000000);
const juce::Colour white(0xFFFFFFFF);

bool isComboBoxPopup(const juce::PopupMenu::Options& options)
{
    return dynamic_cast<juce::ComboBox*>(options.getTargetComponent()) != nullptr;
}
} // namespace

// The framework's item drawing takes its highlight from the menu colours; a
// combo box's popup shares them only because the palette makes them equal.
static_assert(TemplateLookAndFeel::menuHighlightBackgroundColour ==
              TemplateLookAndFeel::listHighlightBackgroundColour);
static_assert(TemplateLookAndFeel::menuHighlightTextColour == TemplateLookAndFeel::listHighlightTextColour);

TemplateLookAndFeel::TemplateLookAndFeel()
{
    struct Entry
    {
        int colourId;
        juce::uint32 argb;
    };

    const Entry palette[] = {
        {juce::Slider::thumbColourId, accentColour},
        {juce::TextEditor::focusedOutlineColourId, focusOutlineColour},
        {juce::ScrollBar::backgroundColourId, scrollbarBackgroundColour},
        {juce::ScrollBar::thumbColourId, scrollbarThumbColour},
        {juce::PopupMenu::backgroundColourId, menuBackgroundColour},
        {juce::PopupMenu::textColourId, menuTextColour},
        {juce::PopupMenu::highlightedTextColourId, menuHighlightTextColour},
        {juce::PopupMenu::highlightedBackgroundColourId, menuHighlightBackgroundColour},
        {juce::ComboBox::backgroundColourId, comboBackgroundColour},
        {juce::ComboBox::textColourId, comboTextColour},
        {juce::ComboBox::outlineColourId, comboOutlineColour},
        {juce::ComboBox::buttonColourId, comboButtonColour},
        {juce::ListBox::backgroundColourId, listBackgroundColour},
        {juce::ListBox::textColourId, listTextColour},
        {juce::Slider::backgroundColourId, sliderBarColour},
        {juce::Slider::textBoxOutlineColourId, sliderBoxOutlineColour},
        {juce::ProgressBar::backgroundColourId, progressBackgroundColour},
        {juce::ProgressBar::foregroundColourId, progressForegroundColour},
        {juce::TooltipWindow::backgroundColourId, tooltipBackgroundColour},
        {juce::BubbleComponent::backgroundColourId, tooltipBackgroundColour},
        {juce::TextButton::buttonColourId, textButtonColour},
    };

    for (const auto& entry : palette)
        setColour(entry.colourId, juce::Colour(entry.argb));
}

TemplateLookAndFeel::~TemplateLookAndFeel() = default;

juce::Point<int> TemplateLookAndFeel::getTitleBarIconSize(int iconWidth, int iconHeight, float fontHeight)
{
    const auto h = (int)fontHeight;
    return {iconWidth * h / iconHeight + 4, h};
}

int TemplateLookAndFeel::getSliderThumbRadius(int sliderWidth, int sliderHeight)
{
    return std::min({7, sliderHeight / 2, sliderWidth / 2});
}

//==============================================================================
void TemplateLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                               const juce::Colour& backgroundColour, bool isMouseOverButton,
                                               bool isButtonDown)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();

    const auto outlineThickness =
        button.isEnabled() ? ((isButtonDown || isMouseOverButton) ? 1.2f : 0.7f) : 0.4f;
    const auto halfThickness = outlineThickness * 0.5f;

    const auto indentL = button.isConnectedOnLeft() ? 0.1f : halfThickness;
    const auto indentR = button.isConnectedOnRight() ? 0.1f : halfThickness;
    const auto indentT = button.isConnectedOnTop() ? 0.1f : halfThickness;
    const auto indentB = button.isConnectedOnBottom() ? 0.1f : halfThickness;

    const auto colour =
        makeBaseColour(backgroundColour, button.hasKeyboardFocus(true), isMouseOverButton, isButtonDown)
            .withMultipliedAlpha(button.isEnabled() ? 1.0f : 0.5f);

    paintGlassLozenge(g, indentL, indentT, (float)width - indentL - indentR,
                      (float)height - indentT - indentB, colour, outlineThickness, button.isConnectedOnLeft(),
                      button.isConnectedOnRight(), button.isConnectedOnTop(), button.isConnectedOnBottom());
}

void TemplateLookAndFeel::drawTickBox(juce::Graphics& g, juce::Component&, float x, float y, float w, float h,
                                      bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown)
{
    const auto boxSize = w * 0.7f;
    const auto outlineThickness = isEnabled ? ((isButtonDown || isMouseOverButton) ? 1.1f : 0.5f) : 0.3f;

    const auto accent = juce::Colour(accentColour);
    const auto colour = isEnabled ? accent : accent.withMultipliedAlpha(0.5f);

    // Always drawn as focused, so the sphere keeps its full saturation.
    paintGlassSphere(g, x, y + (h - boxSize) * 0.5f, boxSize,
                     makeBaseColour(colour, true, isMouseOverButton, isButtonDown), outlineThickness);

    if (ticked)
    {
        juce::Path tick;
        tick.startNewSubPath(1.5f, 3.0f);
        tick.lineTo(3.0f, 6.0f);
        tick.lineTo(6.0f, 0.0f);

        // Scaled to the whole box, so the tick may reach past the sphere.
        g.setColour(isEnabled ? black : juce::Colour(0xFF808080));
        g.strokePath(tick, juce::PathStrokeType(2.5f),
                     juce::AffineTransform::scale(w / 9.0f, h / 9.0f).translated(x, y));
    }
}

//==============================================================================
void TemplateLookAndFeel::drawProgressBar(juce::Graphics& g, juce::ProgressBar& bar, int width, int height,
                                          double progress, const juce::String& textToShow)
{
    const auto background = bar.findColour(juce::ProgressBar::backgroundColourId);
    const auto foreground = bar.findColour(juce::ProgressBar::foregroundColourId);

    // JUCE's bar leaves the background to the look and feel.
    g.fillAll(background);

    g.setColour(background.contrasting(0.2f));
    g.drawRect(0, 0, width, height, 1);

    const auto fillWidth = juce::jlimit(0.0f, (float)(width - 2), (float)(width - 2) * (float)progress);
    paintGlassLozenge(g, 1.0f, 1.0f, fillWidth, (float)(height - 2), foreground, 0.5f, true, true, true,
                      true);

    // ... and the percentage text too.
    if (textToShow.isNotEmpty())
    {
        g.setColour(juce::Colour::contrasting(background, foreground));
        g.setFont((float)height * 0.6f);
        g.drawText(textToShow, 0, 0, width, height, juce::Justification::centred, false);
    }
}

void TemplateLookAndFeel::drawScrollbarButton(juce::Graphics& g, juce::ScrollBar& scrollbar, int width,
                                              int height, int buttonDirection, bool, bool, bool isButtonDown)
{
    const auto w = (float)width;
    const auto h = (float)height;

    juce::Path p;

    switch (buttonDirection)
    {
    case 0:
        p.addTriangle(w * 0.5f, h * 0.2f, w * 0.1f, h * 0.7f, w * 0.9f, h * 0.7f);
        break;
    case 1:
        p.addTriangle(w * 0.8f, h * 0.5f, w * 0.3f, h * 0.1f, w * 0.3f, h * 0.9f);
        break;
    case 2:
        p.addTriangle(w * 0.5f, h * 0.8f, w * 0.1f, h * 0.3f, w * 0.9f, h * 0.3f);
        break;
    case 3:
        p.addTriangle(w * 0.2f, h * 0.5f, w * 0.7f, h * 0.1f, w * 0.7f, h * 0.9f);
        break;
    default:
        break;
    }

    const auto thumb = scrollbar.findColour(juce::ScrollBar::thumbColourId);
    g.setColour(isButtonDown ? thumb.contrasting(0.2f) : thumb);
    g.fillPath(p);

    g.setColour(black.withAlpha(0.5f));
    g.strokePath(p, juce::PathStrokeType(0.5f));
}

void TemplateLookAndFeel::drawScrollbar(juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y,
                                        int width, int height, bool isScrollbarVertical,
                                        int thumbStartPosition, int thumbSize, bool, bool)
{
    g.fillAll(scrollbar.findColour(juce::ScrollBar::backgroundColourId));

    const auto s = std::min(width, height) < 16 ? 0 : 1;
    const auto t = s + 1;

    juce::Path slot, thumb;
    juce::Point<float> p1, p2, q1, q2;

    if (isScrollbarVertical)
    {
        slot.addRoundedRectangle((float)(x + s), (float)(y + s), (float)(width - 2 * s),
                                 (float)(height - 2 * s), (float)(width - 2 * s) * 0.5f);
        if (thumbSize > 0)
            thumb.addRoundedRectangle((float)(x + t), (float)(thumbStartPosition + t), (float)(width - 2 * t),
                                      (float)(thumbSize - 2 * t), (float)(width - 2 * t) * 0.5f);

        p1 = {(float)x, 0.0f};
        p2 = {(float)x + (float)width * 0.7f, 0.0f};
        q1 = {(float)x + (float)width * 0.6f, 0.0f};
        q2 = {(float)(x + width), 0.0f};
    }
    else
    {
        slot.addRoundedRectangle((float)(x + s), (float)(y + s), (float)(width - 2 * s),
                                 (float)(height - 2 * s), (float)(height - 2 * s) * 0.5f);
        if (thumbSize > 0)
            thumb.addRoundedRectangle((float)(thumbStartPosition + t), (float)(y + t),
                                      (float)(thumbSize - 2 * t), (float)(height - 2 * t),
                                      (float)(height - 2 * t) * 0.5f);

        p1 = {0.0f, (float)y};
        p2 = {0.0f, (float)y + (float)height * 0.7f};
        q1 = {0.0f, (float)y + (float)height * 0.6f};
        q2 = {0.0f, (float)(y + height)};
    }

    const auto thumbColour = scrollbar.findColour(juce::ScrollBar::thumbColourId);

    g.setGradientFill(juce::ColourGradient(thumbColour.overlaidWith(black.withAlpha(0.27f)), p1,
                                           thumbColour.overlaidWith(black.withAlpha(0.1f)), p2, false));
    g.fillPath(slot);

    g.setGradientFill(juce::ColourGradient(black.withAlpha(0.0f), q1, black.withAlpha(0.1f), q2, false));
    g.fillPath(slot);

    g.setColour(thumbColour);
    g.fillPath(thumb);

    g.setGradientFill(juce::ColourGradient(black.withAlpha(0.05f), q1, black.withAlpha(0.0f), q2, false));
    g.saveState();
    if (isScrollbarVertical)
        g.reduceClipRegion(x + width / 2, y, width, height);
    else
        g.reduceClipRegion(x, y + height / 2, width, height);
    g.fillPath(thumb);
    g.restoreState();

    g.setColour(black.withAlpha(0.3f));
    g.strokePath(thumb, juce::PathStrokeType(0.4f));
}

juce::ImageEffectFilter* TemplateLookAndFeel::getScrollbarEffect()
{
    return nullptr;
}

//==============================================================================
void TemplateLookAndFeel::drawTextEditorOutline(juce::Graphics& g, int width, int height,
                                                juce::TextEditor& editor)
{
    if (!editor.isEnabled())
        return;

    const auto shadow = editor.findColour(juce::TextEditor::shadowColourId);

    if (editor.hasKeyboardFocus(true) && !editor.isReadOnly())
    {
        const auto s = shadow.withMultipliedAlpha(0.75f);
        g.setColour(editor.findColour(juce::TextEditor::focusedOutlineColourId));
        g.drawRect(0, 0, width, height, 2);
        // Taller than the editor, so its bottom edge falls outside: an inner shadow.
        drawBevel(g, 0, 0, width, height + 2, 4, s, s, true);
    }
    else
    {
        g.setColour(editor.findColour(juce::TextEditor::outlineColourId));
        g.drawRect(0, 0, width, height, 1);
        drawBevel(g, 0, 0, width, height + 2, 3, shadow, shadow, true);
    }
}

//==============================================================================
void TemplateLookAndFeel::paintStripedBackground(juce::Graphics& g, int width, int height,
                                                 juce::Colour background, juce::Colour text)
{
    g.fillAll(background);

    g.setColour(background.overlaidWith(juce::Colour(0xFFADD8E6).withAlpha(0.17f)));
    for (int y = 0; y < height; y += 3)
        g.fillRect(0, y, width, 1);

    g.setColour(text.withAlpha(0.6f));
    g.drawRect(0, 0, width, height, 1);
}

void TemplateLookAndFeel::drawComboBoxListBackground(juce::Graphics& g, int width, int height)
{
    paintStripedBackground(g, width, height, findColour(juce::ListBox::backgroundColourId),
                           findColour(juce::ListBox::textColourId));
}

juce::Font TemplateLookAndFeel::getComboBoxListFont()
{
    return juce::Font(15.0f, juce::Font::plain);
}

void TemplateLookAndFeel::drawPopupMenuBackground(juce::Graphics& g, int width, int height)
{
    paintStripedBackground(g, width, height, findColour(juce::PopupMenu::backgroundColourId),
                           findColour(juce::PopupMenu::textColourId));
}

void TemplateLookAndFeel::drawPopupMenuBackgroundWithOptions(juce::Graphics& g, int width, int height,
                                                             const juce::PopupMenu::Options& options)
{
    // A combo box's choices open as a popup menu; they keep the list's look.
    if (isComboBoxPopup(options))
        drawComboBoxListBackground(g, width, height);
    else
        drawPopupMenuBackground(g, width, height);
}

void TemplateLookAndFeel::drawPopupMenuItemWithOptions(juce::Graphics& g, const juce::Rectangle<int>& area,
                                                       bool isHighlighted, const juce::PopupMenu::Item& item,
                                                       const juce::PopupMenu::Options& options)
{
    if (!isComboBoxPopup(options) || item.isSeparator || item.subMenu != nullptr)
    {
        LookAndFeel_V2::drawPopupMenuItemWithOptions(g, area, isHighlighted, item, options);
        return;
    }

    auto r = area.reduced(1);

    if (isHighlighted)
    {
        g.setColour(juce::Colour(listHighlightBackgroundColour));
        g.fillRect(r);
        g.setColour(juce::Colour(listHighlightTextColour));
    }
    else
    {
        g.setColour(item.colour != juce::Colour() ? item.colour : findColour(juce::ListBox::textColourId));
    }

    if (!item.isEnabled)
        g.setOpacity(0.3f);

    auto font = getComboBoxListFont();
    font.setHeight(std::min(font.getHeight(), (float)area.getHeight() / 1.3f));
    g.setFont(font);

    const auto iconArea = r.removeFromLeft((r.getHeight() * 5) / 4).reduced(3).toFloat();

    if (item.image != nullptr)
    {
        item.image->drawWithin(g, iconArea,
                               juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize,
                               1.0f);
    }
    else if (item.isTicked)
    {
        const auto tick = getTickShape(1.0f);
        g.fillPath(tick, tick.getTransformToScaleToFit(iconArea, true));
    }

    r.removeFromRight(3);
    g.drawFittedText(item.text, r, juce::Justification::centredLeft, 1);
}

void TemplateLookAndFeel::getIdealPopupMenuItemSizeWithOptions(const juce::String& text, bool isSeparator,
                                                               int standardMenuItemHeight, int& idealWidth,
                                                               int& idealHeight,
                                                               const juce::PopupMenu::Options& options)
{
    if (!isComboBoxPopup(options) || isSeparator)
    {
        LookAndFeel_V2::getIdealPopupMenuItemSizeWithOptions(text, isSeparator, standardMenuItemHeight,
                                                             idealWidth, idealHeight, options);
        return;
    }

    auto font = getComboBoxListFont();

    if (standardMenuItemHeight > 0 && font.getHeight() > (float)standardMenuItemHeight / 1.3f)
        font.setHeight((float)standardMenuItemHeight / 1.3f);

    idealHeight =
        standardMenuItemHeight > 0 ? standardMenuItemHeight : juce::roundToInt(font.getHeight() * 1.3f);
    idealWidth = font.getStringWidth(text) + idealHeight * 2;
}

void TemplateLookAndFeel::drawMenuBarBackground(juce::Graphics& g, int width, int height, bool,
                                                juce::MenuBarComponent& menuBar)
{
    const auto colour =
        makeBaseColour(menuBar.findColour(juce::PopupMenu::backgroundColourId), false, false, false);

    // Reaches past both ends, so the side strokes fall outside the bar.
    if (menuBar.isEnabled())
        paintShinyShape(g, -4.0f, 0.0f, (float)(width + 8), (float)height, 0.0f, colour, 0.4f, true, true,
                        true, true);
    else
        g.fillAll(colour);
}

//==============================================================================
void TemplateLookAndFeel::drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown,
                                       int buttonX, int buttonY, int buttonW, int buttonH,
                                       juce::ComboBox& box)
{
    g.fillAll(box.findColour(juce::ComboBox::backgroundColourId));

    g.setColour(box.findColour(juce::ComboBox::outlineColourId));
    g.drawRect(0, 0, width, height, (box.isEnabled() && box.hasKeyboardFocus(false)) ? 2 : 1);

    const auto t = box.isEnabled() ? (isButtonDown ? 1.2f : 0.5f) : 0.3f;

    paintGlassLozenge(g, (float)buttonX + t, (float)buttonY + t, (float)buttonW - 2.0f * t,
                      (float)buttonH - 2.0f * t, box.findColour(juce::ComboBox::buttonColourId), t, true,
                      true, true, true);

    if (box.isEnabled())
    {
        const auto bx = (float)buttonX;
        const auto by = (float)buttonY;
        const auto bw = (float)buttonW;
        const auto bh = (float)buttonH;

        juce::Path p;
        p.addTriangle(bx + bw * 0.5f, by + bh * 0.25f, bx + bw * 0.7f, by + bh * 0.45f, bx + bw * 0.3f,
                      by + bh * 0.45f);
        p.addTriangle(bx + bw * 0.5f, by + bh * 0.75f, bx + bw * 0.7f, by + bh * 0.55f, bx + bw * 0.3f,
                      by + bh * 0.55f);

        g.setColour(black.withAlpha(0.6f));
        g.fillPath(p);
    }
}

juce::Font TemplateLookAndFeel::getComboBoxFont(juce::ComboBox& box)
{
    return juce::Font(std::min(15.0f, (float)box.getHeight() * 0.85f), juce::Font::plain);
}

//==============================================================================
void TemplateLookAndFeel::drawLinearSlider(juce::Graphics& g, int x, int y, int width, int height,
                                           float sliderPos, float minSliderPos, float maxSliderPos,
                                           juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const bool enabled = slider.isEnabled();
    const bool mouseOver = slider.isMouseOverOrDragging() && enabled;
    const auto accent = slider.findColour(juce::Slider::thumbColourId);

    if (style == juce::Slider::LinearBar)
    {
        g.setColour(slider.findColour(juce::Slider::backgroundColourId).withAlpha(enabled ? 0.5f : 0.15f));
        g.fillAll();

        const auto colour = makeBaseColour(enabled ? accent : accent.withMultipliedSaturation(0.5f), false,
                                           mouseOver, mouseOver || slider.isMouseButtonDown());

        paintShinyShape(g, (float)x, (float)y, sliderPos - (float)x, (float)height, 0.0f, colour,
                        enabled ? 0.9f : 0.3f, true, true, true, true);
        return;
    }

    if (style != juce::Slider::LinearHorizontal && style != juce::Slider::LinearVertical)
    {
        LookAndFeel_V2::drawLinearSlider(g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style,
                                         slider);
        return;
    }

    const bool vertical = style == juce::Slider::LinearVertical;
    const auto r = (float)getSliderThumbRadius(slider);

    const auto track = white.withAlpha(0.5f);
    const auto top = track.overlaidWith(black.withAlpha(enabled ? 0.25f : 0.13f));
    const auto bottom = track.overlaidWith(black.withAlpha(0.08f));

    juce::Path shape;

    if (vertical)
    {
        const auto tx = (float)x + (float)width * 0.5f - r * 0.5f;
        g.setGradientFill(juce::ColourGradient(top, tx, 0.0f, bottom, tx + r, 0.0f, false));
        shape.addRoundedRectangle(tx, (float)y, r, (float)height, 5.0f);
    }
    else
    {
        const auto ty = (float)y + (float)height * 0.5f - r * 0.5f;
        g.setGradientFill(juce::ColourGradient(top, 0.0f, ty, bottom, 0.0f, ty + r, false));
        shape.addRoundedRectangle((float)x, ty, (float)width, r, 5.0f);
    }

    g.fillPath(shape);
    g.setColour(black.withAlpha(0.3f));
    g.strokePath(shape, juce::PathStrokeType(0.5f));

    const auto colour = makeBaseColour(accent, slider.hasKeyboardFocus(false) && enabled, mouseOver,
                                       slider.isMouseButtonDown() && enabled);
    const auto thickness = enabled ? 0.8f : 0.3f;

    if (vertical)
        paintGlassSphere(g, (float)x + (float)width * 0.5f - r, sliderPos - r, 2.0f * r, colour, thickness);
    else
        paintGlassSphere(g, sliderPos - r, (float)y + (float)height * 0.5f - r, 2.0f * r, colour, thickness);
}

int TemplateLookAndFeel::getSliderThumbRadius(juce::Slider& slider)
{
    return getSliderThumbRadius(slider.getWidth(), slider.getHeight());
}

juce::Button* TemplateLookAndFeel::createSliderButton(juce::Slider&, bool isIncrement)
{
    return new juce::TextButton(isIncrement ? "+" : "-", juce::String());
}

juce::ImageEffectFilter* TemplateLookAndFeel::getSliderEffect(juce::Slider&)
{
    return nullptr;
}

//==============================================================================
void TemplateLookAndFeel::drawCornerResizer(juce::Graphics& g, int w, int h, bool, bool)
{
    const auto fw = (float)w;
    const auto fh = (float)h;
    const auto lt = (float)std::min(w, h) * 0.075f;

    for (float i = 0.0f; i < 1.0f; i += 0.3f)
    {
        g.setColour(juce::Colour(0xFFD3D3D3));
        g.drawLine(fw * i, fh + 1.0f, fw + 1.0f, fh * i, lt);

        g.setColour(juce::Colour(0xFF555555));
        g.drawLine(fw * i + lt, fh + 1.0f, fw + 1.0f, fh * i + lt, lt);
    }
}

//==============================================================================
void TemplateLookAndFeel::drawDocumentWindowTitleBar(juce::DocumentWindow& window, juce::Graphics& g, int w,
                                                     int h, int titleSpaceX, int titleSpaceW,
                                                     const juce::Image* icon, bool drawTitleTextOnLeft)
{
    const bool isActive = window.isActiveWindow();
    const auto background = window.getBackgroundColour();

    // Windows not made by this program have no title colour: they get ours.
    const auto* systemWindow = dynamic_cast<const TitleColourWindow*>(&window);
    const auto titleColour =
        systemWindow != nullptr ? systemWindow->getTitleBarColour() : juce::Colour(closeButtonColour);

    g.setGradientFill(juce::ColourGradient(titleColour, 0.0f, 0.0f, background, 0.0f, (float)h, false));
    g.fillAll();

    const juce::Font font((float)h * 0.65f, juce::Font::bold);
    g.setFont(font);

    auto textW = font.getStringWidth(window.getName());
    auto iconW = 0;
    auto iconH = 0;

    if (icon != nullptr)
    {
        const auto size = getTitleBarIconSize(icon->getWidth(), icon->getHeight(), font.getHeight());
        iconW = size.x;
        iconH = size.y;
    }

    textW = std::min(titleSpaceW, textW + iconW);
    auto textX = drawTitleTextOnLeft ? titleSpaceX : std::max(titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (icon != nullptr)
    {
        g.setOpacity(isActive ? 1.0f : 0.6f);
        g.drawImageWithin(*icon, textX, (h - iconH) / 2, iconW, iconH, juce::RectanglePlacement::centred,
                          false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour(background.contrasting(isActive ? 0.7f : 0.4f));
    g.drawText(window.getName(), textX, 0, textW, h, juce::Justification::centredLeft, true);
}

juce::Button* TemplateLookAndFeel::createDocumentWindowButton(int buttonType)
{
    juce::Path shape;

    if (buttonType == juce::DocumentWindow::closeButton)
    {
        shape.addLineSegment(juce::Line<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.35f);
        shape.addLineSegment(juce::Line<float>(1.0f, 0.0f, 0.0f, 1.0f), 0.35f);
        return new ::GlassWindowButton("close", juce::Colour(closeButtonColour), shape, shape);
    }

    if (buttonType == juce::DocumentWindow::minimiseButton)
    {
        shape.addLineSegment(juce::Line<float>(0.0f, 0.5f, 1.0f, 0.5f), 0.25f);
        return new ::GlassWindowButton("minimise", juce::Colour(minimiseButtonColour), shape, shape);
    }

    if (buttonType == juce::DocumentWindow::maximiseButton)
    {
        shape.addLineSegment(juce::Line<float>(0.5f, 0.0f, 0.5f, 1.0f), 0.25f);
        shape.addLineSegment(juce::Line<float>(0.0f, 0.5f, 1.0f, 0.5f), 0.25f);

        // Two overlapping squares, shown while the window is full screen.
        juce::Path fullScreenShape;
        fullScreenShape.startNewSubPath(45.0f, 100.0f);
        fullScreenShape.lineTo(0.0f, 100.0f);
        fullScreenShape.lineTo(0.0f, 0.0f);
        fullScreenShape.lineTo(100.0f, 0.0f);
        fullScreenShape.lineTo(100.0f, 45.0f);
        fullScreenShape.addRectangle(45.0f, 45.0f, 100.0f, 100.0f);
        juce::PathStrokeType(30.0f).createStrokedPath(fullScreenShape, fullScreenShape);

        return new ::GlassWindowButton("maximise", juce::Colour(maximiseButtonColour), shape,
                                       fullScreenShape);
    }

    return nullptr;
}

void TemplateLookAndFeel::positionDocumentWindowButtons(juce::DocumentWindow&, int titleBarX, int titleBarY,
                                                        int titleBarW, int titleBarH,
                                                        juce::Button* minimiseButton,
                                                        juce::Button* maximiseButton,
                                                        juce::Button* closeButton,
                                                        bool positionTitleBarButtonsOnLeft)
{
    const auto buttonW = titleBarH - titleBarH / 8;

    auto x = positionTitleBarButtonsOnLeft ? titleBarX + 4 : titleBarX + titleBarW - buttonW - buttonW / 4;

    if (closeButton != nullptr)
    {
        closeButton->setBounds(x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -(buttonW + buttonW / 4);
    }

    if (positionTitleBarButtonsOnLeft)
        std::swap(minimiseButton, maximiseButton);

    if (maximiseButton != nullptr)
    {
        maximiseButton->setBounds(x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -buttonW;
    }

    if (minimiseButton != nullptr)
        minimiseButton->setBounds(x, titleBarY, buttonW, titleBarH);
}
