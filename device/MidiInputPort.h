#pragma once

/** An open MIDI input port. It delivers what arrives to the callback given
    when it was opened, on a thread of its own, but only between start() and
    stop(). Deleting it stops it first and waits for a delivery in progress. */
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
};
