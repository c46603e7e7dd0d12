// One fuzz entry for everything that reads outside data. The first byte picks
// the reader; the rest is its input.
#include "app/CommandLine.h"
#include "firmware/FirmwareImage.h"
#include "upload/SysexFraming.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
juce::File scratchFile()
{
    static const juce::File file =
        juce::File::getSpecialLocation(juce::File::tempDirectory)
            .getChildFile("davirodir-fuzz-" + juce::String(static_cast<int>(getpid())))
            .withFileExtension("syx");
    return file;
}

void readCommandLine(const std::uint8_t* data, size_t size)
{
    // A raw copy, as fromUTF8 makes it, may hold malformed UTF-8.
    const auto text = juce::String::fromUTF8(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const auto options = interpretCommandLine(text);
    if (options.nInputid < 1 || options.nOutputid < 1)
        __builtin_trap();
    if (!options.fileGiven && options.filePath.isNotEmpty())
        __builtin_trap();
    // Split at blanks byte by byte, as argv arrives, and made valid as the
    // entry point does before JUCE reads them.
    juce::StringArray arguments;
    std::string current;
    for (size_t i = 0; i <= size; ++i)
    {
        if (i == size || data[i] == ' ' || data[i] == 0)
        {
            arguments.add(juce::String::fromUTF8(toValidUtf8(current.c_str()).c_str()));
            current.clear();
        }
        else
        {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    interpretCommandLine(joinArguments(arguments));
}

void readFirmwareFile(const std::uint8_t* data, size_t size)
{
    const auto file = scratchFile();
    file.replaceWithData(data, size);
    FirmwareImage image(file.getFullPathName());
    if (size == 0 ? image.getData() != nullptr : image.getSize() != static_cast<std::int32_t>(size))
        __builtin_trap();
    if (size > 0 && std::memcmp(image.getData(), data, size) != 0)
        __builtin_trap();
}
// The check must agree with a plain walk over the messages, and the scanner
// must never step outside the bytes it was given (ASan watches the copy's end).
void scanImage(const std::uint8_t* data, size_t size)
{
    std::vector<std::uint8_t> copy(data, data + size);
    const auto* bytes = copy.data();
    size_t position = 0;
    bool clean = size > 0;
    while (position < size)
    {
        const auto length = nextMessageLength(bytes + position, size - position);
        if (length > size - position)
            __builtin_trap();
        if (length == 0)
        {
            clean = false;
            break;
        }
        if (bytes[position] != 0xF0 || bytes[position + length - 1] != 0xF7)
            __builtin_trap();
        position += length;
    }
    if (isCleanSysexImage(bytes, size) != clean)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    switch (data[0] % 3)
    {
    case 0:
        readCommandLine(data + 1, size - 1);
        break;
    case 1:
        readFirmwareFile(data + 1, size - 1);
        break;
    default:
        scanImage(data + 1, size - 1);
        break;
    }
    return 0;
}
