#include "device/MidiPortLayer.h"

#include "device/system/SystemMidiPortLayer.h"
#include "device/virtual/VirtualMidiPortLayer.h"

namespace
{
bool readVariable(const char* name, juce::String& value)
{
    // JUCE reads the environment as Windows stores it (UTF-16) and as POSIX
    // does (UTF-8). It tells an unset variable only by returning the default,
    // so two defaults that no one value can match both.
    const auto text = juce::SystemStats::getEnvironmentVariable(name, "0");
    if (text == "0" && juce::SystemStats::getEnvironmentVariable(name, "1") == "1")
        return false;
    value = text;
    return true;
}

juce::StringArray portNames(const juce::String& list)
{
    juce::StringArray names;
    names.addTokens(list, ";", "");
    names.removeEmptyStrings(false);
    return names;
}

/** A whole non-negative decimal number, or fallback for anything else. */
int numberOr(const char* variableName, int fallback)
{
    juce::String text;
    if (!readVariable(variableName, text))
        return fallback;
    text = text.trim();
    if (text.isEmpty() || !text.containsOnly("0123456789") || text.length() > 9)
        return fallback;
    return text.getIntValue();
}
} // namespace

std::unique_ptr<MidiPortLayer> MidiPortLayer::createFromEnvironment()
{
    juce::String outputs, inputs, outputsFile;
    const bool hasOutputs = readVariable("DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", outputs);
    const bool hasInputs = readVariable("DAVIRODIR_VIRTUAL_MIDI_INPUTS", inputs);
    const bool hasOutputsFile = readVariable("DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", outputsFile);
    if (!hasOutputs && !hasInputs && !hasOutputsFile)
        return std::make_unique<SystemMidiPortLayer>();

    VirtualMidiPortLayer::Options options;
    options.outputNames = portNames(outputs);
    options.inputNames = portNames(inputs);
    // The file wins over the fixed list; an empty value names no file.
    if (hasOutputsFile && outputsFile.isNotEmpty())
        options.outputNamesFile = juce::File::getCurrentWorkingDirectory().getChildFile(outputsFile);
    juce::String captureDirectory;
    if (readVariable("DAVIRODIR_VIRTUAL_MIDI_CAPTURE", captureDirectory) && captureDirectory.isNotEmpty())
        options.captureDirectory = juce::File::getCurrentWorkingDirectory().getChildFile(captureDirectory);
    options.bitsPerSecond = numberOr("DAVIRODIR_VIRTUAL_MIDI_BAUD", 31250);
    options.failFrom = numberOr("DAVIRODIR_VIRTUAL_MIDI_FAIL_FROM", 0);
    options.stallFrom = numberOr("DAVIRODIR_VIRTUAL_MIDI_STALL_FROM", 0);
    return std::make_unique<VirtualMidiPortLayer>(std::move(options));
}
