#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Where the updater's alerts go: a modal box for the user, a recorder in the
    tests. Message thread. */
class AlertSink
{
public:
    virtual ~AlertSink() = default;

    /** Shows the alert with the framework's default button and returns once
        it has been dismissed (at once for a sink that only records). */
    virtual void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                const juce::String& message) = 0;
};
