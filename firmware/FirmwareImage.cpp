#include "firmware/FirmwareImage.h"

#include <FirmwareData.h>

#include <limits>

namespace
{
FirmwareImage::Problem fileProblem(const juce::String& path, const juce::String& what,
                                   const juce::String& reason)
{
    return {"File " + path + " " + what, "A firmware file was specified, but " + reason +
                                             ".\n The application will use the build-in firmware version."};
}
} // namespace

FirmwareImage::FirmwareImage()
    : data(reinterpret_cast<const std::uint8_t*>(DavirodirData::zodeduri_syx)),
      size(DavirodirData::zodeduri_syxSize), name("Zodeduri"), version(1.2), revision(675)
{
}

FirmwareImage::FirmwareImage(const juce::String& path)
{
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(path);

    if (!file.existsAsFile())
    {
        problem = fileProblem(path, "not found", "it could not be found");
        return;
    }

    const auto fileSize = file.getSize();
    if (fileSize > std::numeric_limits<std::int32_t>::max())
    {
        // getSize reports 32 bits; a silently cut image must never be sent.
        problem = fileProblem(path, "is too large", "it is too large to be a firmware image");
        return;
    }

    auto buffer = std::make_unique<juce::MemoryBlock>();
    juce::FileInputStream stream(file);
    const auto bytesRead = stream.openedOk() ? stream.readIntoMemoryBlock(*buffer, fileSize) : 0;

    if (!stream.openedOk() || static_cast<juce::int64>(bytesRead) != fileSize || stream.getStatus().failed())
    {
        // A size that claims more bytes than were read would send garbage.
        problem = fileProblem(path, "could not be read", "it could not be read");
        return;
    }

    name = file.getFileNameWithoutExtension();

    if (bytesRead == 0)
        return;

    fileBuffer = std::move(buffer);
    data = static_cast<const std::uint8_t*>(fileBuffer->getData());
    size = static_cast<std::int64_t>(bytesRead);
}

FirmwareImage::~FirmwareImage() = default;
