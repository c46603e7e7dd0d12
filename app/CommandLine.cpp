#include "app/CommandLine.h"

#include <cstring>

namespace
{
bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Bytes a well-formed sequence with this lead byte has, or 0 for a byte that
// cannot lead one.
size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Overlong forms, surrogates and code points above U+10FFFF are ruled out by
// the second byte; JUCE would count such a sequence short and overrun.
bool secondByteFits(unsigned char lead, unsigned char second)
{
    switch (lead)
    {
    case 0xE0:
        return second >= 0xA0;
    case 0xED:
        return second <= 0x9F;
    case 0xF0:
        return second >= 0x90;
    case 0xF4:
        return second <= 0x8F;
    default:
        return true;
    }
}

int idAfter(const juce::String& commandLine, const juce::String& switchText)
{
    // An absent switch leaves an empty remainder, whose value is 0.
    const auto value = commandLine.fromFirstOccurrenceOf(switchText, false, false).getIntValue();
    return juce::jmax(1, value);
}
} // namespace

std::string toValidUtf8(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    const auto size = std::strlen(bytes);
    std::string out;
    out.reserve(size);
    for (size_t i = 0; i < size;)
    {
        auto length = sequenceLength(b[i]);
        for (size_t k = 1; k < length; ++k)
            if (i + k >= size || !isContinuation(b[i + k]))
                length = 0;
        if (length > 1 && !secondByteFits(b[i], b[i + 1]))
            length = 0;

        if (length == 0)
        {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(bytes + i, length);
        i += length;
    }
    return out;
}

CommandLineOptions interpretCommandLine(const juce::String& text)
{
    const auto commandLine = juce::String::fromUTF8(toValidUtf8(text.toRawUTF8()).c_str());
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
