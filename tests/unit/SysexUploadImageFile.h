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
        image = std::make_unique<FirmwareImage>(directory.writeFile("image.syx", bytes).getFullPathName());
    }

    FirmwareImage* get() const noexcept { return image.get(); }

private:
    testsupport::TemporaryDirectory directory;
    std::unique_ptr<FirmwareImage> image;
};
