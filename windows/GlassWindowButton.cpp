#include "windows/GlassWindowButton.h"

#include "look/GlassDrawing.h"

GlassWindowButton::GlassWindowButton(const juce::String& name, const juce::Colour& colourToUse,
                                     const juce::Path& normalShapeToUse, const juce::Path& toggledShapeToUse)
    : juce::Button(name), colour(colourToUse), normalShape(normalShapeToUse), toggledShape(toggledShapeToUse)
{
}

GlassWindowButton::~GlassWindowButton() = default;

void GlassWindowButton::paintButton(juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    auto alpha = isMouseOverButton ? (isButtonDown ? 1.0f : 0.8f) : 0.55f;

    if (!isEnabled())
        alpha *= 0.5f;

    const auto w = (float)getWidth();
    const auto h = (float)getHeight();

    // Centred along the longer side.
    auto x = 0.0f;
    auto y = 0.0f;
    auto d = 0.0f;

    if (w < h)
    {
        d = w;
        y = (h - w) * 0.5f;
    }
    else
    {
        d = h;
        x = (w - h) * 0.5f;
    }

    x += d * 0.05f;
    y += d * 0.05f;
    d *= 0.9f;

    g.setGradientFill(juce::ColourGradient(juce::Colour::greyLevel(0.9f).withAlpha(alpha), 0.0f, y + d,
                                           juce::Colour::greyLevel(0.6f).withAlpha(alpha), 0.0f, y, false));
    g.fillEllipse(x, y, d, d);

    x += 2.0f;
    y += 2.0f;
    d -= 4.0f;

    paintGlassSphere(g, x, y, d, colour.withAlpha(alpha), 1.0f);

    const auto& shape = getToggleState() ? toggledShape : normalShape;
    const auto transform = shape.getTransformToScaleToFit(x + d * 0.3f, y + d * 0.3f, d * 0.4f, d * 0.4f,
                                                          true, juce::Justification::centred);

    g.setColour(juce::Colours::black.withAlpha(alpha * 0.6f));
    g.fillPath(shape, transform);
}
