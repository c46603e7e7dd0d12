#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/*  The glass-look drawing shared by the look and feel's hooks and by the
    title-bar buttons. All of them draw straight into the context they are
    given and keep nothing between calls. */

/** The colour a control is drawn in for its state: more saturated with the
    keyboard focus, contrasted a little under the mouse and more while down
    (down wins over mouse-over). */
juce::Colour makeBaseColour(juce::Colour colour, bool hasKeyboardFocus, bool isMouseOver, bool isButtonDown);

/** Appends to path a closed rectangle whose corners are quarter circles of
    radius cornerSize where asked for, and square elsewhere. */
void makeRoundedPath(juce::Path& path, float x, float y, float w, float h, float cornerSize,
                     bool curveTopLeft, bool curveTopRight, bool curveBottomLeft, bool curveBottomRight);

/** A glossy bar with fully rounded ends. A flat side is one joined to a
    neighbour: its corners stay square and its end gets no edge shading.
    Draws nothing when the outline is as thick as the bar is wide or high. */
void paintGlassLozenge(juce::Graphics& g, float x, float y, float width, float height, juce::Colour colour,
                       float outlineThickness, bool flatOnLeft, bool flatOnRight, bool flatOnTop,
                       bool flatOnBottom);

/** A glossy sphere of the given diameter with its top-left at (x, y). Draws
    nothing when the diameter is not more than the outline thickness. */
void paintGlassSphere(juce::Graphics& g, float x, float y, float diameter, juce::Colour colour,
                      float outlineThickness);

/** A shape with a sharp light-to-blue step across its middle, used for bars
    that should look shiny but not glassy. Draws nothing when either side is
    not more than 1.1 strokes long. */
void paintShinyShape(juce::Graphics& g, float x, float y, float w, float h, float maxCornerSize,
                     juce::Colour baseColour, float strokeWidth, bool flatOnLeft, bool flatOnRight,
                     bool flatOnTop, bool flatOnBottom);
