#include "look/GlassDrawing.h"

#include <algorithm>

juce::Colour makeBaseColour(juce::Colour colour, bool hasKeyboardFocus, bool isMouseOver, bool isButtonDown)
{
    const auto base = colour.withMultipliedSaturation(hasKeyboardFocus ? 1.3f : 0.9f);

    if (isButtonDown)
        return base.contrasting(0.2f);

    if (isMouseOver)
        return base.contrasting(0.1f);

    return base;
}

void makeRoundedPath(juce::Path& path, float x, float y, float w, float h, float cornerSize,
                     bool curveTopLeft, bool curveTopRight, bool curveBottomLeft, bool curveBottomRight)
{
    const auto cs = cornerSize;
    const auto cs2 = 2.0f * cs;

    if (curveTopLeft)
    {
        path.startNewSubPath(x, y + cs);
        path.addArc(x, y, cs2, cs2, 4.712389f, 6.2831855f);
    }
    else
    {
        path.startNewSubPath(x, y);
    }

    if (curveTopRight)
    {
        path.lineTo(x + w - cs, y);
        path.addArc(x + w - cs2, y, cs2, cs2, 0.0f, 1.5707964f);
    }
    else
    {
        path.lineTo(x + w, y);
    }

    if (curveBottomRight)
    {
        path.lineTo(x + w, y + h - cs);
        path.addArc(x + w - cs2, y + h - cs2, cs2, cs2, 1.5707964f, 3.1415927f);
    }
    else
    {
        path.lineTo(x + w, y + h);
    }

    if (curveBottomLeft)
    {
        path.lineTo(x + cs, y + h);
        path.addArc(x, y + h - cs2, cs2, cs2, 3.1415927f, 4.712389f);
    }
    else
    {
        path.lineTo(x, y + h);
    }

    path.closeSubPath();
}

void paintGlassLozenge(juce::Graphics& g, float x, float y, float width, float height, juce::Colour colour,
                       float outlineThickness, bool flatOnLeft, bool flatOnRight, bool flatOnTop,
                       bool flatOnBottom)
{
    if (outlineThickness >= width || outlineThickness >= height)
        return;

    const auto ix = (int)x;
    const auto iy = (int)y;
    const auto iw = (int)width;
    const auto ih = (int)height;

    const auto cs = std::min(width * 0.5f, height * 0.5f);
    const auto edge = height * 0.75f + (height - 2.0f * cs);
    const auto iedge = (int)edge;

    const bool curveTopLeft = !(flatOnLeft || flatOnTop);
    const bool curveTopRight = !(flatOnRight || flatOnTop);
    const bool curveBottomLeft = !(flatOnLeft || flatOnBottom);
    const bool curveBottomRight = !(flatOnRight || flatOnBottom);

    juce::Path outline;
    makeRoundedPath(outline, x, y, width, height, cs, curveTopLeft, curveTopRight, curveBottomLeft,
                    curveBottomRight);

    {
        juce::ColourGradient body(colour.darker(0.2f), 0.0f, y, colour.darker(0.2f), 0.0f, y + height, false);
        body.addColour(0.03, colour.withMultipliedAlpha(0.3f));
        body.addColour(0.4, colour);
        body.addColour(0.97, colour.withMultipliedAlpha(0.3f));
        g.setGradientFill(body);
        g.fillPath(outline);
    }

    juce::ColourGradient shading(juce::Colour(0x00000000), x + edge, y + height * 0.5f, colour.darker(0.2f),
                                 x, y + height * 0.5f, true);
    shading.addColour(1.0 - (cs * 0.5f) / edge, juce::Colour(0x00000000));
    shading.addColour(1.0 - (cs * 0.25f) / edge, colour.darker(0.2f).withMultipliedAlpha(0.3f));

    if (!(flatOnLeft || flatOnTop || flatOnBottom))
    {
        g.saveState();
        g.setGradientFill(shading);
        g.reduceClipRegion(ix, iy, iedge, ih);
        g.fillPath(outline);
        g.restoreState();
    }

    if (!(flatOnRight || flatOnTop || flatOnBottom))
    {
        shading.point1.setX(x + width - edge);
        shading.point2.setX(x + width);
        g.saveState();
        g.setGradientFill(shading);
        g.reduceClipRegion(ix + iw - iedge, iy, iedge + 2, ih);
        g.fillPath(outline);
        g.restoreState();
    }

    {
        const auto leftIndent = flatOnLeft ? 0.0f : cs * 0.4f;
        const auto rightIndent = flatOnRight ? 0.0f : cs * 0.4f;

        juce::Path highlight;
        makeRoundedPath(highlight, x + leftIndent, y + cs * 0.1f, width - (leftIndent + rightIndent),
                        height * 0.4f, cs * 0.4f, curveTopLeft, curveTopRight, curveBottomLeft,
                        curveBottomRight);

        g.setGradientFill(juce::ColourGradient(colour.brighter(10.0f), 0.0f, y + height * 0.06f,
                                               juce::Colour(0x00FFFFFF), 0.0f, y + height * 0.4f, false));
        g.fillPath(highlight);
    }

    g.setColour(colour.darker(0.4f).withMultipliedAlpha(1.5f));
    g.strokePath(outline, juce::PathStrokeType(outlineThickness));
}

void paintGlassSphere(juce::Graphics& g, float x, float y, float diameter, juce::Colour colour,
                      float outlineThickness)
{
    if (diameter <= outlineThickness)
        return;

    const auto d = diameter;
    const auto white = juce::Colour(0xFFFFFFFF);
    const auto black = juce::Colour(0xFF000000);

    {
        const auto pale = white.overlaidWith(colour.withMultipliedAlpha(0.3f));
        juce::ColourGradient body(pale, 0.0f, y, pale, 0.0f, y + d, false);
        body.addColour(0.4, white.overlaidWith(colour));
        g.setGradientFill(body);
        g.fillEllipse(x, y, d, d);
    }

    g.setGradientFill(juce::ColourGradient(white, 0.0f, y + d * 0.06f, juce::Colour(0x00FFFFFF), 0.0f,
                                           y + d * 0.3f, false));
    g.fillEllipse(x + d * 0.2f, y + d * 0.05f, d * 0.6f, d * 0.4f);

    {
        juce::ColourGradient shade(juce::Colour(0x00000000), x + d * 0.5f, y + d * 0.5f,
                                   black.withAlpha(colour.getFloatAlpha() * outlineThickness * 0.5f), x,
                                   y + d * 0.5f, true);
        shade.addColour(0.7, juce::Colour(0x00000000));
        shade.addColour(0.8, black.withAlpha(outlineThickness * 0.1f));
        g.setGradientFill(shade);
        g.fillEllipse(x, y, d, d);
    }

    g.setColour(black.withAlpha(colour.getFloatAlpha() * 0.5f));
    g.drawEllipse(x, y, d, d, outlineThickness);
}

void paintShinyShape(juce::Graphics& g, float x, float y, float w, float h, float maxCornerSize,
                     juce::Colour baseColour, float strokeWidth, bool flatOnLeft, bool flatOnRight,
                     bool flatOnTop, bool flatOnBottom)
{
    if (w <= strokeWidth * 1.1f || h <= strokeWidth * 1.1f)
        return;

    const auto cs = std::min({maxCornerSize, w * 0.5f, h * 0.5f});

    juce::Path outline;
    makeRoundedPath(outline, x, y, w, h, cs, !(flatOnLeft || flatOnTop), !(flatOnRight || flatOnTop),
                    !(flatOnLeft || flatOnBottom), !(flatOnRight || flatOnBottom));

    const auto white = juce::Colour(0xFFFFFFFF);
    const auto blue = juce::Colour(0xFF0000FF);

    juce::ColourGradient fill(baseColour.overlaidWith(white.withAlpha(0.0f)), 0.0f, y,
                              baseColour.overlaidWith(blue.withAlpha(0.03f)), 0.0f, y + h, false);
    fill.addColour(0.5, baseColour.overlaidWith(white.withAlpha(0.2f)));
    fill.addColour(0.51, baseColour.overlaidWith(blue.withAlpha(0.07f)));
    g.setGradientFill(fill);
    g.fillPath(outline);

    g.setColour(juce::Colour(0xFF000000).withAlpha(0.5f));
    g.strokePath(outline, juce::PathStrokeType(strokeWidth));
}
