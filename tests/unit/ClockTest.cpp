#include "device/MidiWire.h"
#include "upload/DiravivAziv.h"
#include "upload/RealUploadClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace
{
double millisecondsSince(double start)
{
    return juce::Time::getMillisecondCounterHiRes() - start;
}

struct ElapsedCase
{
    std::uint32_t start;
    std::uint32_t now;
    std::uint32_t elapsed;
};

class DiravivAzivElapsed : public ::testing::TestWithParam<ElapsedCase>
{
};

TEST_P(DiravivAzivElapsed, CountsAcrossOneWrapAt2To32)
{
    const auto& c = GetParam();
    EXPECT_EQ(DiravivAziv::elapsedBetween(c.start, c.now), c.elapsed);
}

INSTANTIATE_TEST_SUITE_P(Cases, DiravivAzivElapsed,
                         ::testing::Values(ElapsedCase{0, 0, 0}, ElapsedCase{100, 250, 150},
                                           ElapsedCase{0xfffffff0u, 0x10u, 0x20u},
                                           ElapsedCase{0xffffffffu, 0, 1},
                                           ElapsedCase{0x00ffffffu, 0x01000000u, 1}));

TEST(DiravivAziv, ReadsTheFrameworkCounter)
{
    const DiravivAziv clock;
    const auto before = juce::Time::getMillisecondCounter();
    const auto counter = clock.getCounter();
    EXPECT_LE(DiravivAziv::elapsedBetween(before, counter), 1000u);
    EXPECT_LE(clock.getElapsed(counter), 1000u);
}

TEST(DiravivAziv, WaitMillisecondsSleepsAtLeastOnceAndAtLeastTheTimeGiven)
{
    const DiravivAziv clock;
    for (const std::uint32_t ms : {0u, 35u})
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        clock.waitMilliseconds(ms);
        const auto took = millisecondsSince(start);
        EXPECT_GE(took, juce::jmax(9.0, ms - 1.0)) << ms; // the counter ticks in whole milliseconds
        EXPECT_LT(took, ms + 1000.0) << ms;
    }
}

/** Waits on the real clock in its own run and reports how it ended. */
class WaitingThread : public juce::Thread
{
public:
    explicit WaitingThread(int msToWait) : juce::Thread("waiter"), ms(msToWait) {}
    ~WaitingThread() override { stopThread(-1); }

    void run() override
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        result = clock.waitUnlessExit(*this, ms);
        took = millisecondsSince(start);
    }

    RealUploadClock clock;
    const int ms;
    std::atomic<bool> result{false};
    std::atomic<double> took{-1.0};
};

TEST(RealUploadClock, WaitRunsItsFullTimeWithoutAnExitRequest)
{
    WaitingThread waiter(120);
    waiter.startThread();
    ASSERT_TRUE(waiter.waitForThreadToExit(5000));
    EXPECT_TRUE(waiter.result.load());
    EXPECT_GE(waiter.took.load(), 119.0);
}

TEST(RealUploadClock, WaitEndsEarlyOnSignalThreadShouldExitAlone)
{
    WaitingThread waiter(5000);
    waiter.startThread();
    EXPECT_FALSE(waiter.waitForThreadToExit(100)); // still waiting
    waiter.signalThreadShouldExit();
    ASSERT_TRUE(waiter.waitForThreadToExit(1000));
    EXPECT_FALSE(waiter.result.load());
    EXPECT_LT(waiter.took.load(), 2000.0);
}

TEST(RealUploadClock, PauseRunsItsFullTime)
{
    RealUploadClock clock;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    clock.pause(60);
    const auto took = millisecondsSince(start);
    EXPECT_GE(took, 59.0);
    EXPECT_LT(took, 1060.0);
}
// Sleeps shorter than a millisecond included: MinGW's sleep_until may not sleep at all.
TEST(MidiWire, SleepUntilNeverEndsBeforeTheDeadline)
{
    for (const auto wait : {std::chrono::microseconds(0), std::chrono::microseconds(1),
                            std::chrono::microseconds(300), std::chrono::microseconds(2500)})
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        midiwire::sleepUntil(deadline);
        const auto now = std::chrono::steady_clock::now();
        EXPECT_GE(now, deadline) << wait.count() << " us";
        EXPECT_LT(now, deadline + std::chrono::seconds(1)) << wait.count() << " us";
    }
}

TEST(MidiWire, WireTimeIsTenBitsAByteAtMidiSpeed)
{
    EXPECT_EQ(midiwire::wireTime(0), std::chrono::nanoseconds(0));
    EXPECT_EQ(midiwire::wireTime(1), std::chrono::microseconds(320));
    EXPECT_EQ(midiwire::wireTime(100), std::chrono::milliseconds(32));
}
} // namespace
