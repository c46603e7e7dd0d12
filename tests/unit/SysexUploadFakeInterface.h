#pragma once

#include "SysexUploadSimulatedClock.h"
#include "device/InterfaceBaseClass.h"

#include <functional>
#include <mutex>
#include <vector>

/** A device interface that records every block sent and every change of its
    enablement, stamped with the simulated clock's time when it has one. */
class SysexUploadFakeInterface : public InterfaceBaseClass
{
public:
    struct Send
    {
        std::vector<std::uint8_t> bytes;
        std::int64_t at;
    };

    struct Enablement
    {
        bool enabled;
        std::int64_t at;
        juce::String status;
    };

    explicit SysexUploadFakeInterface(const SysexUploadSimulatedClock* clockToStamp = nullptr)
        : clock(clockToStamp)
    {
    }

    /** Runs on the sending thread after the block is recorded. */
    std::function<void()> onSend;
    /** From this 1-based send on, sendBytes reports failure; 0 for never. */
    int failFrom = 0;
    /** Read at each enablement change, e.g. the protocol's status text. */
    std::function<juce::String()> statusProbe;

    std::int32_t readBytes(std::uint8_t*, std::uint32_t) override { return 0; }

    std::int32_t sendBytes(const std::uint8_t* data, std::int32_t count) override
    {
        std::size_t number = 0;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            sends.push_back({std::vector<std::uint8_t>(data, data + count), stamp()});
            number = sends.size();
        }
        if (onSend)
            onSend();
        return failFrom > 0 && number >= static_cast<std::size_t>(failFrom) ? -1 : 0;
    }

    bool isConnected() override { return true; }
    std::int32_t getPreferredHeight() override { return 30; }
    void selectOutputById(std::int32_t) override {}
    void selectInputById(std::int32_t) override {}
    void closePorts() override {}
    void resized() override {}

    void enablementChanged() override
    {
        const std::lock_guard<std::mutex> lock(mutex);
        enablements.push_back({isEnabled(), stamp(), statusProbe ? statusProbe() : juce::String()});
    }

    std::vector<Send> getSends() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return sends;
    }

    std::vector<Enablement> getEnablements() const
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return enablements;
    }

private:
    std::int64_t stamp() const { return clock != nullptr ? clock->now() : 0; }

    const SysexUploadSimulatedClock* clock;
    mutable std::mutex mutex;
    std::vector<Send> sends;
    std::vector<Enablement> enablements;
};
