#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A title-bar button: a coloured glass sphere on a grey disc with a dark
    symbol in its middle. The symbol paths may use any coordinate range; they
    are scaled into the middle of the sphere. The toggled shape is shown while
    the toggle state is on (the maximise button of a full-screen window). */
class GlassWindowButton : public juce::Button
{
public:
    GlassWindowButton(const juce::String& name, const juce::Colour& colour, const juce::Path& normalShape,
                      const juce::Path& toggledShape);
    ~GlassWindowButton() override;

    void paintButton(juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

private:
    juce::Colour colour;
    juce::Path normalShape;
    juce::Path toggledShape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlassWindowButton)
};
