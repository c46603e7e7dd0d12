#include "firmware/FirmwareImage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_cryptography/juce_cryptography.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
using testsupport::AlertRecorder;

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
    AlertRecorder recorder;
    testsupport::TemporaryDirectory dir;
    const auto file = dir.file("update.syx");
    const juce::uint8 bytes[] = {0xF0, 0x7D, 0x01, 0xF7, 0xF0, 0x7D, 0x02, 0x03, 0xF7};
    ASSERT_TRUE(file.replaceWithData(bytes, sizeof(bytes)));

    FirmwareImage image(file.getFullPathName());
    EXPECT_TRUE(recorder.alerts.empty());
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
    AlertRecorder recorder;
    testsupport::TemporaryDirectory dir;
    const juce::uint8 bytes[] = {0xF0, 0x01, 0xF7};
    ASSERT_TRUE(dir.file("fw.syx").replaceWithData(bytes, sizeof(bytes)));
    const auto previous = juce::File::getCurrentWorkingDirectory();
    dir.get().setAsCurrentWorkingDirectory();
    FirmwareImage image("fw.syx");
    previous.setAsCurrentWorkingDirectory();
    EXPECT_TRUE(recorder.alerts.empty());
    EXPECT_EQ(image.getSize(), 3);
}

TEST(FileFirmware, MissingFileDirectoryOrEmptyPathAlertsWithThePathAsGiven)
{
    testsupport::TemporaryDirectory dir;
    const juce::String paths[] = {dir.file("nothing here.syx").getFullPathName(), dir.get().getFullPathName(),
                                  ""};
    for (const auto& path : paths)
    {
        AlertRecorder recorder;
        FirmwareImage image(path);
        EXPECT_EQ(image.getData(), nullptr) << path;
        ASSERT_EQ(recorder.alerts.size(), 1u) << path;
        EXPECT_EQ(recorder.alerts[0].icon, juce::MessageBoxIconType::NoIcon);
        EXPECT_EQ(recorder.alerts[0].title, "File " + path + " not found");
        EXPECT_EQ(recorder.alerts[0].message, notFoundText);
    }
}

TEST(FileFirmware, EmptyFileGivesNoDataAndNoAlert)
{
    AlertRecorder recorder;
    testsupport::TemporaryDirectory dir;
    ASSERT_TRUE(dir.file("empty.syx").create());
    FirmwareImage image(dir.file("empty.syx").getFullPathName());
    EXPECT_EQ(image.getData(), nullptr);
    EXPECT_EQ(image.getSize(), 0);
    EXPECT_TRUE(recorder.alerts.empty());
}

// Root reads any file; drop the capabilities that allow it, on this thread only.
bool dropFileReadOverrideOnThisThread()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (auto cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        data[0].effective &= ~(1u << cap);
    return syscall(SYS_capset, &header, data) == 0;
}

TEST(FileFirmware, UnreadableFileIsRefusedWithAnAlertInsteadOfAShortImage)
{
    AlertRecorder recorder;
    testsupport::TemporaryDirectory dir;
    const auto file = dir.file("locked.syx");
    const juce::uint8 bytes[] = {0xF0, 0x01, 0xF7};
    ASSERT_TRUE(file.replaceWithData(bytes, sizeof(bytes)));
    ASSERT_TRUE(file.setReadOnly(true));
    ASSERT_EQ(chmod(file.getFullPathName().toRawUTF8(), 0), 0);

    const void* data = reinterpret_cast<const void*>(1);
    int size = -1;
    bool dropped = false;
    std::thread reader(
        [&]
        {
            dropped = dropFileReadOverrideOnThisThread();
            FirmwareImage image(file.getFullPathName());
            data = image.getData();
            size = image.getSize();
        });
    reader.join();
    ASSERT_TRUE(dropped) << "could not give up the right to read any file";
    chmod(file.getFullPathName().toRawUTF8(), 0600);

    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0);
    ASSERT_EQ(recorder.alerts.size(), 1u);
    EXPECT_EQ(recorder.alerts[0].title, "File " + file.getFullPathName() + " could not be read");
    EXPECT_TRUE(recorder.alerts[0].message.contains("could not be read"));
}

TEST(FileFirmware, FileTooLargeForA32BitSizeIsRefusedNotCut)
{
    AlertRecorder recorder;
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
    ASSERT_EQ(recorder.alerts.size(), 1u);
    EXPECT_EQ(recorder.alerts[0].title, "File " + file.getFullPathName() + " is too large");
}
} // namespace
