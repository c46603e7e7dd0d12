#include "app/MainWindow.h"
#include "app/ContentComp.h"
#include "device/InterfaceBaseClass.h"
#include "device/virtual/VirtualMidiPortLayer.h"
#include "upload/BasicSysexProtocolClass.h"

#include "SysexUploadSimulatedClock.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <utility>

namespace
{
/** Virtual outputs of these names, without wire time. */
VirtualMidiPortLayer::Options outputsNamed(juce::StringArray names, int stallFrom = 0)
{
    VirtualMidiPortLayer::Options options;
    options.outputNames = std::move(names);
    options.bitsPerSecond = 0;
    options.stallFrom = stallFrom;
    return options;
}

/** The real main window in this process, over virtual ports and a clock
    whose time passes at once unless held. */
class MainWindowTest : public ::testing::Test
{
protected:
    ~MainWindowTest() override
    {
        clock.holdWhile({});
        clock.letGo();
        window = nullptr;
    }

    MainWindow& open(VirtualMidiPortLayer& portsToUse, const juce::String& commandLine = {})
    {
        window = std::make_unique<MainWindow>(commandLine, Services{portsToUse, clock, recorder,
                                                                    [this](int status)
                                                                    {
                                                                        threadRanAtQuit = threadRunning();
                                                                        quitStatus = status;
                                                                        ++quits;
                                                                    }});
        return *window;
    }

    bool threadRunning() { return window->getContent()->getProtocol()->isThreadRunning(); }

    void startUpload()
    {
        auto& panel = *window->getContent();
        panel.getInterface().selectOutputById(1);
        ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return panel.getUpdateButton().isEnabled(); }));
        panel.getUpdateButton().triggerClick();
    }

    VirtualMidiPortLayer ports{outputsNamed({"Port A"})};
    SysexUploadSimulatedClock clock;
    testsupport::AlertRecorder recorder;
    std::atomic<bool> threadRanAtQuit{false};
    std::atomic<int> quitStatus{-1};
    std::atomic<int> quits{0};
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, IsTitledAfterTheImageCentredAndHeldAt650By400)
{
    auto& w = open(ports);
    EXPECT_EQ(w.getName(), "Zodeduri version 1.2 - R675");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.getWidth(), 650);
    EXPECT_EQ(w.getHeight(), 400);
    const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_NEAR(w.getBounds().getCentreX(), area.getCentreX(), 1);
    EXPECT_NEAR(w.getBounds().getCentreY(), area.getCentreY(), 1);

    auto* limits = w.getConstrainer();
    ASSERT_NE(limits, nullptr);
    EXPECT_EQ(limits->getMinimumWidth(), 650);
    EXPECT_EQ(limits->getMaximumWidth(), 650);
    EXPECT_EQ(limits->getMinimumHeight(), 400);
    EXPECT_EQ(limits->getMaximumHeight(), 400);
    // As a drag of the bottom-right corner would ask.
    limits->setBoundsForComponent(&w, w.getBounds().withSize(800, 600), false, false, true, true);
    EXPECT_EQ(w.getBounds().getWidth(), 650);
    EXPECT_EQ(w.getBounds().getHeight(), 400);
}

TEST_F(MainWindowTest, MaximiseKeepsTheOneSize)
{
    auto& w = open(ports);
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return w.isShowing(); }));
    ASSERT_NE(w.getMaximiseButton(), nullptr) << "the button stays";
    w.getMaximiseButton()->triggerClick();
    testsupport::runMessageLoopFor(300);
    EXPECT_FALSE(w.isFullScreen());
    EXPECT_EQ(w.getWidth(), 650);
    EXPECT_EQ(w.getHeight(), 400);
}

// A send that never returns is cut short by closing the ports, so the thread
// has ended before the quit.
TEST_F(MainWindowTest, CloseCutsAStalledSendShortThenQuits)
{
    struct Case
    {
        const char* commandLine;
        int status;
    };
    for (const auto& c : {Case{"", 0}, Case{"--autoupdate", 2}})
    {
        SCOPED_TRACE(c.commandLine);
        VirtualMidiPortLayer stalling{outputsNamed({"Port A"}, 3)};
        quits = 0;
        auto& w = open(stalling, c.commandLine);
        if (juce::String(c.commandLine).isEmpty())
            startUpload();
        ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return stalling.getSendsBegun(0) == 3; }));

        const auto start = juce::Time::getMillisecondCounter();
        w.closeButtonPressed();
        EXPECT_LT(juce::Time::getMillisecondCounter() - start, 5000u);
        EXPECT_EQ(quits.load(), 1);
        EXPECT_FALSE(threadRanAtQuit.load()) << "asked to stop and waited for before the quit";
        EXPECT_EQ(quitStatus.load(), c.status);
        EXPECT_EQ(stalling.getSentMessages(0).size(), 2u);
        window = nullptr;
    }
}

// A thread that does not stop (held in a pause that no exit request ends)
// gets 5000 ms, then the program quits anyway.
TEST_F(MainWindowTest, CloseWaitsUpTo5000MsForAThreadThatDoesNotStop)
{
    clock.holdWhile([](int ms) { return ms == 300; });
    open(ports);
    startUpload();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return clock.heldNow() == 1; }));

    const auto start = juce::Time::getMillisecondCounter();
    window->closeButtonPressed();
    const auto waited = juce::Time::getMillisecondCounter() - start;
    EXPECT_GE(waited, 4900u);
    EXPECT_LT(waited, 15000u);
    EXPECT_EQ(quits.load(), 1);
    EXPECT_TRUE(threadRanAtQuit.load());
    clock.holdWhile({});
    clock.letGo();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return !threadRunning(); }));
}
} // namespace
