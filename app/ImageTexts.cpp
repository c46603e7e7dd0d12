#include "app/ImageTexts.h"

namespace
{
juce::String versionAndRevision(const FirmwareImage& image)
{
    auto text = juce::String(image.getVersion(), 1);
    if (image.getRevision() != 0)
        text << " - R" << image.getRevision();
    return text;
}
} // namespace

juce::String composeWindowTitle(const FirmwareImage& image)
{
    return image.getName() + " version " + versionAndRevision(image);
}

juce::String composeVersionText(const FirmwareImage& image, bool loadedFromFile)
{
    if (loadedFromFile)
        return "This software updater will update your " + image.getName() +
               " firmware from the loaded sysex file";
    return "This software updater will update your " + image.getName() + " firmware to version " +
           versionAndRevision(image);
}
