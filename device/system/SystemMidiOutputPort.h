#pragma once

#include "device/MidiOutputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** A system MIDI output. A send returns no earlier than the message's wire
    time at MIDI speed (320 microseconds a byte) after it began, because some
    drivers return as soon as they have queued the bytes. */
class SystemMidiOutputPort : public MidiOutputPort
{
public:
    explicit SystemMidiOutputPort(std::unique_ptr<juce::MidiOutput> output);

    /** Returns false only for an empty message; the driver reports no errors. */
    bool send(const std::uint8_t* data, int count) override;

    /** Nothing to do: a system send never stalls for longer than its wire time. */
    void cancelStalledSend() override {}

private:
    std::unique_ptr<juce::MidiOutput> output;
};
