#include "e2e/E2eFixture.h"

namespace
{
using WindowIcon = e2e::E2eTest;

TEST_F(WindowIcon, TheMainWindowGivesTheWindowManagerTheDesktopIcon)
{
    e2e::AppProcess app({}, environment());
    ASSERT_TRUE(app.started());
    juce::StringArray windows;
    ASSERT_TRUE(waitUntil(
        [&]
        {
            windows = e2e::visibleWindowsOf(app.getPid());
            return !windows.isEmpty();
        },
        20000))
        << "no window";
    int exitCode = -1;
    const auto icon = e2e::runCommand("xprop -id " + windows[0] + " _NET_WM_ICON 2>&1", &exitCode);
    ASSERT_EQ(exitCode, 0) << "xprop (package x11-utils) failed: " << icon;
    EXPECT_TRUE(icon.contains("Icon (128 x 128)")) << icon.substring(0, 200);
}
} // namespace
