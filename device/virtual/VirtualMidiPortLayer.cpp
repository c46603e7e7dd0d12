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
    : options(std::move(layerOptions)), listedOutputs(readOutputList())
{
}

juce::StringArray VirtualMidiPortLayer::readOutputList() const
{
    if (options.outputNamesFile == juce::File())
        return options.outputNames;
    juce::StringArray lines;
    lines.addLines(options.outputNamesFile.loadFileAsString());
    lines.trim();
    lines.removeEmptyStrings();
    return lines;
}

juce::StringArray VirtualMidiPortLayer::getOutputNames()
{
    auto listed = readOutputList();
    const std::lock_guard<std::mutex> lock(recordMutex);
    listedOutputs = std::move(listed);
    return shownNames(listedOutputs);
}

juce::StringArray VirtualMidiPortLayer::getInputNames()
{
    return shownNames(options.inputNames);
}

std::unique_ptr<MidiOutputPort> VirtualMidiPortLayer::openOutput(int index)
{
    juce::String listedName;
    OutputRecord* record = nullptr; // std::map never moves its entries
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        if (!juce::isPositiveAndBelow(index, listedOutputs.size()) || !opens(listedOutputs[index]))
            return nullptr;
        listedName = listedOutputs[index];
        record = &outputRecords[listedName];
        ++record->openCount;
        ++record->openNow;
    }

    VirtualMidiOutputPort::Settings settings;
    settings.name = shownName(listedName);
    settings.captureDirectory = options.captureDirectory;
    settings.bitsPerSecond = options.bitsPerSecond;
    settings.failFrom = options.failFrom;
    settings.stallFrom = options.stallFrom;
    if (options.outputNamesFile != juce::File())
        settings.isPresent = [this, listedName] { return readOutputList().contains(listedName); };
    settings.onSendBegun = [this, record]
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        ++record->sendsBegun;
    };
    settings.onSent = [this, record](const std::uint8_t* data, int count)
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        record->sent.emplace_back(data, static_cast<std::size_t>(count));
    };
    settings.onClosed = [this, record]
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        --record->openNow;
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

const VirtualMidiPortLayer::OutputRecord* VirtualMidiPortLayer::recordAt(int index) const
{
    if (!juce::isPositiveAndBelow(index, listedOutputs.size()))
        return nullptr;
    const auto found = outputRecords.find(listedOutputs[index]);
    return found != outputRecords.end() ? &found->second : nullptr;
}

std::vector<juce::MemoryBlock> VirtualMidiPortLayer::getSentMessages(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    const auto* record = recordAt(index);
    return record != nullptr ? record->sent : std::vector<juce::MemoryBlock>();
}

int VirtualMidiPortLayer::getOutputOpenCount(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    const auto* record = recordAt(index);
    return record != nullptr ? record->openCount : 0;
}

int VirtualMidiPortLayer::getSendsBegun(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    const auto* record = recordAt(index);
    return record != nullptr ? record->sendsBegun : 0;
}

bool VirtualMidiPortLayer::isOutputOpen(int index) const
{
    const std::lock_guard<std::mutex> lock(recordMutex);
    const auto* record = recordAt(index);
    return record != nullptr && record->openNow > 0;
}
