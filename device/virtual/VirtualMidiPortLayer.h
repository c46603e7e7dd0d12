#pragma once

#include "device/MidiPortLayer.h"
#include "device/virtual/VirtualMidiInputPort.h"

#include <map>
#include <mutex>
#include <vector>

/** Virtual MIDI ports for machines without MIDI, and for tests. A port name
    beginning with '!' is listed without it and fails to open. The outputs
    are a fixed list, or the lines of a file read again each time the list is
    taken, so that writing the file plugs and unplugs them; an output whose
    line has gone fails its sends. The layer records, per output name, how
    often it was opened, how many sends began and every message sent, so tests
    can check what left; the recording functions find the name at an index of
    the list last taken. Ports must not outlive the layer. The recording
    functions may be called from any thread. */
class VirtualMidiPortLayer : public MidiPortLayer
{
public:
    struct Options
    {
        juce::StringArray outputNames;
        juce::StringArray inputNames;
        /** Capture directory for the outputs; juce::File() for none. */
        juce::File captureDirectory;
        /** Emulated wire speed, 10 bits a byte; 0 means no wire time. */
        int bitsPerSecond = 31250;
        /** From this 1-based message number on, sends on a port fail; 0 for never. */
        int failFrom = 0;
        /** This 1-based send on a port blocks until the port is closed; 0 for never. */
        int stallFrom = 0;
        /** When not juce::File(), the output names are this file's non-empty
            lines instead of outputNames; a missing file lists none. */
        juce::File outputNamesFile;
    };

    explicit VirtualMidiPortLayer(Options options);

    juce::StringArray getOutputNames() override;
    juce::StringArray getInputNames() override;
    std::unique_ptr<MidiOutputPort> openOutput(int index) override;
    std::unique_ptr<MidiInputPort> openInput(int index, juce::MidiInputCallback* callback) override;

    /** Hands the message to every started input port open at this index, on
        the calling thread (which plays the MIDI input thread). Returns whether
        any port took it. */
    bool deliverToInput(int index, const juce::MidiMessage& message);

    /** Messages sent whole on the output at this index, oldest first; empty for an unknown index. */
    std::vector<juce::MemoryBlock> getSentMessages(int index) const;

    /** How many times the output at this index was opened; 0 for an unknown index. */
    int getOutputOpenCount(int index) const;

    /** How many sends began on the output at this index, failed ones included. */
    int getSendsBegun(int index) const;

    /** Whether an output port at this index exists right now. */
    bool isOutputOpen(int index) const;

private:
    struct OutputRecord
    {
        int openCount = 0;
        int openNow = 0;
        int sendsBegun = 0;
        std::vector<juce::MemoryBlock> sent;
    };

    /** The listed output names, '!' included: the file's lines, or the fixed list. */
    juce::StringArray readOutputList() const;
    const OutputRecord* recordAt(int index) const;

    const Options options;
    mutable std::mutex recordMutex;
    juce::StringArray listedOutputs;
    std::map<juce::String, OutputRecord> outputRecords;
    struct OpenInput
    {
        int index;
        int key;
        VirtualMidiInputPort* port;
    };

    std::vector<OpenInput> openInputs;
    int lastInputKey = 0;
};
