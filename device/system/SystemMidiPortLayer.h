#pragma once

#include "device/MidiPortLayer.h"

#if JUCE_LINUX
#include "device/system/AlsaMidiOutputPort.h"
#endif

#include <vector>

/** The platform's own MIDI ports: outputs on the ALSA sequencer directly on
    Linux (see AlsaMidiOutputPort), through JUCE elsewhere; inputs through
    JUCE. Each name list is kept as it was taken, so an index always opens the
    entry it was listed with. On a machine without a MIDI sequencer the lists
    are empty and nothing is printed. */
class SystemMidiPortLayer : public MidiPortLayer
{
public:
    SystemMidiPortLayer();

    juce::StringArray getOutputNames() override;
    juce::StringArray getInputNames() override;
    std::unique_ptr<MidiOutputPort> openOutput(int index) override;
    std::unique_ptr<MidiInputPort> openInput(int index, juce::MidiInputCallback* callback) override;

private:
#if JUCE_LINUX
    std::vector<AlsaMidiOutputPort::Destination> outputDevices;
#else
    juce::Array<juce::MidiDeviceInfo> outputDevices;
#endif
    juce::Array<juce::MidiDeviceInfo> inputDevices;
};
