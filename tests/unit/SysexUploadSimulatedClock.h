#pragma once

#include "upload/UploadClock.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

/** An UploadClock whose time passes instantly and is recorded, so a test can
    assert a run's whole schedule. onCall runs on the caller's thread before
    the call's time passes; it may block or signal an exit request. Calls the
    test chooses with holdWhile are held until letGo; a held wait still ends
    on an exit request. */
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
        hold(ms, nullptr);
        finish(call, false);
    }

    bool waitUnlessExit(juce::Thread& thread, int ms) override
    {
        auto call = begin(Kind::wait, ms);
        hold(ms, &thread);
        const auto exitRequested = thread.threadShouldExit();
        finish(call, exitRequested);
        return !exitRequested;
    }

    /** From now on, calls whose length satisfies holds are held. */
    void holdWhile(std::function<bool(int ms)> holds)
    {
        const std::lock_guard<std::mutex> lock(holdMutex);
        holding = std::move(holds);
    }

    /** Lets the calls held now go on; later ones are held again. */
    void letGo()
    {
        const std::lock_guard<std::mutex> lock(holdMutex);
        ++generation;
        released.notify_all();
    }

    int heldNow() const
    {
        const std::lock_guard<std::mutex> lock(holdMutex);
        return held;
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
    void hold(int ms, juce::Thread* thread)
    {
        std::unique_lock<std::mutex> lock(holdMutex);
        if (!holding || !holding(ms))
            return;
        ++held;
        const auto entered = generation;
        while (generation == entered && !(thread != nullptr && thread->threadShouldExit()))
            released.wait_for(lock, std::chrono::milliseconds(5));
        --held;
    }

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

    mutable std::mutex holdMutex;
    std::condition_variable released;
    std::function<bool(int)> holding;
    int generation = 0;
    int held = 0;
};
