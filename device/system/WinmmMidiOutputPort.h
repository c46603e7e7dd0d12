#pragma once

#include "device/MidiOutputPort.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

/** A Windows MIDI output driven through winmm directly. JUCE's own Windows
    send (juce_win32_Midi.cpp, Win32OutputWrapper::sendMessageNow) waits for
    the driver to mark the buffer MHDR_DONE with no time limit, so a driver
    that never does would hold a close for ever. Here a send waits until the
    driver is done, a deadline passes or it is cancelled, and then takes its
    buffer back with midiOutReset. A send returns no earlier than the
    message's wire time at MIDI speed after it began. Windows only. */
class WinmmMidiOutputPort : public MidiOutputPort
{
public:
    /** Opens the output JUCE's own list names so (duplicates numbered as
        JUCE does); nullptr when there is none or it cannot be opened. */
    static std::unique_ptr<WinmmMidiOutputPort> open(const juce::String& juceName);
    ~WinmmMidiOutputPort() override;

    /** Returns false for an empty message, one the driver refused, did not
        finish by the deadline, or a cancelled one. */
    bool send(const std::uint8_t* data, int count) override;
    /** A stalled send gives up once its wire time is over; later sends fail. */
    void cancelStalledSend() override;

private:
    explicit WinmmMidiOutputPort(void* handle);

    void* const handle; // HMIDIOUT, kept out of this header with windows.h
    std::atomic<bool> cancelled{false};

    JUCE_DECLARE_NON_COPYABLE(WinmmMidiOutputPort)
};
