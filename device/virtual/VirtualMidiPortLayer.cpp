#include "device/virtual/VirtualMidiPortLayer.h"

#include "device/virtual/VirtualMidiOutputPort.h"

#include <algorithm>

namespace
{
// A leading '!' marks a port that is listed but cannot be opened.
bool opens(const juce::String& listedName)
{
    return !listedName.startsWithChar('!');
}

juce::String shownName(const juce::String& listedName)
{
    return opens(listedName) ? listedName : listedName.substring(1);
}

juce::StringArray shownNames(const juce::StringArray& listedNames)
{
    juce::StringArray names;
    for (const auto& name : listedNames)
        names.add(shownName(name));
    return names;
}
} // namespace

VirtualMidiPortLayer::VirtualMidiPortLayer(Options layerOptions)
    : options(std::move(layerOptions)), outputRecords(static_cast<std::size_t>(options.outputNames.size()))
{
}

juce::StringArray VirtualMidiPortLayer::getOutputNames()
{
    return shownNames(options.outputNames);
}

juce::StringArray VirtualMidiPortLayer::getInputNames()
{
    return shownNames(options.inputNames);
}

std::unique_ptr<MidiOutputPort> VirtualMidiPortLayer::openOutput(int index)
{
    if (!juce::isPositiveAndBelow(index, options.outputNames.size()) || !opens(options.outputNames[index]))
        return nullptr;
    const auto slot = static_cast<std::size_t>(index);
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        ++outputRecords[slot].openCount;
        ++outputRecords[slot].openNow;
    }

    VirtualMidiOutputPort::Settings settings;
    settings.name = shownName(options.outputNames[index]);
    settings.captureDirectory = options.captureDirectory;
    settings.bitsPerSecond = options.bitsPerSecond;
    settings.failFrom = options.failFrom;
    settings.stallFrom = options.stallFrom;
    settings.onSendBegun = [this, slot]
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        ++outputRecords[slot].sendsBegun;
    };
    settings.onSent = [this, slot](const std::uint8_t* data, int count)
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        outputRecords[slot].sent.emplace_back(data, static_cast<std::size_t>(count));
    };
    settings.onClosed = [this, slot]
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        --outputRecords[slot].openNow;
    };
    return std::make_unique<VirtualMidiOutputPort>(std::move(settings));
}

std::unique_ptr<MidiInputPort> VirtualMidiPortLayer::openInput(int index, juce::MidiInputCallback* callback)
{
    if (!juce::isPositiveAndBelow(index, options.inputNames.size()) || !opens(options.inputNames[index]))
        return nullptr;
    const std::lock_guard<std::mutex> lock(recordMutex);
    const int key = ++lastInputKey;
    // The port unregisters itself under the lock deliveries hold, so closing
    // it waits for a delivery in progress.
    auto port = std::make_unique<VirtualMidiInputPort>(
        callback,
        [this, key]
        {
            const std::lock_guard<std::mutex> closingLock(recordMutex);
            openInputs.erase(std::remove_if(openInputs.begin(), openInputs.end(),
                                            [key](const OpenInput& entry) { return entry.key == key; }),
                             openInputs.end());
        });
    openInputs.push_back({index, key, port.get()});
    return port;
}

bool VirtualMidiPortLayer::deliverToInput(int index, const juce::MidiMessage& message)
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    bool delivered = false;
    for (const auto& entry : openInputs)
        if (entry.index == index)
            delivered = entry.port->deliver(message) || delivered;
    return delivered;
}

std::vector<juce::MemoryBlock> VirtualMidiPortLayer::getSentMessages(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    if (!juce::isPositiveAndBelow(index, static_cast<int>(outputRecords.size())))
        return {};
    return outputRecords[static_cast<std::size_t>(index)].sent;
}

int VirtualMidiPortLayer::getOutputOpenCount(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    if (!juce::isPositiveAndBelow(index, static_cast<int>(outputRecords.size())))
        return 0;
    return outputRecords[static_cast<std::size_t>(index)].openCount;
}

int VirtualMidiPortLayer::getSendsBegun(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    if (!juce::isPositiveAndBelow(index, static_cast<int>(outputRecords.size())))
        return 0;
    return outputRecords[static_cast<std::size_t>(index)].sendsBegun;
}

bool VirtualMidiPortLayer::isOutputOpen(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    if (!juce::isPositiveAndBelow(index, static_cast<int>(outputRecords.size())))
        return false;
    return outputRecords[static_cast<std::size_t>(index)].openNow > 0;
}
