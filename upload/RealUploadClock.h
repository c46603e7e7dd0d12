#pragma once

#include "upload/UploadClock.h"

/** The UploadClock that sleeps for real. Safe to share between threads. */
class RealUploadClock : public UploadClock
{
public:
    void pause(int ms) override;
    bool waitUnlessExit(juce::Thread& thread, int ms) override;
};
