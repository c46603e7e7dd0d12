#pragma once

#include <juce_events/juce_events.h>

#include <atomic>

/** The record through which an upload reports to the user interface: a
    progress fraction in whole hundredths and a status text, each change
    announced to the record's change listeners.

    Listeners receive this record as the broadcaster. A protocol is a
    ProgressClass, so the pointer a listener gets is the protocol's own
    ProgressClass base: a listener with several sources compares it with the
    protocol directly (`source == protocol`, the protocol pointer converting
    to juce::ChangeBroadcaster*).

    Both fields may be read and written from any thread. */
class ProgressClass : public juce::ChangeBroadcaster
{
public:
    ProgressClass() = default;
    ~ProgressClass() override;

    /** Rounds value to hundredths, halves to even (0.125 gives 0.12, 0.375
        gives 0.38, anything from 0.995 gives 1.0). When that differs from the
        current progress it is stored and the listeners are called before this
        returns, on the calling thread, with the message thread locked. When
        the calling thread is a juce::Thread asked to exit before the lock is
        gained, the value is stored and nobody is called. */
    void setProgress(double value);

    /** The last stored progress; 0.0 before the first setProgress. */
    double getProgress() const noexcept { return progress.load(); }

    /** Stores text when it differs from the current one and posts one change
        message; messages still pending are merged, so listeners see the
        latest text and may miss earlier ones. */
    void setStatusText(const juce::String& text);

    /** A copy of the current status text; empty at first. */
    juce::String getStatusText() const;

    /** value rounded to the nearest hundredth, halves to even. */
    static double roundToHundredths(double value) noexcept;

private:
    std::atomic<double> progress{0.0};
    juce::CriticalSection statusLock;
    juce::String statusText;

    JUCE_DECLARE_NON_COPYABLE(ProgressClass)
};
