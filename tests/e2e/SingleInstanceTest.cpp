#include "e2e/AppProcess.h"

#include <gtest/gtest.h>

namespace
{
TEST(SingleInstance, ASecondStartEndsAtOnceWhileTheFirstKeepsRunning)
{
    ASSERT_TRUE(getenv("DISPLAY") != nullptr)
        << "end-to-end tests need an X display (run them under xvfb-run)";

    e2e::AppProcess first({}, {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}});
    ASSERT_TRUE(first.started());
    // The first instance holds the lock once its window is up.
    const auto deadline = juce::Time::getMillisecondCounter() + 20000;
    while (e2e::visibleWindowsOf(first.getPid()).isEmpty() && juce::Time::getMillisecondCounter() < deadline)
        juce::Thread::sleep(50);
    ASSERT_FALSE(e2e::visibleWindowsOf(first.getPid()).isEmpty())
        << "the first instance never showed a window";

    e2e::AppProcess second({"--autoupdate"}, {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}});
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.waitForExit(10000)) << "the second instance did not end";
    EXPECT_TRUE(second.waitForExit(0));

    juce::Thread::sleep(500);
    EXPECT_TRUE(first.isRunning()) << "the first instance ended too";
}
} // namespace
