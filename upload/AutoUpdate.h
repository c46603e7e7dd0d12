#pragma once

#include <atomic>

/** Set from "--autoupdate" before any upload starts: the upload then waits
    before its first message and asks the application to quit when it ends.
    False at start. */
extern std::atomic<bool> autoUpdate;

/** How an automatic update ends the process, for the program that drives it. */
constexpr int autoUpdateCompletedStatus = 0;    ///< the whole image was sent
constexpr int autoUpdateDamagedImageStatus = 1; ///< the image is damaged; nothing was sent
constexpr int autoUpdateUnfinishedStatus = 2;   ///< the window was closed before the whole image was sent
