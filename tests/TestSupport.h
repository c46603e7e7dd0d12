#pragma once

#include "app/AlertSink.h"

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

/** An alert sink that records every alert instead of showing a modal box
    that would wait for a click for ever. Message thread. */
class AlertRecorder : public AlertSink
{
public:
    struct Alert
    {
        juce::MessageBoxIconType icon;
        juce::String title, message;
    };

    void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                        const juce::String& message) override;

    std::vector<Alert> alerts;
};

/** An alert sink for code that must show none: every alert fails the test. */
class NoAlertsExpected : public AlertSink
{
public:
    void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                        const juce::String& message) override;
};

/** A fresh, empty directory of this process alone, deleted with the object. */
class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    const juce::File& get() const noexcept { return dir; }
    juce::File file(const juce::String& name) const { return dir.getChildFile(name); }

    /** Writes bytes to a new file of this name here (an empty file for no
        bytes) and returns it; the test fails when it cannot. */
    juce::File writeFile(const juce::String& name, const std::vector<juce::uint8>& bytes) const;

private:
    juce::File dir;
};
/** Runs body on a thread of its own without the capabilities that let root
    read any file, so that a file's mode holds even for root; processes
    started there inherit that. Returns false, without running body, when the
    system refuses. */
bool withoutReadOverride(const std::function<void()>& body);
} // namespace testsupport
