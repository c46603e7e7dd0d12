#pragma once

#include "TestSupport.h"
#include "firmware/FirmwareImage.h"

#include <memory>
#include <vector>

/** A firmware image read from a temporary file holding exactly the given
    bytes; no bytes give an image without data. */
class SysexUploadImageFile
{
public:
    explicit SysexUploadImageFile(const std::vector<std::uint8_t>& bytes)
    {
        const auto file = directory.file("image.syx");
        if (bytes.empty())
            file.create(); // replaceWithData would delete it
        else
            file.replaceWithData(bytes.data(), bytes.size());
        image = std::make_unique<FirmwareImage>(file.getFullPathName());
    }

    FirmwareImage* get() const noexcept { return image.get(); }

private:
    testsupport::TemporaryDirectory directory;
    std::unique_ptr<FirmwareImage> image;
};
