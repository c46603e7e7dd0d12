#pragma once

#include "upload/UploadClock.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

/** An UploadClock whose time passes instantly and is recorded, so a test can
    assert a run's whole schedule. onCall runs on the caller's thread before
    the call's time passes; it may block or signal an exit request. */
class SysexUploadSimulatedClock : public UploadClock
{
public:
    enum class Kind
    {
        pause,
        wait
    };

    struct Call
    {
        Kind kind;
        int ms;
        std::int64_t at;
        bool cutShort;
        std::size_t index;
    };

    std::function<void(const Call&)> onCall;

    void pause(int ms) override
    {
        auto call = begin(Kind::pause, ms);
        finish(call, false);
    }

    bool waitUnlessExit(juce::Thread& thread, int ms) override
    {
        auto call = begin(Kind::wait, ms);
        const auto exitRequested = thread.threadShouldExit();
        finish(call, exitRequested);
        return !exitRequested;
    }

    std::int64_t now() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return time;
    }

    std::vector<Call> calls() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return recorded;
    }

private:
    Call begin(Kind kind, int ms)
    {
        Call call{kind, ms, 0, false, 0};
        {
            const std::lock_guard<std::mutex> lock(mutex);
            call.at = time;
            call.index = started++;
        }
        if (onCall)
            onCall(call);
        return call;
    }

    void finish(Call call, bool cutShort)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        call.cutShort = cutShort;
        if (!cutShort)
            time += call.ms;
        recorded.push_back(call);
    }

    mutable std::mutex mutex;
    std::int64_t time = 0;
    std::size_t started = 0;
    std::vector<Call> recorded;
};
