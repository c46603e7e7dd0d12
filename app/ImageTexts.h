#pragma once

#include "firmware/FirmwareImage.h"

/** "<name> version <v.v>", with " - R<revision>" when the revision is not 0. */
juce::String composeWindowTitle(const FirmwareImage& image);

/** The main panel's line naming product and version. For an image loaded from
    a file it names the file image instead of a version. */
juce::String composeVersionText(const FirmwareImage& image, bool loadedFromFile);
