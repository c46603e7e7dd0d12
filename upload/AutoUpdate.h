#pragma once

#include <atomic>

/** Set from "--autoupdate" before any upload starts: the upload then waits
    before its first message and asks the application to quit when it ends.
    False at start. */
extern std::atomic<bool> autoUpdate;
