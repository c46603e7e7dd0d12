#include "upload/ProtocolBaseClass.h"
#include "SysexUploadFakeInterface.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
/** A protocol whose run holds until released, counting its runs. */
class HeldProtocol : public ProtocolBaseClass
{
public:
    HeldProtocol(InterfaceBaseClass* device, FirmwareImage* image) : ProtocolBaseClass(device, image) {}
    ~HeldProtocol() override
    {
        release.signal();
        stopThread(-1);
    }

    void run() override
    {
        ++runs;
        priorityInRun = getPriority();
        release.wait(-1);
    }

    juce::WaitableEvent release{true};
    std::atomic<int> runs{0};
    std::atomic<juce::Thread::Priority> priorityInRun{juce::Thread::Priority::normal};
};

class ProtocolBase : public ::testing::Test
{
protected:
    SysexUploadFakeInterface device;
    FirmwareImage image;
    HeldProtocol protocol{&device, &image};
};

TEST_F(ProtocolBase, IsCreatedIdleUnderItsThreadName)
{
    EXPECT_FALSE(protocol.isThreadRunning());
    EXPECT_EQ(protocol.getThreadName(), "Protocol Thread");
    EXPECT_EQ(protocol.runs.load(), 0);
    EXPECT_TRUE(device.getSends().empty());
}

TEST_F(ProtocolBase, StartUploadResetsProgressAndStartsOneRunJustBelowDefaultPriority)
{
    protocol.setProgress(0.5);
    protocol.startUpload();
    EXPECT_EQ(protocol.getProgress(), 0.0);
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return protocol.runs.load() == 1; }));
    EXPECT_EQ(protocol.priorityInRun.load(), juce::Thread::Priority::low);
}

TEST_F(ProtocolBase, StartUploadOnARunningProtocolOnlyResetsAFullProgress)
{
    protocol.startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return protocol.runs.load() == 1; }));

    protocol.setProgress(0.37);
    protocol.startUpload();
    EXPECT_EQ(protocol.getProgress(), 0.37);

    protocol.setProgress(1.0);
    protocol.startUpload();
    EXPECT_EQ(protocol.getProgress(), 0.0);

    protocol.release.signal();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !protocol.isThreadRunning(); }));
    EXPECT_EQ(protocol.runs.load(), 1);
}

TEST_F(ProtocolBase, AFinishedProtocolStartsAgain)
{
    protocol.release.signal();
    protocol.startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !protocol.isThreadRunning(); }));
    protocol.startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !protocol.isThreadRunning(); }));
    EXPECT_EQ(protocol.runs.load(), 2);
}
} // namespace
