#pragma once

#include <juce_graphics/juce_graphics.h>

/** Where the main panel's children go, for a panel of the given width and an
    interface of the given preferred height. */
struct PanelLayout
{
    juce::Rectangle<int> versionLabel, helpButton, step1Label, interface, step2Label, updateButton,
        progressBar;
};

PanelLayout computePanelLayout(int width, int interfaceHeight);
