#include "app/CommandLine.h"

namespace
{
int idAfter(const juce::String& commandLine, const juce::String& switchText)
{
    // An absent switch leaves an empty remainder, whose value is 0.
    const auto value = commandLine.fromFirstOccurrenceOf(switchText, false, false).getIntValue();
    return juce::jmax(1, value);
}
} // namespace

CommandLineOptions interpretCommandLine(const juce::String& commandLine)
{
    CommandLineOptions options;

    options.fileGiven = commandLine.containsWholeWordIgnoreCase("--file");
    if (options.fileGiven)
        options.filePath = commandLine.fromFirstOccurrenceOf("--file", false, false).trim();

    options.autoUpdate = commandLine.containsWholeWordIgnoreCase("--autoupdate");
    if (options.autoUpdate)
    {
        options.nInputid = idAfter(commandLine, "--inputid ");
        options.nOutputid = idAfter(commandLine, "--outputid ");
    }

    return options;
}

juce::String joinArguments(const juce::StringArray& argumentsAfterProgram)
{
    return argumentsAfterProgram.joinIntoString(" ").trim();
}
