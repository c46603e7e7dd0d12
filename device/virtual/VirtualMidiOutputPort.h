#pragma once

#include "device/MidiOutputPort.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

/** A stand-in MIDI output. A send blocks for the message's wire time, can be
    made to fail or stall from a given message on, and can be captured to
    "<dir>/<name>.syx" (the messages, back to back) and "<dir>/<name>.log"
    (one line "<start>\t<end>\t<bytes>" a message: milliseconds since the port
    opened when the send began and when it returned); in <name> each of
    / \ : * ? " < > | becomes _. */
class VirtualMidiOutputPort : public MidiOutputPort
{
public:
    struct Settings
    {
        juce::String name;
        /** Where to capture; no capture when it is juce::File(). Created when missing. */
        juce::File captureDirectory;
        /** Emulated wire speed, 10 bits a byte; 0 or less means no wire time. */
        int bitsPerSecond = 31250;
        /** 1-based number of the first send that fails; 0 for none. */
        int failFrom = 0;
        /** 1-based number of the send that blocks until cancelStalledSend; 0 for none. */
        int stallFrom = 0;
        /** Asked as each send begins; a port no longer present fails the
            send. Always present when empty. */
        std::function<bool()> isPresent;
        /** Called as each send begins. */
        std::function<void()> onSendBegun;
        /** Called with each message that was sent, before the send returns. */
        std::function<void(const std::uint8_t*, int)> onSent;
        /** Called when the port is deleted. */
        std::function<void()> onClosed;
    };

    /** Opens the port: starts its clock and creates or truncates its capture files. */
    explicit VirtualMidiOutputPort(Settings settings);
    ~VirtualMidiOutputPort() override;

    /** Returns false, capturing nothing, for an empty message, a port no
        longer present, a failing send or a stalled send that was cancelled. */
    bool send(const std::uint8_t* data, int count) override;
    void cancelStalledSend() override;

private:
    double millisecondsSinceOpened(std::chrono::steady_clock::time_point when) const;
    void capture(const std::uint8_t* data, int count, double startMs, double endMs);

    const Settings settings;
    const std::chrono::steady_clock::time_point openedAt;
    std::unique_ptr<juce::FileOutputStream> syxFile, logFile;
    std::atomic<int> sendsBegun{0};

    std::mutex stallMutex;
    std::condition_variable stallReleased;
    bool cancelled = false;

    JUCE_DECLARE_NON_COPYABLE(VirtualMidiOutputPort)
};
