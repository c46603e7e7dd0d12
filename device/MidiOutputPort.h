#pragma once

#include <cstdint>

/** An open MIDI output port. Closed by deleting it; it must not outlive the
    layer that opened it. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends count bytes as one message and returns only once they have left
        the port. Returns false when the message could not be sent. One send at
        a time; the caller keeps the port alive until it returns. */
    virtual bool send(const std::uint8_t* data, int count) = 0;

    /** Makes a send that would otherwise never return give up at once, and
        every later one too; a port may also cut short a send that is only
        taking its wire time. Callable from any thread while a send runs, to close the
        port without waiting forever. */
    virtual void cancelStalledSend() = 0;
};
