#include "app/CommandLine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <locale.h>

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
    // JUCE's getIntValue wraps past 32 bits (4294967298 would be 2), so the
    // digits are read here, saturating. An absent switch leaves an empty
    // remainder, whose value is 0.
    constexpr juce::int64 noSuchId = std::numeric_limits<int>::max();
    // The remainder must outlive the pointer that walks it.
    const auto rest = commandLine.fromFirstOccurrenceOf(switchText, false, false).trimStart();
    auto p = rest.getCharPointer();
    const bool negative = *p == '-';
    if (negative)
        ++p;

    juce::int64 value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = std::min(noSuchId + 1, value * 10 + (*p - '0'));

    if (negative || value < 1)
        return 1;
    return (int)std::min(value, noSuchId);
}

// JUCE's character classes ask the C library. glibc's follow the locale: in
// the "C" locale the updater runs in, é is no letter; under C.UTF-8 (built
// into glibc) they are Unicode's. The Windows C library classifies wide
// characters by Unicode in every locale.
bool isLetterOrDigit(juce::juce_wchar c)
{
#if JUCE_WINDOWS
    return juce::CharacterFunctions::isLetterOrDigit(c);
#else
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", (locale_t)0);
    if (unicode == (locale_t)0)
        return c >= 0x80 || juce::CharacterFunctions::isLetterOrDigit(c);

    const auto previous = uselocale(unicode);
    const bool result = juce::CharacterFunctions::isLetterOrDigit(c);
    uselocale(previous);
    return result;
#endif
}

bool containsWholeWordIgnoreCase(const juce::String& text, const juce::String& word)
{
    for (int i = text.indexOfIgnoreCase(word); i >= 0; i = text.indexOfIgnoreCase(i + 1, word))
    {
        const auto end = i + word.length();
        if ((i == 0 || !isLetterOrDigit(text[i - 1])) && !isLetterOrDigit(text[end]))
            return true;
    }
    return false;
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

    options.fileGiven = containsWholeWordIgnoreCase(commandLine, "--file");
    if (options.fileGiven)
        options.filePath = commandLine.fromFirstOccurrenceOf("--file", false, false).trim();

    options.autoUpdate = containsWholeWordIgnoreCase(commandLine, "--autoupdate");
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
