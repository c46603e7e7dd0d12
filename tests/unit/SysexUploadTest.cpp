#include "SysexUploadTestFixture.h"

#include <cmath>

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Kind = SysexUploadSimulatedClock::Kind;
using Outcome = BasicSysexProtocolClass::Outcome;

const Bytes threeMessages{0xf0, 0x01, 0xf7, 0xf0, 0x02, 0x03, 0xf7, 0xf0, 0xf7};

//==============================================================================
struct ScheduleCase
{
    const char* name;
    Bytes image;
    std::vector<Bytes> blocks;
    std::vector<double> progressNotices;
    bool automatic;
};

class SysexUploadSchedule : public SysexUploadTestFixture, public ::testing::WithParamInterface<ScheduleCase>
{
};

TEST_P(SysexUploadSchedule, SendsEachMessageWholeInOrderOnTheFixedSchedule)
{
    const auto& c = GetParam();
    autoUpdate = c.automatic;
    useImage(c.image);
    std::vector<juce::String> statusAtCall;
    clock.onCall = [&](const SysexUploadSimulatedClock::Call&)
    { statusAtCall.push_back(protocol->getStatusText()); };

    runToEnd();

    const std::int64_t start = c.automatic ? 2000 : 0;
    const auto k = static_cast<std::int64_t>(c.blocks.size());
    const auto sends = device.getSends();
    ASSERT_EQ(sends.size(), c.blocks.size());
    for (std::size_t i = 0; i < sends.size(); ++i)
    {
        EXPECT_EQ(sends[i].bytes, c.blocks[i]) << i;
        EXPECT_EQ(sends[i].at, start + 300 * static_cast<std::int64_t>(i)) << i;
    }

    const auto calls = clock.calls();
    ASSERT_EQ(calls.size(), c.blocks.size() + (c.automatic ? 2u : 1u));
    std::size_t n = 0;
    if (c.automatic)
    {
        EXPECT_EQ(calls[n].kind, Kind::wait);
        EXPECT_EQ(calls[n].ms, 2000);
        EXPECT_EQ(statusAtCall[n], "Uploading firmware");
        ++n;
    }
    for (std::int64_t i = 0; i < k; ++i, ++n)
    {
        EXPECT_EQ(calls[n].kind, Kind::pause);
        EXPECT_EQ(calls[n].ms, 300);
        EXPECT_EQ(calls[n].at, start + 300 * i);
    }
    EXPECT_EQ(calls[n].kind, Kind::wait);
    EXPECT_EQ(calls[n].ms, 5000);
    EXPECT_EQ(calls[n].at, start + 300 * k);
    EXPECT_FALSE(calls[n].cutShort);
    EXPECT_EQ(statusAtCall[n], "Update completed");

    // Disabled at the first pass, enabled only after the second closing text.
    const auto enablements = device.getEnablements();
    ASSERT_EQ(enablements.size(), 2u);
    EXPECT_FALSE(enablements[0].enabled);
    EXPECT_EQ(enablements[0].at, start);
    EXPECT_TRUE(enablements[1].enabled);
    EXPECT_EQ(enablements[1].at, start + 300 * k + 5000);
    EXPECT_EQ(enablements[1].status, "Please turn power off and on again");

    EXPECT_EQ(listener->synchronousProgress(), c.progressNotices);
    EXPECT_EQ(protocol->getProgress(), 1.0);
    EXPECT_EQ(protocol->getUploadProgress(), 1.0);
    EXPECT_EQ(protocol->getStatusText(), "Please turn power off and on again");
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);

    const auto requests = getEndReports();
    if (c.automatic)
    {
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].outcome, Outcome::completed);
        EXPECT_EQ(requests[0].status, "Please turn power off and on again");
        EXPECT_TRUE(requests[0].interfaceEnabled);
    }
    else
    {
        EXPECT_TRUE(requests.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Images, SysexUploadSchedule,
    ::testing::Values(
        ScheduleCase{"SingleMessage", {0xf0, 0x7e, 0x01, 0xf7}, {{0xf0, 0x7e, 0x01, 0xf7}}, {1.0}, false},
        // 3, 4 and 2 of 9 bytes: 3/9 shows 0.33, 7/9 shows 0.78.
        ScheduleCase{"ThreeMessages",
                     threeMessages,
                     {{0xf0, 0x01, 0xf7}, {0xf0, 0x02, 0x03, 0xf7}, {0xf0, 0xf7}},
                     {0.33, 0.78, 1.0},
                     false},
        ScheduleCase{"ThreeMessagesAutomatic",
                     threeMessages,
                     {{0xf0, 0x01, 0xf7}, {0xf0, 0x02, 0x03, 0xf7}, {0xf0, 0xf7}},
                     {0.33, 0.78, 1.0},
                     true},
        ScheduleCase{"MessageLackingItsF7JoinsTheNext",
                     {0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7},
                     {{0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7}},
                     {1.0},
                     false},
        // 6 of 9 bytes shows 0.67.
        ScheduleCase{"JoinedBlockThenAnother",
                     {0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7, 0xf0, 0x04, 0xf7},
                     {{0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7}, {0xf0, 0x04, 0xf7}},
                     {0.67, 1.0},
                     false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

//==============================================================================
class SysexUploadBuiltIn : public SysexUploadTestFixture
{
protected:
    FirmwareImage builtIn;
};

TEST_F(SysexUploadBuiltIn, SendsAll543MessagesWithAtMost101ProgressNotices)
{
    useImage(&builtIn);
    runToEnd();

    const auto sends = device.getSends();
    ASSERT_EQ(sends.size(), 543u);
    std::size_t bytes = 0;
    for (const auto& send : sends)
    {
        ASSERT_GE(send.bytes.size(), 2u);
        EXPECT_EQ(send.bytes.front(), 0xf0);
        EXPECT_EQ(send.bytes.back(), 0xf7);
        bytes += send.bytes.size();
    }
    EXPECT_EQ(bytes, 270432u);
    EXPECT_EQ(sends.back().at, 300 * 542);
    EXPECT_EQ(clock.now(), 300 * 543 + 5000);

    const auto progress = listener->synchronousProgress();
    ASSERT_FALSE(progress.empty());
    EXPECT_LE(progress.size(), 101u);
    for (std::size_t i = 0; i < progress.size(); ++i)
    {
        EXPECT_EQ(progress[i], std::round(progress[i] * 100.0) / 100.0) << progress[i]; // whole hundredths
        if (i > 0)
        {
            EXPECT_GT(progress[i], progress[i - 1]);
        }
    }
    EXPECT_EQ(progress.back(), 1.0);
}

//==============================================================================
class SysexUploadRestart : public SysexUploadTestFixture
{
protected:
    void SetUp() override { useImage(threeMessages); }
};

TEST_F(SysexUploadRestart, WhileWaitingChangesNothing)
{
    autoUpdate = true;
    holdAtCall(0); // the 2000 ms wait
    protocol->startUpload();
    waitUntilHeld();

    protocol->startUpload();
    EXPECT_TRUE(protocol->isThreadRunning());
    EXPECT_EQ(protocol->getProgress(), 0.0);

    gate.open.signal();
    waitForTheEnd();
    EXPECT_EQ(device.getSends().size(), 3u);
    EXPECT_EQ(clock.calls().size(), 5u);
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

TEST_F(SysexUploadRestart, WhileSendingChangesNothing)
{
    holdAtCall(1); // the pause after the second message
    protocol->startUpload();
    waitUntilHeld();

    protocol->startUpload();
    EXPECT_EQ(protocol->getProgress(), 0.33);
    EXPECT_EQ(protocol->getUploadProgress(), 3.0 / 9.0);

    gate.open.signal();
    waitForTheEnd();
    EXPECT_EQ(device.getSends().size(), 3u);
    EXPECT_EQ(protocol->getProgress(), 1.0);
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

TEST_F(SysexUploadRestart, WhileCompletingResetsTheShownProgressAndStartsNothing)
{
    holdAtCall(3); // the 5000 ms pause
    protocol->startUpload();
    waitUntilHeld();

    protocol->startUpload();
    EXPECT_TRUE(protocol->isThreadRunning());
    EXPECT_EQ(protocol->getProgress(), 0.0);
    EXPECT_EQ(protocol->getUploadProgress(), 0.0);

    gate.open.signal();
    waitForTheEnd();
    EXPECT_EQ(device.getSends().size(), 3u);
    EXPECT_EQ(clock.calls().size(), 4u);
    EXPECT_EQ(protocol->getProgress(), 0.0);
    EXPECT_EQ(protocol->getStatusText(), "Please turn power off and on again");
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

TEST_F(SysexUploadRestart, AfterFinishingSendsTheWholeImageAgain)
{
    runToEnd();
    runToEnd();

    const auto sends = device.getSends();
    ASSERT_EQ(sends.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(sends[i + 3].bytes, sends[i].bytes) << i;
    EXPECT_EQ(sends[3].at, 900 + 5000);
    EXPECT_EQ(listener->synchronousProgress(), (std::vector<double>{0.33, 0.78, 1.0, 0.33, 0.78, 1.0}));
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

//==============================================================================
struct StopCase
{
    const char* name;
    std::size_t stopAtCall; // 0: the 2000 ms wait, 1..3: the pauses, 4: the 5000 ms pause
    std::size_t sends;
    const char* status;
    std::int64_t endTime;
    std::vector<double> progressNotices;
    std::size_t interfaceChanges;
};

class SysexUploadStop : public SysexUploadTestFixture, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(SysexUploadStop, EndsAtTheNextCheckWithoutClosingTextCompletionOrReport)
{
    const auto& c = GetParam();
    autoUpdate = true;
    useImage(threeMessages);
    clock.onCall = [&](const SysexUploadSimulatedClock::Call& call)
    {
        if (call.index == c.stopAtCall)
            protocol->signalThreadShouldExit();
    };

    runToEnd();

    const auto calls = clock.calls();
    ASSERT_EQ(calls.size(), c.stopAtCall + 1);
    // The waits end early; a pause runs to its end.
    EXPECT_EQ(calls.back().cutShort, calls.back().kind == Kind::wait);
    EXPECT_EQ(clock.now(), c.endTime);
    EXPECT_EQ(device.getSends().size(), c.sends);
    EXPECT_EQ(protocol->getStatusText(), c.status);
    EXPECT_EQ(listener->synchronousProgress(), c.progressNotices);
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::stopped);
    EXPECT_TRUE(getEndReports().empty());
    const auto enablements = device.getEnablements();
    ASSERT_EQ(enablements.size(), c.interfaceChanges);
    for (const auto& e : enablements)
        EXPECT_FALSE(e.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, SysexUploadStop,
    ::testing::Values(StopCase{"InTheAutomaticWait", 0, 0, "Uploading firmware", 0, {}, 0},
                      StopCase{"InTheFirstPause", 1, 1, "Uploading firmware", 2300, {}, 1},
                      // The last message went out, but a stopped run never shows 1.0.
                      StopCase{"InTheLastPause", 3, 3, "Uploading firmware", 2900, {0.33, 0.78}, 1},
                      StopCase{"InTheCompletionPause", 4, 3, "Update completed", 2900, {0.33, 0.78, 1.0}, 1}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

//==============================================================================
struct DamagedCase
{
    const char* name;
    Bytes image;
};

class SysexUploadDamaged : public SysexUploadTestFixture, public ::testing::WithParamInterface<DamagedCase>
{
};

TEST_P(SysexUploadDamaged, SendsNothingSaysSoAndReportsIt)
{
    autoUpdate = true;
    useImage(GetParam().image);
    device.setEnabled(false);

    runToEnd();

    EXPECT_TRUE(device.getSends().empty());
    EXPECT_TRUE(clock.calls().empty());
    EXPECT_EQ(protocol->getStatusText(), "Firmware image is damaged: nothing was sent");
    EXPECT_TRUE(protocol->lastRunFoundDamagedImage());
    EXPECT_TRUE(device.isEnabled());
    EXPECT_EQ(protocol->getProgress(), 0.0);
    EXPECT_TRUE(listener->synchronousProgress().empty());
    const auto requests = getEndReports();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].outcome, Outcome::damagedImage);

    // A listener woken by the text can already tell why the run ended.
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&] {
            return !listener->notices.empty() && listener->notices.back().status == protocol->getStatusText();
        }));
    EXPECT_EQ(listener->notices.back().outcome, Outcome::damagedImage);
}

INSTANTIATE_TEST_SUITE_P(
    Images, SysexUploadDamaged,
    ::testing::Values(DamagedCase{"StrayByteAtTheStart", {0x00, 0xf0, 0x01, 0xf7}},
                      DamagedCase{"StrayByteBetweenMessages", {0xf0, 0x01, 0xf7, 0x55, 0xf0, 0x02, 0xf7}},
                      DamagedCase{"StrayByteAtTheEnd", {0xf0, 0x01, 0xf7, 0x00}},
                      DamagedCase{"TruncatedLastMessage", {0xf0, 0x01, 0xf7, 0xf0, 0x02, 0x03}},
                      DamagedCase{"Empty", {}}, DamagedCase{"LoneF7", {0xf7}}, DamagedCase{"LoneF0", {0xf0}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(SysexUploadTestFixture, ADamagedImageWithoutAutomaticUpdateReportsNoEndAndIsAnnouncedEachRun)
{
    useImage(Bytes{0xf0, 0x01, 0xf7, 0x00});
    runToEnd();
    EXPECT_TRUE(device.getSends().empty());
    EXPECT_TRUE(protocol->lastRunFoundDamagedImage());
    EXPECT_TRUE(getEndReports().empty());

    // A second run has the same text to show, yet its listeners still hear of it.
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !listener->notices.empty(); }));
    listener->notices.clear();
    runToEnd();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !listener->notices.empty(); }));
    EXPECT_EQ(listener->notices.back().outcome, Outcome::damagedImage);
    EXPECT_TRUE(protocol->lastRunFoundDamagedImage());
    EXPECT_TRUE(device.getSends().empty());
}

//==============================================================================
// The message thread blocks in waitForThreadToExit, as the window's close
// handler does, while the upload thread needs the message-thread lock.
struct LockCase
{
    const char* name;
    Bytes image;
    bool interfaceEnabled; // so that the change the run would make shows
};

class SysexUploadLock : public SysexUploadTestFixture, public ::testing::WithParamInterface<LockCase>
{
};

TEST_P(SysexUploadLock, GivesUpWhenTheWaitingMessageThreadAsksItToExit)
{
    autoUpdate = true;
    useImage(GetParam().image);
    device.setEnabled(GetParam().interfaceEnabled);
    const auto changesBefore = device.getEnablements().size();

    protocol->startUpload();
    EXPECT_FALSE(protocol->waitForThreadToExit(200)); // held off by this thread
    protocol->signalThreadShouldExit();
    EXPECT_TRUE(protocol->waitForThreadToExit(5000));

    EXPECT_TRUE(device.getSends().empty());
    EXPECT_EQ(device.getEnablements().size(), changesBefore); // no component touched
    EXPECT_TRUE(getEndReports().empty());
}

INSTANTIATE_TEST_SUITE_P(Places, SysexUploadLock,
                         ::testing::Values(LockCase{"AtTheFirstPass", threeMessages, true},
                                           LockCase{"AfterADamagedImage", {0xf0, 0x01}, false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(SysexUploadTestFixture, TheProgressNoticeGivesUpTheLockOnAnExitRequest)
{
    useImage(threeMessages);
    holdAtCall(0); // the first pause; its progress notice comes next
    protocol->startUpload();
    waitUntilHeld();

    gate.open.signal();
    EXPECT_FALSE(protocol->waitForThreadToExit(200)); // held off by this thread
    protocol->signalThreadShouldExit();
    EXPECT_TRUE(protocol->waitForThreadToExit(5000));

    EXPECT_EQ(device.getSends().size(), 1u);
    EXPECT_TRUE(listener->synchronousProgress().empty());
    EXPECT_EQ(device.getEnablements().size(), 1u);
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::stopped);
}
} // namespace

namespace
{
//==============================================================================
struct SendFailureCase
{
    const char* name;
    int failAt; ///< 1-based message whose send fails
    bool automatic;
    std::vector<Bytes> attempted;
    std::vector<int> clockCalls; ///< ms of every pause and wait, in order
    double progress;
};

class SysexUploadSendFailure : public SysexUploadTestFixture,
                               public ::testing::WithParamInterface<SendFailureCase>
{
};

TEST_P(SysexUploadSendFailure, StopsAtOnceSaysSoGivesTheControlsBackAndStartsAfreshNextTime)
{
    const auto& c = GetParam();
    autoUpdate = c.automatic;
    useImage(threeMessages);
    device.failFrom = c.failAt;

    runToEnd();

    std::vector<Bytes> attempted;
    for (const auto& send : device.getSends())
        attempted.push_back(send.bytes);
    EXPECT_EQ(attempted, c.attempted);
    std::vector<int> calls;
    for (const auto& call : clock.calls())
        calls.push_back(call.ms);
    // No pause after the failed message, no completion pause.
    EXPECT_EQ(calls, c.clockCalls);
    EXPECT_EQ(protocol->getStatusText(),
              "Sending failed: the MIDI output is gone. Reconnect it and press update again");
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::sendFailed);
    EXPECT_TRUE(device.isEnabled());
    EXPECT_DOUBLE_EQ(protocol->getProgress(), c.progress);
    const auto endReports = getEndReports();
    if (c.automatic)
    {
        ASSERT_EQ(endReports.size(), 1u);
        EXPECT_EQ(endReports[0].outcome, Outcome::sendFailed);
        EXPECT_TRUE(endReports[0].interfaceEnabled);
    }
    else
    {
        EXPECT_TRUE(endReports.empty());
    }

    // Once the port takes bytes again, the next press sends the whole image from its first byte.
    autoUpdate = false;
    device.failFrom = 0;
    const auto before = device.getSends().size();
    runToEnd();
    const auto sends = device.getSends();
    ASSERT_EQ(sends.size(), before + 3);
    EXPECT_EQ(sends[before].bytes, (Bytes{0xf0, 0x01, 0xf7}));
    EXPECT_EQ(protocol->getLastOutcome(), Outcome::completed);
}

const Bytes first{0xf0, 0x01, 0xf7};
const Bytes second{0xf0, 0x02, 0x03, 0xf7};
const Bytes third{0xf0, 0xf7};

INSTANTIATE_TEST_SUITE_P(
    Places, SysexUploadSendFailure,
    ::testing::Values(SendFailureCase{"FirstMessage", 1, false, {first}, {}, 0.0},
                      SendFailureCase{"SecondMessage", 2, false, {first, second}, {300}, 0.33},
                      SendFailureCase{
                          "LastMessageAutomatic", 3, true, {first, second, third}, {2000, 300, 300}, 0.78}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
} // namespace
