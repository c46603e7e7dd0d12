#include "firmware/FirmwareImage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_cryptography/juce_cryptography.h>

#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
const char* const notFoundText =
    "A firmware file was specified, but it could not be found.\n The application will use the build-in "
    "firmware version.";

TEST(BuiltInFirmware, HasTheFixedShapeAndContent)
{
    FirmwareImage image;
    EXPECT_EQ(image.getSize(), 270432);
    EXPECT_EQ(image.getName(), "Zodeduri");
    EXPECT_DOUBLE_EQ(image.getVersion(), 1.2);
    EXPECT_EQ(image.getRevision(), 675);
    ASSERT_NE(image.getData(), nullptr);

    juce::SHA256 sha(image.getData(), static_cast<size_t>(image.getSize()));
    EXPECT_EQ(sha.toHexString(), "c9852eb9ecdb018f167e5a53ff425726575212e741ef580062cc4a759e618ae6");

    // 543 complete messages back to back, 9 to 537 bytes, mostly 504, 7-bit data.
    const auto* d = image.getData();
    int messages = 0, of504 = 0, shortest = 1 << 30, longest = 0;
    for (int i = 0; i < image.getSize();)
    {
        ASSERT_EQ(d[i], 0xF0) << "byte outside a message at " << i;
        int j = i + 1;
        while (j < image.getSize() && d[j] != 0xF7)
        {
            ASSERT_LT(d[j], 0x80) << "not a data byte at " << j;
            ++j;
        }
        ASSERT_LT(j, image.getSize()) << "last message not closed";
        EXPECT_EQ(d[i + 1], 0x7D) << "manufacturer id";
        const int length = j - i + 1;
        ++messages;
        of504 += length == 504 ? 1 : 0;
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
        i = j + 1;
    }
    EXPECT_EQ(messages, 543);
    EXPECT_EQ(shortest, 9);
    EXPECT_EQ(longest, 537);
    EXPECT_GT(of504, 543 / 2);
}

TEST(BuiltInFirmware, CanBeRenamed)
{
    FirmwareImage image;
    image.setName("Other");
    EXPECT_EQ(image.getName(), "Other");
}

TEST(FileFirmware, TakesTheWholeFileAndItsNameWithoutExtension)
{
    testsupport::TemporaryDirectory dir;
    const juce::uint8 bytes[] = {0xF0, 0x7D, 0x01, 0xF7, 0xF0, 0x7D, 0x02, 0x03, 0xF7};
    const auto file = dir.writeFile("update.syx", {std::begin(bytes), std::end(bytes)});

    FirmwareImage image(file.getFullPathName());
    EXPECT_FALSE(image.getProblem().has_value());
    EXPECT_EQ(image.getName(), "update");
    EXPECT_EQ(image.getVersion(), 0.0);
    EXPECT_EQ(image.getRevision(), 0);
    ASSERT_EQ(image.getSize(), 9);
    ASSERT_NE(image.getData(), nullptr);
    EXPECT_EQ(std::vector<juce::uint8>(image.getData(), image.getData() + 9),
              std::vector<juce::uint8>(bytes, bytes + 9));
}

TEST(FileFirmware, ARelativePathStartsAtTheWorkingDirectory)
{
    testsupport::TemporaryDirectory dir;
    dir.writeFile("fw.syx", {0xF0, 0x01, 0xF7});
    const auto previous = juce::File::getCurrentWorkingDirectory();
    dir.get().setAsCurrentWorkingDirectory();
    FirmwareImage image("fw.syx");
    previous.setAsCurrentWorkingDirectory();
    EXPECT_FALSE(image.getProblem().has_value());
    EXPECT_EQ(image.getSize(), 3);
}

TEST(FileFirmware, MissingFileDirectoryOrEmptyPathAlertsWithThePathAsGiven)
{
    testsupport::TemporaryDirectory dir;
    const juce::String paths[] = {dir.file("nothing here.syx").getFullPathName(), dir.get().getFullPathName(),
                                  ""};
    for (const auto& path : paths)
    {
        FirmwareImage image(path);
        EXPECT_EQ(image.getData(), nullptr) << path;
        ASSERT_TRUE(image.getProblem().has_value()) << path;
        EXPECT_EQ(image.getProblem()->title, "File " + path + " not found");
        EXPECT_EQ(image.getProblem()->message, notFoundText);
    }
}

TEST(FileFirmware, EmptyFileGivesNoDataAndNoAlert)
{
    testsupport::TemporaryDirectory dir;
    ASSERT_TRUE(dir.file("empty.syx").create());
    FirmwareImage image(dir.file("empty.syx").getFullPathName());
    EXPECT_EQ(image.getData(), nullptr);
    EXPECT_EQ(image.getSize(), 0);
    EXPECT_FALSE(image.getProblem().has_value());
}

TEST(FileFirmware, UnreadableFileIsRefusedWithAnAlertInsteadOfAShortImage)
{
    testsupport::TemporaryDirectory dir;
    const auto file = dir.writeFile("locked.syx", {0xF0, 0x01, 0xF7});
    ASSERT_TRUE(file.setReadOnly(true));
    ASSERT_EQ(chmod(file.getFullPathName().toRawUTF8(), 0), 0);

    const void* data = reinterpret_cast<const void*>(1);
    int size = -1;
    std::optional<FirmwareImage::Problem> problem;
    const bool dropped = testsupport::withoutReadOverride(
        [&]
        {
            FirmwareImage image(file.getFullPathName());
            data = image.getData();
            size = image.getSize();
            problem = image.getProblem();
        });
    ASSERT_TRUE(dropped) << "could not give up the right to read any file";
    chmod(file.getFullPathName().toRawUTF8(), 0600);

    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->title, "File " + file.getFullPathName() + " could not be read");
    EXPECT_TRUE(problem->message.contains("could not be read"));
}

TEST(FileFirmware, FileTooLargeForA32BitSizeIsRefusedNotCut)
{
    testsupport::TemporaryDirectory dir;
    const auto file = dir.file("huge.syx");
    // Sparse: takes no disk space.
    const int fd = ::open(file.getFullPathName().toRawUTF8(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, (off_t(1) << 32) + 9), 0);
    ::close(fd);

    FirmwareImage image(file.getFullPathName());
    EXPECT_EQ(image.getData(), nullptr);
    EXPECT_EQ(image.getSize(), 0);
    ASSERT_TRUE(image.getProblem().has_value());
    EXPECT_EQ(image.getProblem()->title, "File " + file.getFullPathName() + " is too large");
}
} // namespace
