#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace looktest
{
/** A transparent ARGB image of the given size with draw run into it. */
inline juce::Image render(int w, int h, const std::function<void(juce::Graphics&)>& draw)
{
    juce::Image image(juce::Image::ARGB, w, h, true);
    {
        juce::Graphics g(image);
        draw(g);
    }
    return image;
}

inline bool isBlank(const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt(x, y).getAlpha() != 0)
                return false;
    return true;
}

/** Largest difference of any premultiplied channel at one pixel, so that
    colour under near-zero alpha does not count. */
inline int pixelDifference(juce::Colour a, juce::Colour b)
{
    const auto p = a.getPixelARGB();
    const auto q = b.getPixelARGB();
    return std::max({std::abs(p.getAlpha() - q.getAlpha()), std::abs(p.getRed() - q.getRed()),
                     std::abs(p.getGreen() - q.getGreen()), std::abs(p.getBlue() - q.getBlue())});
}

/** Largest pixelDifference between two images of equal size. */
inline int maxChannelDifference(const juce::Image& a, const juce::Image& b)
{
    int worst = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            worst = std::max(worst, pixelDifference(a.getPixelAt(x, y), b.getPixelAt(x, y)));
    return worst;
}

} // namespace looktest
