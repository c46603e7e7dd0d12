#include "upload/RealUploadClock.h"

#include <cmath>

namespace
{
// signalThreadShouldExit alone does not wake Thread::wait, so listen for it.
struct ExitWaker : public juce::Thread::Listener
{
    void exitSignalSent() override { event.signal(); }
    juce::WaitableEvent event;
};
} // namespace

void RealUploadClock::pause(int ms)
{
    // A sleep may end a little early (Windows); the pause must never be short.
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + ms;
    for (auto remaining = static_cast<double>(ms); remaining > 0.0;
         remaining = deadline - juce::Time::getMillisecondCounterHiRes())
        juce::Thread::sleep(juce::jmax(1, static_cast<int>(std::ceil(remaining))));
}

bool RealUploadClock::waitUnlessExit(juce::Thread& thread, int ms)
{
    ExitWaker waker;
    thread.addListener(&waker);
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + ms;
    while (!thread.threadShouldExit())
    {
        const auto remaining = deadline - juce::Time::getMillisecondCounterHiRes();
        if (remaining <= 0.0)
            break;
        waker.event.wait(juce::jmax(1, static_cast<int>(std::ceil(remaining))));
    }
    thread.removeListener(&waker);
    return !thread.threadShouldExit();
}
