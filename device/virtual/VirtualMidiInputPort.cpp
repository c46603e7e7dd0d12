#include "device/virtual/VirtualMidiInputPort.h"

VirtualMidiInputPort::VirtualMidiInputPort(juce::MidiInputCallback* inputCallback,
                                           std::function<void()> closingHandler)
    : callback(inputCallback), onClosing(std::move(closingHandler))
{
}

VirtualMidiInputPort::~VirtualMidiInputPort()
{
    started = false;
    if (onClosing)
        onClosing();
}

void VirtualMidiInputPort::start()
{
    started = true;
}

void VirtualMidiInputPort::stop()
{
    started = false;
}

bool VirtualMidiInputPort::deliver(const juce::MidiMessage& message)
{
    if (!started || callback == nullptr)
        return false;
    callback->handleIncomingMidiMessage(nullptr, message);
    return true;
}
