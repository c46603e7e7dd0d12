#pragma once

#include "device/MidiInputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <functional>

/** A stand-in MIDI input: whatever is handed to deliver() reaches the
    callback, on the delivering thread, while the port is started. */
class VirtualMidiInputPort : public MidiInputPort
{
public:
    /** onClosing runs first in the destructor; it must wait for a deliver()
        in progress, so that the callback is never called after the port is gone. */
    VirtualMidiInputPort(juce::MidiInputCallback* callback, std::function<void()> onClosing);
    ~VirtualMidiInputPort() override;

    void start() override;
    void stop() override;

    /** Passes the message to the callback with a null source; returns whether
        the port was started and did so. */
    bool deliver(const juce::MidiMessage& message);

private:
    juce::MidiInputCallback* const callback;
    const std::function<void()> onClosing;
    std::atomic<bool> started{false};

    JUCE_DECLARE_NON_COPYABLE(VirtualMidiInputPort)
};
