#pragma once

#include <juce_core/juce_core.h>

/** The Zodeduri's firmware load procedure as the help window shows it:
    22 lines, each ended by a line feed. Fixed at build time. */
extern const juce::String productHelpText;
