#include "device/system/SystemMidiOutputPort.h"

#include <chrono>
#include <thread>

namespace
{
constexpr std::int64_t midiWireNanosecondsPerByte = 320000; // 10 bits at 31250 bit/s
}

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
    // ALSA hands the bytes to the sequencer and returns before they are on the
    // wire; the device's pause must start only after the last byte.
    std::this_thread::sleep_until(began + std::chrono::nanoseconds(midiWireNanosecondsPerByte * count));
    return true;
}
