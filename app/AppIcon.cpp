#include "app/AppIcon.h"

#include "IconData.h"

juce::Image appIcon()
{
    return juce::ImageCache::getFromMemory(DavirodirIcon::davirodir128_png,
                                           DavirodirIcon::davirodir128_pngSize);
}
