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
    juce::Thread::sleep(ms);
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
