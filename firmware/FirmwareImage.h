#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <memory>
#include <optional>

/** The firmware an update sends, with the name, version and revision shown to
    the user: either the image built into the updater or the whole content of a
    SysEx file. Nothing is validated here; the upload checks the framing. */
class FirmwareImage
{
public:
    /** The built-in image: "Zodeduri" 1.2, revision 675, 270432 bytes that are
        never freed. */
    FirmwareImage();

    /** What the user must be told about a file that gave no image: the title
        and text of an alert. */
    struct Problem
    {
        juce::String title, message;
    };

    /** The image read from the file at path (relative paths start at the
        working directory). When the file is missing, cannot be read in full, or
        is larger than getSize can report, the image holds no data and
        getProblem says why; an empty file gives no data and no problem. */
    explicit FirmwareImage(const juce::String& path);

    ~FirmwareImage();

    /** First byte of the image; null when a file gave no data. */
    const std::uint8_t* getData() const noexcept { return data; }
    /** Number of bytes at getData (the low 32 bits of the size). */
    std::int32_t getSize() const noexcept { return static_cast<std::int32_t>(size & 0xffffffff); }
    /** Why a file gave no image; empty for the built-in image, a file read in
        full and an empty file. */
    const std::optional<Problem>& getProblem() const noexcept { return problem; }

    juce::String getName() const { return name; }
    void setName(const juce::String& newName) { name = newName; }
    /** 0.0 for a file image. */
    double getVersion() const noexcept { return version; }
    /** 0 for a file image. */
    std::int32_t getRevision() const noexcept { return revision; }

private:
    const std::uint8_t* data = nullptr;
    std::int64_t size = 0;
    juce::String name;
    double version = 0.0;
    std::int32_t revision = 0;
    std::unique_ptr<juce::MemoryBlock> fileBuffer;
    std::optional<Problem> problem;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FirmwareImage)
};
