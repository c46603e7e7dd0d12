#include "SysexUploadFakeInterface.h"
#include "SysexUploadImageFile.h"
#include "TestSupport.h"
#include "upload/AutoUpdate.h"
#include "upload/BasicSysexProtocolClass.h"
#include "upload/RealUploadClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace
{
using Outcome = BasicSysexProtocolClass::Outcome;

double now()
{
    return juce::Time::getMillisecondCounterHiRes();
}

/** A protocol on the real clock over a tiny image. */
class SysexUploadRealTime : public ::testing::Test
{
protected:
    ~SysexUploadRealTime() override
    {
        protocol.reset();
        autoUpdate = false;
    }

    void useImage(const std::vector<std::uint8_t>& bytes)
    {
        imageFile = std::make_unique<SysexUploadImageFile>(bytes);
        BasicSysexProtocolClass::Reports counting;
        counting.automaticEnd = [this](Outcome) { ++reports; };
        protocol = std::make_unique<BasicSysexProtocolClass>(&device, imageFile->get(), clock, counting);
    }

    bool statusBecomes(const juce::String& text, int timeoutMs)
    {
        return testsupport::runMessageLoopUntil([&] { return protocol->getStatusText() == text; }, timeoutMs);
    }

    double destroyProtocol()
    {
        const auto start = now();
        protocol.reset();
        return now() - start;
    }

    SysexUploadFakeInterface device;
    std::unique_ptr<SysexUploadImageFile> imageFile;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    RealUploadClock clock;
    std::atomic<int> reports{0};
};

TEST_F(SysexUploadRealTime, ATwoMessageRunTakesItsPausesAndTheCompletionPause)
{
    useImage({0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7});
    const auto start = now();
    protocol->startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !protocol->isThreadRunning(); }, 30000));
    const auto took = now() - start;

    EXPECT_GE(took, 2 * 300 + 5000 - 2.0);
    EXPECT_LT(took, 20000.0);
    EXPECT_EQ(device.getSends().size(), 2u);
    EXPECT_EQ(protocol->getStatusText(), "Please turn power off and on again");
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

TEST_F(SysexUploadRealTime, AnExitRequestDuringAPauseLetsThePauseFinish)
{
    useImage({0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7});
    std::atomic<double> sentAt{0.0};
    device.onSend = [&]
    {
        sentAt = now();
        protocol->signalThreadShouldExit();
    };
    protocol->startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !protocol->isThreadRunning(); }, 10000));
    const auto ended = now();

    EXPECT_GE(ended - sentAt.load(), 300 - 2.0);
    EXPECT_EQ(device.getSends().size(), 1u);
    EXPECT_EQ(protocol->getStatusText(), "Uploading firmware");
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::stopped);
}

TEST_F(SysexUploadRealTime, TheCloseHandlersWaitEndsWellWithinTheAutomaticWait)
{
    autoUpdate = true;
    useImage({0xf0, 0x01, 0xf7});
    protocol->startUpload();
    ASSERT_TRUE(statusBecomes("Uploading firmware", 5000));

    const auto start = now();
    protocol->signalThreadShouldExit();
    EXPECT_TRUE(protocol->waitForThreadToExit(5000));
    EXPECT_LT(now() - start, 1500.0);
    EXPECT_TRUE(device.getSends().empty());
    EXPECT_EQ(reports.load(), 0);
}

TEST_F(SysexUploadRealTime, DestroyingDuringTheAutomaticWaitEndsTheThreadAtOnce)
{
    autoUpdate = true;
    useImage({0xf0, 0x01, 0xf7});
    protocol->startUpload();
    ASSERT_TRUE(statusBecomes("Uploading firmware", 5000));

    EXPECT_LT(destroyProtocol(), 1500.0);
    EXPECT_TRUE(device.getSends().empty());
    EXPECT_EQ(reports.load(), 0);
}

TEST_F(SysexUploadRealTime, DestroyingDuringTheCompletionPauseEndsTheThreadAtOnce)
{
    useImage({0xf0, 0x01, 0xf7});
    protocol->startUpload();
    ASSERT_TRUE(statusBecomes("Update completed", 5000));

    EXPECT_LT(destroyProtocol(), 3000.0);
    const auto enablements = device.getEnablements();
    ASSERT_EQ(enablements.size(), 1u); // disabled at the pass, never enabled by a stopped run
    EXPECT_FALSE(enablements[0].enabled);
}
} // namespace
