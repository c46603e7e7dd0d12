#pragma once

#include <atomic>

/** Set from "--autoupdate" before any upload starts: the upload then waits
    before its first message and reports its end so the application can quit.
    False at start. */
extern std::atomic<bool> autoUpdate;
