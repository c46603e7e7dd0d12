#include "app/ExitPolicy.h"

#include <juce_gui_basics/juce_gui_basics.h>

int exitStatusFor(bool automatic, BasicSysexProtocolClass::Outcome outcome, bool closedEarly)
{
    using Outcome = BasicSysexProtocolClass::Outcome;
    if (!automatic)
        return exitstatus::completed;
    // A program driving the update must never read a cut-short upload as a success.
    if (closedEarly)
        return exitstatus::unfinished;
    switch (outcome)
    {
    case Outcome::damagedImage:
        return exitstatus::damagedImage;
    case Outcome::sendFailed:
        return exitstatus::sendFailed;
    case Outcome::completed:
    case Outcome::stopped: // in the completion pause: everything was sent
    case Outcome::none:
        break;
    }
    return exitstatus::completed;
}

const char* exitStatusWord(int exitStatus)
{
    switch (exitStatus)
    {
    case exitstatus::damagedImage:
        return "damaged";
    case exitstatus::unfinished:
        return "unfinished";
    case exitstatus::sendFailed:
        return "send-failed";
    default:
        return "completed";
    }
}

void quitApplication(int exitStatus)
{
    // On the message thread, where a quit handler may safely wait for the
    // upload thread to end.
    juce::MessageManager::callAsync(
        [exitStatus]
        {
            if (auto* app = juce::JUCEApplicationBase::getInstance())
            {
                app->setApplicationReturnValue(exitStatus);
                app->systemRequestedQuit();
            }
        });
}
