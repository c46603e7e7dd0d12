#pragma once

#include "device/MidiInputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** A system MIDI input; JUCE's MIDI thread calls the callback it was opened with. */
class SystemMidiInputPort : public MidiInputPort
{
public:
    explicit SystemMidiInputPort(std::unique_ptr<juce::MidiInput> input);
    ~SystemMidiInputPort() override;

    void start() override;
    void stop() override;

private:
    std::unique_ptr<juce::MidiInput> input;
};
