#pragma once

#include "device/MidiInputPort.h"
#include "device/MidiOutputPort.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** Where the MIDI ports come from: the system's, or virtual ones that stand
    in for them on a machine without MIDI. Message thread, unless stated. */
class MidiPortLayer
{
public:
    virtual ~MidiPortLayer() = default;

    /** Names of the output ports as they are now, in a stable order; empty
        when there are none. Cheap enough to ask about once a second. */
    virtual juce::StringArray getOutputNames() = 0;

    /** Names of the input ports, in a stable order; empty when there are none. */
    virtual juce::StringArray getInputNames() = 0;

    /** Opens the output at this index of the list last returned by
        getOutputNames. Returns null when the index has no port or the port
        cannot be opened. */
    virtual std::unique_ptr<MidiOutputPort> openOutput(int index) = 0;

    /** Opens the input at this index of the list last returned by
        getInputNames; it will deliver to callback once started, with a null
        source. Returns null when the index has no port or it cannot be opened. */
    virtual std::unique_ptr<MidiInputPort> openInput(int index, juce::MidiInputCallback* callback) = 0;

    /** The virtual layer when DAVIRODIR_VIRTUAL_MIDI_OUTPUTS,
        DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE or DAVIRODIR_VIRTUAL_MIDI_INPUTS is
        set (a side without its variable then has no ports; the file wins over
        the list), otherwise the system's ports. Never null. */
    static std::unique_ptr<MidiPortLayer> createFromEnvironment();
};
