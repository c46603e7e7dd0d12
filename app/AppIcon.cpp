#include "app/AppIcon.h"

#include "IconData.h"

juce::Image appIcon()
{
    return juce::ImageCache::getFromMemory(DavirodirIcon::davirodir256_png,
                                           DavirodirIcon::davirodir256_pngSize);
}
