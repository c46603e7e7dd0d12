#pragma once

#include <juce_graphics/juce_graphics.h>

/** The updater's icon, 256 pixels square, as its windows show it: the same
    picture as the desktop's icon. */
juce::Image appIcon();
