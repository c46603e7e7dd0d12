#include "device/system/SystemMidiPortLayer.h"

#include "device/system/SystemMidiInputPort.h"
#include "device/system/SystemMidiOutputPort.h"
#include "device/system/WinmmMidiOutputPort.h"

#if JUCE_LINUX
#include <alsa/asoundlib.h>
#endif

namespace
{
#if JUCE_LINUX
// Without a sequencer ALSA would print its open failure on every listing; the
// user should simply see no ports.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

void silenceAlsa()
{
#if JUCE_LINUX
    static const bool installed = []
    {
        snd_lib_error_set_handler(ignoreAlsaError);
        return true;
    }();
    juce::ignoreUnused(installed);
#endif
}

template <typename Devices> juce::StringArray namesOf(const Devices& devices)
{
    juce::StringArray names;
    for (const auto& device : devices)
        names.add(device.name);
    // Same names as JUCE's own device lists give.
    names.appendNumbersToDuplicates(true, true);
    return names;
}
} // namespace

SystemMidiPortLayer::SystemMidiPortLayer()
{
    silenceAlsa();
}

SystemMidiPortLayer::~SystemMidiPortLayer()
{
#if JUCE_LINUX
    AlsaMidiOutputPort::closeListingClient(listingClient);
#endif
}

juce::StringArray SystemMidiPortLayer::getOutputNames()
{
#if JUCE_LINUX
    // A sequencer loaded after the start is found at the next look.
    if (listingClient == nullptr)
        listingClient = AlsaMidiOutputPort::openListingClient();
    outputDevices = AlsaMidiOutputPort::listDestinations(listingClient);
#else
    outputDevices = juce::MidiOutput::getAvailableDevices();
#endif
    return namesOf(outputDevices);
}

juce::StringArray SystemMidiPortLayer::getInputNames()
{
    inputDevices = juce::MidiInput::getAvailableDevices();
    return namesOf(inputDevices);
}

std::unique_ptr<MidiOutputPort> SystemMidiPortLayer::openOutput(int index)
{
    if (!juce::isPositiveAndBelow(index, static_cast<int>(outputDevices.size())))
        return nullptr;
#if JUCE_LINUX
    return AlsaMidiOutputPort::open(outputDevices[static_cast<std::size_t>(index)]);
#elif JUCE_WINDOWS
    // JUCE's winmm send waits for the driver to finish the buffer with no time
    // limit (juce_win32_Midi.cpp); our own port bounds that wait and can be
    // cancelled, and like JUCE's returns once the driver is done with the bytes.
    return WinmmMidiOutputPort::open(outputDevices.getReference(index).name);
#else
    // CoreMIDI (macOS) returns before the bytes are on the wire: the port
    // waits out their wire time, as the ALSA one does.
    auto output = juce::MidiOutput::openDevice(outputDevices.getReference(index).identifier);
    if (output == nullptr)
        return nullptr;
    return std::make_unique<SystemMidiOutputPort>(std::move(output));
#endif
}

std::unique_ptr<MidiInputPort> SystemMidiPortLayer::openInput(int index, juce::MidiInputCallback* callback)
{
    if (!juce::isPositiveAndBelow(index, inputDevices.size()))
        return nullptr;
    auto input = juce::MidiInput::openDevice(inputDevices.getReference(index).identifier, callback);
    if (input == nullptr)
        return nullptr;
    return std::make_unique<SystemMidiInputPort>(std::move(input));
}
