#pragma once

#include "device/InterfaceBaseClass.h"
#include "device/MidiPortLayer.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

/** The device interface over MIDI ports: up to two selectors, output and
    input, each with its caption, listing "(Disconnected)" (id = number of
    ports + 1) first, then a separator, then the ports with ids 1 to the
    number of ports. Choosing an entry opens its port at once. While the
    interface is enabled (no upload runs) the output list follows the system,
    looked at twice a second: the selection is kept by name, and a selected
    port that has gone shows "(Disconnected)" and is closed, with a change
    message. Bytes arriving on the open input wait in a
    256-byte ring for readBytes; unread bytes are overwritten once 256 more
    have arrived.

    Threads: everything runs on the message thread except sendBytes (one
    sending thread at a time), readBytes (one reading thread at a time) and
    handleIncomingMidiMessage (the MIDI input thread). A port is never closed
    or replaced while a send on it is in progress. */
class MidiInterfaceClass : public InterfaceBaseClass,
                           public juce::ComboBox::Listener,
                           public juce::MidiInputCallback,
                           private juce::Timer
{
public:
    /** What sendBytes returns for a message that did not go out whole. */
    static constexpr std::int32_t sendFailed = -1;

    /** Uses the given ports; layer must outlive the interface. */
    MidiInterfaceClass(bool hasOutput, bool hasInput, MidiPortLayer& layer);

    ~MidiInterfaceClass() override;

    void resized() override;

    /** Returns 0 when no input port is open. */
    std::int32_t readBytes(std::uint8_t* destination, std::uint32_t maxCount) override;

    /** Blocks until the message has left the port. Returns 0 at once when
        count is not positive; sendFailed at once when no output port is open,
        or after the port has refused the message. */
    std::int32_t sendBytes(const std::uint8_t* data, std::int32_t count) override;

    bool isConnected() override;

    /** 100 with both selectors, otherwise 50. */
    std::int32_t getPreferredHeight() override;

    /** Nothing without an output selector. An id no entry has leaves the shown
        entry unchanged and closes the output. */
    void selectOutputById(std::int32_t id) override;

    /** Nothing without an input selector. An id no entry has leaves the shown
        entry unchanged and closes the input. */
    void selectInputById(std::int32_t id) override;

    /** The selectors are left as they are and no change message is sent. */
    void closePorts() override;

    void comboBoxChanged(juce::ComboBox* box) override;
    void handleIncomingMidiMessage(juce::MidiInput* source, const juce::MidiMessage& message) override;

private:
    static constexpr int receiveBufferSize = 256;

    void createSelectors();
    void timerCallback() override;
    /** Takes the output list again and shows it if it has changed. */
    void followOutputs();
    void fillSelector(juce::ComboBox& selector, const juce::StringArray& names);
    void createSelector(juce::ComboBox*& selector, juce::Label*& label, const juce::String& selectorName,
                        const juce::String& caption, const juce::StringArray& names);
    void openOutput(int id);
    void closeOutput();
    void openInput(int id);
    void closeInput();

    MidiPortLayer& portLayer;

    const bool hasOutput;
    const bool hasInput;
    std::int32_t numOutputs = 0;
    std::int32_t numInputs = 0;
    juce::StringArray outputNames;
    juce::StringArray inputNames;

    // Owned; changed only on the message thread, and midiOutput only while
    // holding sendMutex, which a send holds throughout.
    MidiOutputPort* midiOutput = nullptr;
    MidiInputPort* midiInput = nullptr;
    std::mutex sendMutex;
    std::atomic<bool> inputOpen{false};

    juce::ComboBox* outputSelector = nullptr;
    juce::Label* outputLabel = nullptr;
    juce::ComboBox* inputSelector = nullptr;
    juce::Label* inputLabel = nullptr;

    // One writer (the MIDI input thread) and one reader; each position is
    // stored only by its own side. The bytes are atomic too because an
    // overrun rewrites bytes the reader may be copying.
    std::array<std::atomic<std::uint8_t>, receiveBufferSize> receiveBuffer{};
    std::atomic<std::int32_t> receiveWritePos{0};
    std::atomic<std::int32_t> receiveReadPos{0};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MidiInterfaceClass)
};
