#include "device/system/SystemMidiInputPort.h"

SystemMidiInputPort::SystemMidiInputPort(std::unique_ptr<juce::MidiInput> openedInput)
    : input(std::move(openedInput))
{
}

SystemMidiInputPort::~SystemMidiInputPort()
{
    input->stop();
}

void SystemMidiInputPort::start()
{
    input->start();
}

void SystemMidiInputPort::stop()
{
    input->stop();
}
