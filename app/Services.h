#pragma once

#include <functional>

class AlertSink;
class MidiPortLayer;
class UploadClock;

/** Everything the updater's windows take from outside: built in Main.cpp from
    the real parts, and in the tests from fakes. Every part outlives the
    windows it is handed to. */
struct Services
{
    MidiPortLayer& ports;
    UploadClock& clock;
    AlertSink& alerts;
    /** Asks the application to quit and end with this exit status. Any thread. */
    std::function<void(int exitStatus)> quit;
};
