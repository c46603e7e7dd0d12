#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** Every modal alert of the updater goes through here, so that tests can see
    which alert was shown, with its exact title and text, without a modal loop
    blocking them. Without a handler the real modal message box is shown. */
class AlertSeam
{
public:
    using Handler = std::function<void(juce::MessageBoxIconType icon, const juce::String& title,
                                       const juce::String& message)>;

    /** Shows the alert modally with the framework's default button (an empty button text). */
    static void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                               const juce::String& message);

    /** Replaces the modal box by handler; an empty handler restores the box. Message thread only. */
    static void setHandler(Handler handler);
};
