#include "upload/ProgressClass.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace
{
struct Notice
{
    double progress;
    juce::String status;
    bool onMessageThread;
    bool messageManagerLocked;
};

/** Records what each change callback sees. */
class RecordingListener : public juce::ChangeListener
{
public:
    explicit RecordingListener(ProgressClass& recordToWatch) : record(recordToWatch)
    {
        record.addChangeListener(this);
    }
    ~RecordingListener() override { record.removeChangeListener(this); }

    void changeListenerCallback(juce::ChangeBroadcaster* source) override
    {
        EXPECT_EQ(source, &record);
        auto* mm = juce::MessageManager::getInstance();
        notices.push_back({record.getProgress(), record.getStatusText(), mm->isThisTheMessageThread(),
                           mm->currentThreadHasLockedMessageManager()});
        count = static_cast<int>(notices.size());
    }

    std::vector<Notice> notices; // written on the message thread or under its lock
    std::atomic<int> count{0};

private:
    ProgressClass& record;
};

/** Runs a function once on its own juce::Thread; joins in its destructor. */
class FunctionThread : public juce::Thread
{
public:
    explicit FunctionThread(std::function<void()> body) : juce::Thread("worker"), function(std::move(body))
    {
        startThread();
    }
    ~FunctionThread() override { stopThread(-1); }
    void run() override { function(); }

private:
    std::function<void()> function;
};

/** Runs the message loop until a marker posted now has been delivered, so
    every message posted before it has been delivered too. */
void deliverPendingMessages()
{
    auto delivered = std::make_shared<std::atomic<bool>>(false);
    juce::MessageManager::callAsync([delivered] { *delivered = true; });
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return delivered->load(); }));
}

struct RoundingCase
{
    double before;
    double value;
    double stored;
    bool notified;
};

class ProgressRounding : public ::testing::TestWithParam<RoundingCase>
{
};

TEST_P(ProgressRounding, StoresWholeHundredthsHalvesToEvenAndNotifiesOnlyOnChange)
{
    const auto& c = GetParam();
    ProgressClass record;
    record.setProgress(c.before);
    RecordingListener listener(record);

    record.setProgress(c.value);

    EXPECT_EQ(record.getProgress(), c.stored);
    EXPECT_EQ(listener.count.load(), c.notified ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressRounding,
    ::testing::Values(RoundingCase{0.0, 0.004, 0.0, false}, // both show 0.00
                      RoundingCase{0.0, 0.006, 0.01, true},
                      RoundingCase{0.0, 0.005, 0.0, false}, // 0.5 goes to 0
                      RoundingCase{0.0, 0.015, 0.02, true}, // 1.5 goes to 2
                      RoundingCase{0.0, 0.025, 0.02, true}, // 2.5 goes to 2
                      RoundingCase{0.0, 0.125, 0.12, true}, RoundingCase{0.0, 0.375, 0.38, true},
                      RoundingCase{0.0, 0.994, 0.99, true}, RoundingCase{0.0, 0.995, 1.0, true},
                      RoundingCase{0.995, 1.0, 1.0, false}, // already shown
                      RoundingCase{0.5, 0.5, 0.5, false}, RoundingCase{1.0, 0.0, 0.0, true}));

TEST(ProgressNotice, RunsOnTheCallingThreadUnderTheMessageLockBeforeSetProgressReturns)
{
    ProgressClass record;
    RecordingListener listener(record);
    std::atomic<int> countWhenReturned{-1};

    FunctionThread thread(
        [&]
        {
            record.setProgress(0.42);
            countWhenReturned = listener.count.load();
        });
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return countWhenReturned.load() >= 0; }));

    EXPECT_EQ(countWhenReturned.load(), 1);
    ASSERT_EQ(listener.notices.size(), 1u);
    EXPECT_EQ(listener.notices[0].progress, 0.42);
    EXPECT_FALSE(listener.notices[0].onMessageThread);
    EXPECT_TRUE(listener.notices[0].messageManagerLocked);
}

TEST(ProgressNotice, GivesUpTheMessageLockWhenItsThreadIsAskedToExit)
{
    ProgressClass record;
    RecordingListener listener(record);
    FunctionThread setter([&] { record.setProgress(0.5); });

    // The message thread does not dispatch here, so the setter cannot get the lock.
    EXPECT_FALSE(setter.waitForThreadToExit(200));
    setter.signalThreadShouldExit();
    EXPECT_TRUE(setter.waitForThreadToExit(2000));

    EXPECT_EQ(record.getProgress(), 0.5);
    deliverPendingMessages();
    EXPECT_EQ(listener.count.load(), 0);
}

TEST(StatusNotice, IsDeliveredLaterOnTheMessageThreadAndMergesPendingTexts)
{
    ProgressClass record;
    RecordingListener listener(record);

    record.setStatusText("first");
    record.setStatusText("second");
    EXPECT_EQ(listener.count.load(), 0);
    EXPECT_EQ(record.getStatusText(), "second");
    deliverPendingMessages();

    ASSERT_EQ(listener.notices.size(), 1u);
    EXPECT_EQ(listener.notices[0].status, "second");
    EXPECT_TRUE(listener.notices[0].onMessageThread);
}

TEST(StatusNotice, TheCurrentTextPostsNothing)
{
    ProgressClass record;
    EXPECT_EQ(record.getStatusText(), "");
    RecordingListener listener(record);
    record.setStatusText("same");
    deliverPendingMessages();
    ASSERT_EQ(listener.count.load(), 1);

    record.setStatusText("same");
    deliverPendingMessages();
    EXPECT_EQ(listener.count.load(), 1);
}

TEST(ProgressFields, CanBeReadOnTheMessageThreadWhileAnotherThreadWrites)
{
    ProgressClass record;
    RecordingListener listener(record);
    std::atomic<bool> done{false};

    FunctionThread writer(
        [&]
        {
            for (int i = 0; i <= 100; ++i)
            {
                record.setStatusText("step " + juce::String(i));
                record.setProgress(i / 100.0);
            }
            done = true;
        });
    int reads = 0;
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&]
        {
            ++reads;
            const auto text = record.getStatusText();
            EXPECT_TRUE(text.isEmpty() || text.startsWith("step "));
            const auto value = record.getProgress();
            EXPECT_TRUE(value >= 0.0 && value <= 1.0);
            return done.load();
        }));
    EXPECT_EQ(record.getProgress(), 1.0);
    EXPECT_EQ(record.getStatusText(), "step 100");
    EXPECT_GT(reads, 0);
}
} // namespace
