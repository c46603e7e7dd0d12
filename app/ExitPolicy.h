#pragma once

#include "upload/BasicSysexProtocolClass.h"

/** How the updater ends, for a program that drives it: the exit statuses and
    the one rule that picks among them. The README's status table lists the
    same values. */
namespace exitstatus
{
constexpr int completed = 0;    ///< the whole image was sent, or the window closed without --autoupdate
constexpr int damagedImage = 1; ///< the image is damaged; nothing was sent
constexpr int unfinished = 2;   ///< the window was closed before the whole image was sent
constexpr int sendFailed = 3;   ///< a message did not go out whole; nothing was sent after it
constexpr int noDisplay = 4;    ///< no graphical display: the window cannot open; nothing was sent
} // namespace exitstatus

/** The status to end with. automatic: --autoupdate was given; without it the
    status is always completed. outcome: how the last upload run ended.
    closedEarly: the window was closed before the last run had sent the whole
    image (or refused a damaged one). */
int exitStatusFor(bool automatic, BasicSysexProtocolClass::Outcome outcome, bool closedEarly);

/** The word progress lines give a status: "completed", "damaged",
    "unfinished" or "send-failed"; "completed" for any other. */
const char* exitStatusWord(int exitStatus);

/** The real Services::quit: on the message thread, gives the running
    application the status as its return value and asks it to quit. Nothing
    when no application runs. Any thread. */
void quitApplication(int exitStatus);
