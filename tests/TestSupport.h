#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace testsupport
{
/** Runs the message loop until condition holds or timeoutMs has passed.
    Returns whether the condition held. Call on the message thread. */
bool runMessageLoopUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

/** Runs the message loop for about ms milliseconds. */
void runMessageLoopFor(int ms);

/** Makes every alert a test failure instead of a modal box that would wait
    for a click for ever. The test main sets this up. */
void failOnAlerts();

/** Records the updater's alerts instead of showing modal boxes, while it
    lives; afterwards alerts fail the test again. */
class AlertRecorder
{
public:
    struct Alert
    {
        juce::MessageBoxIconType icon;
        juce::String title, message;
    };

    AlertRecorder();
    ~AlertRecorder();

    std::vector<Alert> alerts;
};

/** A fresh, empty directory of this process alone, deleted with the object. */
class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    const juce::File& get() const noexcept { return dir; }
    juce::File file(const juce::String& name) const { return dir.getChildFile(name); }

private:
    juce::File dir;
};
} // namespace testsupport
