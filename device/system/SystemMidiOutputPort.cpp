#include "device/system/SystemMidiOutputPort.h"

#include "device/MidiWire.h"

#include <chrono>

SystemMidiOutputPort::SystemMidiOutputPort(std::unique_ptr<juce::MidiOutput> openedOutput)
    : output(std::move(openedOutput))
{
}

bool SystemMidiOutputPort::send(const std::uint8_t* data, int count)
{
    if (data == nullptr || count <= 0)
        return false;
    const auto began = std::chrono::steady_clock::now();
    output->sendMessageNow(juce::MidiMessage(data, count, 0.0));
    // CoreMIDI hands the bytes to its server and returns before they are on
    // the wire; the device's pause must start only after the last byte.
    midiwire::sleepUntil(began + midiwire::wireTime(count));
    return true;
}
