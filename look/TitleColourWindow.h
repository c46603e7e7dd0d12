#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A document window that carries the colour at the top of its title bar next
    to its background colour. JUCE's DocumentWindow has no such property; the
    look and feel's title-bar drawing reads it from here. Both of the updater's
    document windows derive from this class. */
class TitleColourWindow : public juce::DocumentWindow
{
public:
    TitleColourWindow(const juce::String& name, juce::Colour backgroundColour, juce::Colour titleBarColour,
                      int buttonsToShow, bool addToDesktop = true);
    ~TitleColourWindow() override;

    juce::Colour getTitleBarColour() const noexcept { return titleBarColour; }

private:
    const juce::Colour titleBarColour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(TitleColourWindow)
};
