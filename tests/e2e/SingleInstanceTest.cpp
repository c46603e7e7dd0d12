#include "e2e/E2eFixture.h"

namespace
{
// The fixture checks for a display and waits for any other instance to end.
using SingleInstance = e2e::E2eTest;

TEST_F(SingleInstance, ASecondStartEndsAtOnceWhileTheFirstKeepsRunning)
{
    e2e::AppProcess first({}, {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}});
    ASSERT_TRUE(first.started());
    // The first instance holds the lock once its window is up.
    ASSERT_TRUE(waitUntil([&] { return !e2e::visibleWindowsOf(first.getPid()).isEmpty(); }, 20000))
        << "the first instance never showed a window";

    e2e::AppProcess second({"--autoupdate"}, {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}});
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.waitForExit(10000)) << "the second instance did not end";
    EXPECT_TRUE(second.waitForExit(0));

    juce::Thread::sleep(500);
    EXPECT_TRUE(first.isRunning()) << "the first instance ended too";
}
} // namespace
