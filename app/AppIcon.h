#pragma once

#include <juce_graphics/juce_graphics.h>

/** The updater's icon, 128 pixels square, for the window manager: the same
    picture as the desktop's icon. */
juce::Image appIcon();
