#include "upload/ProgressClass.h"

#include <cmath>

ProgressClass::~ProgressClass() = default;

double ProgressClass::roundToHundredths(double value) noexcept
{
    // nearbyint follows the default rounding mode, which sends halves to even;
    // juce::roundToInt would send them up.
    return std::nearbyint(value * 100.0) / 100.0;
}

void ProgressClass::setProgress(double value)
{
    const auto rounded = roundToHundredths(value);
    if (progress.exchange(rounded) == rounded)
        return;

    // Naming the calling thread lets the lock give up when that thread is told
    // to exit, so a message thread waiting for it cannot deadlock.
    const juce::MessageManagerLock lock(juce::Thread::getCurrentThread());
    if (!lock.lockWasGained())
        return;
    sendSynchronousChangeMessage();
}

void ProgressClass::setStatusText(const juce::String& text)
{
    {
        const juce::ScopedLock sl(statusLock);
        if (text == statusText)
            return;
        statusText = text;
    }
    sendChangeMessage();
}

juce::String ProgressClass::getStatusText() const
{
    const juce::ScopedLock sl(statusLock);
    return statusText;
}
