#pragma once

#include "device/MidiOutputPort.h"

#include <juce_core/juce_core.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

struct _snd_seq;

/** A MIDI output on the ALSA sequencer, written on alsa-lib directly.

    JUCE's Linux output re-encodes a message and sends a SysEx as one event;
    the kernel writes an event into the device's 4096-byte buffer or drops
    it, with no error, and the encoder restarts at an inner F0. Here the bytes
    go out as given, in pieces paced to the wire (see SysexPacing.h), each
    addressed to the port itself, so that a port that has gone makes the send
    fail instead of vanishing. A send returns once its last byte's wire time
    is over. Linux only. */
class AlsaMidiOutputPort : public MidiOutputPort
{
public:
    /** A writable, subscribable sequencer port of another client. */
    struct Destination
    {
        int client;
        int port;
        juce::String name;
    };

    /** The sequencer's output ports in client order, as JUCE lists them,
        leaving out the updater's own clients; empty without a sequencer. */
    static std::vector<Destination> listDestinations();

    /** Opens a sequencer client of its own and connects it to the port.
        Null when there is no sequencer or the connection is refused. */
    static std::unique_ptr<AlsaMidiOutputPort> open(const Destination& destination);

    ~AlsaMidiOutputPort() override;

    /** False when the message did not go out whole: the port has gone or
        refused it, or the send was cancelled. */
    bool send(const std::uint8_t* data, int count) override;

    /** Ends every wait of a send in progress at once, wire time included,
        and makes it and every later send fail. */
    void cancelStalledSend() override;

private:
    AlsaMidiOutputPort(_snd_seq* handle, int sourcePort, const Destination& destination);

    /** Waits until the deadline; false when cancelled first. */
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    bool outputPiece(const std::uint8_t* data, int length);

    _snd_seq* const seq;
    const int sourcePort;
    const Destination destination;

    std::mutex cancelMutex;
    std::condition_variable cancelSignal;
    bool cancelled = false;
};
