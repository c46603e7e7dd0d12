#pragma once

#include <juce_core/juce_core.h>

/** The pauses and waits of an upload, behind one seam so that tests can run
    a whole schedule in simulated time. */
class UploadClock
{
public:
    virtual ~UploadClock() = default;

    /** Blocks the calling thread for ms milliseconds; an exit request does not
        cut it short. */
    virtual void pause(int ms) = 0;

    /** Blocks the calling thread for ms milliseconds or until thread is asked
        to exit, whichever comes first. Returns false when thread has been
        asked to exit. */
    virtual bool waitUnlessExit(juce::Thread& thread, int ms) = 0;
};
