#include "app/ContentComp.h"
#include "device/InterfaceBaseClass.h"
#include "device/virtual/VirtualMidiPortLayer.h"
#include "upload/AutoUpdate.h"
#include "upload/BasicSysexProtocolClass.h"
#include "windows/ZodeduriHelpWindowClass.h"

#include "SysexUploadSimulatedClock.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

namespace
{
const juce::Colour connectedLook(126, 191, 126);
const juce::Colour notConnectedLook(255, 126, 126);

/** Virtual outputs without wire time, sends failing or stalling from a given one. */
VirtualMidiPortLayer::Options outputsNamed(juce::StringArray names, int failFrom = 0, int stallFrom = 0)
{
    VirtualMidiPortLayer::Options options;
    options.outputNames = std::move(names);
    options.bitsPerSecond = 0;
    options.failFrom = failFrom;
    options.stallFrom = stallFrom;
    return options;
}

/** A panel over virtual ports "Port A", "Port B" and a broken "Port C", with
    alerts and quit requests recorded. */
class PanelTest : public ::testing::Test
{
protected:
    ~PanelTest() override
    {
        panel = nullptr;
        autoUpdate = false;
    }

    ContentComp& makePanel(const juce::String& commandLine = {})
    {
        panel = std::make_unique<ContentComp>(nullptr, commandLine, services(ports));
        panel->setSize(650, 370);
        return *panel;
    }

    Services services(MidiPortLayer& portsToUse)
    {
        return {portsToUse, clock, recorder,
                [this](int status)
                {
                    lastQuitStatus = status;
                    ++quitRequests;
                }};
    }

    void holdClockCalls(std::function<bool(int ms)> holds) { clock.holdWhile(std::move(holds)); }

    juce::ComboBox& selector()
    {
        for (auto* child : panel->getInterface().getChildren())
            if (auto* box = dynamic_cast<juce::ComboBox*>(child);
                box != nullptr && box->getName() == "Output Selector")
                return *box;
        throw std::runtime_error("no output selector");
    }

    bool waitFor(const std::function<bool()>& condition, int ms = 10000)
    {
        return testsupport::runMessageLoopUntil(condition, ms);
    }

    juce::Colour updateColour()
    {
        return panel->getUpdateButton().findColour(juce::TextButton::buttonColourId);
    }
    juce::String caption() { return panel->getProgressLabel().getText(); }
    bool threadRunning() { return panel->getProtocol()->isThreadRunning(); }

    VirtualMidiPortLayer ports{outputsNamed({"Port A", "Port B", "!Port C"})};
    SysexUploadSimulatedClock clock;
    testsupport::AlertRecorder recorder;
    std::atomic<int> lastQuitStatus{-1};
    std::atomic<int> quitRequests{0};
    std::vector<testsupport::AlertRecorder::Alert>& alerts = recorder.alerts;
    std::unique_ptr<ContentComp> panel;
};

TEST_F(PanelTest, FreshStartShowsNoDeviceAndARedDisabledButton)
{
    auto& p = makePanel();
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &p.getLookAndFeel());
    EXPECT_FALSE(p.getUpdateButton().isEnabled());
    EXPECT_EQ(updateColour(), notConnectedLook);
    EXPECT_EQ(p.getUpdateButton().findColour(juce::TextButton::buttonOnColourId), notConnectedLook);
    EXPECT_EQ(p.getUpdateButton().getButtonText(), "update");
    EXPECT_EQ(p.getUpdateButton().getTooltip(), "click here to update the product");
    EXPECT_TRUE(p.getUpdateButton().isConnectedOnLeft());
    EXPECT_EQ(p.getHelpButton().getButtonText(), "Help");
    EXPECT_EQ(p.getHelpButton().getTooltip(), "click here to get help");
    EXPECT_EQ(caption(), "Update progress:");
    EXPECT_EQ(p.getProgress(), 0.0);
    EXPECT_EQ(p.getVersionLabel().getText(),
              "This software updater will update your Zodeduri firmware to version 1.2 - R675");
    EXPECT_FALSE(p.getHelpWindow().isVisible());
    EXPECT_TRUE(alerts.empty());
}

TEST_F(PanelTest, ChildrenStandWhereTheLayoutPutsThem)
{
    auto& p = makePanel();
    EXPECT_EQ(p.getVersionLabel().getBounds(), juce::Rectangle<int>(10, 15, 630, 50));
    EXPECT_EQ(p.getInterface().getBounds(), juce::Rectangle<int>(10, 105, 630, 50));
    EXPECT_EQ(p.getUpdateButton().getBounds(), juce::Rectangle<int>(546, 215, 94, 30));
    EXPECT_EQ(p.getProgressBar().getBounds(), juce::Rectangle<int>(10, 215, 536, 30));
    EXPECT_EQ(p.getHelpButton().getBounds(), juce::Rectangle<int>(546, 2, 94, 30));

    // The step labels are found by their text among the panel's own children.
    juce::Array<juce::Label*> step1, step2;
    for (auto* child : p.getChildren())
        if (auto* label = dynamic_cast<juce::Label*>(child))
        {
            if (label->getText() == "STEP1")
                step1.add(label);
            if (label->getText() == "STEP2")
                step2.add(label);
        }
    ASSERT_EQ(step1.size(), 1);
    ASSERT_EQ(step2.size(), 1);
    EXPECT_EQ(step1[0]->getBounds(), juce::Rectangle<int>(10, 70, 630, 30));
    EXPECT_EQ(step2[0]->getBounds(), juce::Rectangle<int>(10, 165, 630, 30));
    EXPECT_TRUE(step1[0]->isVisible() && step2[0]->isVisible());
    // The caption is attached above the bar.
    EXPECT_EQ(p.getProgressLabel().getBottom(), 215);
    EXPECT_EQ(p.getProgressLabel().getParentComponent(), &p);
    EXPECT_EQ(p.getHelpWindow().getWidth(), 550);
    EXPECT_EQ(p.getHelpWindow().getHeight(), 400);
}

TEST_F(PanelTest, SelectingADeviceGivesTheButtonItsConnectedLookAndBack)
{
    auto& p = makePanel();
    selector().setSelectedId(2);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(updateColour(), connectedLook);
    EXPECT_TRUE(p.getInterface().isConnected());

    selector().setSelectedId(4); // (Disconnected)
    ASSERT_TRUE(waitFor([&] { return !p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(updateColour(), notConnectedLook);

    selector().setSelectedId(3); // a port that does not open
    ASSERT_TRUE(waitFor([&] { return ports.getOutputOpenCount(2) == 0 && selector().getSelectedId() == 3; }));
    testsupport::runMessageLoopFor(50);
    EXPECT_FALSE(p.getUpdateButton().isEnabled());
    EXPECT_EQ(updateColour(), notConnectedLook);
}

TEST_F(PanelTest, PressingUpdateWithoutADeviceWarnsAndStartsNothing)
{
    auto& p = makePanel();
    p.buttonClicked(&p.getUpdateButton());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ(alerts[0].title, "");
    EXPECT_EQ(alerts[0].message, "Please select an output device:");
    EXPECT_FALSE(threadRunning());
    EXPECT_EQ(ports.getSendsBegun(0), 0);
    EXPECT_EQ(caption(), "Update progress:");
}

TEST_F(PanelTest, AWholeUpdateMovesTheControlsThroughTheirStates)
{
    testsupport::TemporaryDirectory dir;
    const auto file =
        dir.writeFile("small.syx", {0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7, 0xF0, 0x04, 0xF7});
    holdClockCalls(
        [first = true](int ms) mutable
        {
            const bool firstPause = ms == 300 && std::exchange(first, false);
            return firstPause || ms == 5000;
        });
    auto& p = makePanel("--file " + file.getFullPathName());
    EXPECT_EQ(p.getVersionLabel().getText(),
              "This software updater will update your small firmware from the loaded sysex file");

    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));

    p.getUpdateButton().triggerClick();
    // Sending: held in the pause after the first message.
    ASSERT_TRUE(waitFor([&] { return clock.heldNow() == 1; }));
    ASSERT_TRUE(waitFor([&] { return caption() == "Update progress: Uploading firmware"; }));
    EXPECT_FALSE(p.getInterface().isEnabled());
    EXPECT_FALSE(p.getUpdateButton().isEnabled());
    EXPECT_EQ(p.getProgress(), 0.0) << "progress moves only after the pause";
    EXPECT_EQ(ports.getSentMessages(0).size(), 1u);

    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return ports.getSentMessages(0).size() == 3u && clock.heldNow() == 1; }))
        << "the run never reached its completion pause";

    // Closing: everything sent, the bar full, the button back, the thread alive.
    ASSERT_TRUE(waitFor([&] { return caption() == "Update progress: Update completed"; }));
    EXPECT_EQ(p.getProgress(), 1.0);
    EXPECT_EQ(p.getProgressBar().getShownText(), "100%");
    EXPECT_TRUE(p.getUpdateButton().isEnabled());
    // The thread disabled the interface for the last message and enables it
    // only after the closing pause: the full bar gave it back.
    EXPECT_TRUE(p.getInterface().isEnabled());
    EXPECT_TRUE(threadRunning());
    const auto sent = ports.getSentMessages(0);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1], juce::MemoryBlock("\xF0\x02\x03\xF7", 4));

    // A press now resets the bar and disables the button but starts no second run.
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return p.getProgress() == 0.0 && !p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(p.getProgressBar().getShownText(), "0%");

    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }));
    ASSERT_TRUE(waitFor([&] { return caption() == "Update progress: Please turn power off and on again"; }));
    EXPECT_TRUE(p.getInterface().isEnabled());
    EXPECT_EQ(ports.getSentMessages(0).size(), 3u);
    EXPECT_FALSE(p.getUpdateButton().isEnabled()) << "stays disabled until the interface reports a change";

    // Once the thread has ended a new press runs the whole image again.
    selector().setSelectedId(1);
    selector().setSelectedId(2);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return ports.getSentMessages(1).size() == 3u && clock.heldNow() == 1; }));
    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }));
}

// A port opening or closing mid-upload must not offer a second press.
TEST_F(PanelTest, AnInterfaceNoticeWhileSendingLeavesTheUpdateButtonDisabled)
{
    testsupport::TemporaryDirectory dir;
    const auto file =
        dir.writeFile("small.syx", {0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7, 0xF0, 0x04, 0xF7});
    // Held in the pause after the second message, with 3 of 10 bytes done.
    holdClockCalls([pauses = 0](int ms) mutable { return ms == 300 && ++pauses == 2; });
    auto& p = makePanel("--file " + file.getFullPathName());
    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return clock.heldNow() == 1 && p.getProgress() == 0.3; }));
    EXPECT_EQ(p.getProgressBar().getShownText(), "30%");
    ASSERT_FALSE(p.getUpdateButton().isEnabled());
    ASSERT_FALSE(p.getInterface().isEnabled());

    p.getInterface().sendChangeMessage();
    testsupport::runMessageLoopFor(100);
    EXPECT_FALSE(p.getUpdateButton().isEnabled());
    EXPECT_EQ(updateColour(), connectedLook);
    EXPECT_TRUE(p.getInterface().isEnabled()) << "the notice gives back the interface the thread disabled";

    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }));
    EXPECT_EQ(ports.getSentMessages(0).size(), 3u);
}

TEST_F(PanelTest, TheHelpButtonTogglesTheHelpWindowCentredAt550By400)
{
    auto& p = makePanel();
    auto& help = p.getHelpWindow();
    help.setBounds(0, 0, 200, 100);
    p.getHelpButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return help.isVisible(); }));
    EXPECT_EQ(help.getWidth(), 550);
    EXPECT_EQ(help.getHeight(), 400);
    const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_NEAR(help.getBounds().getCentreX(), area.getCentreX(), 1);
    p.getHelpButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return !help.isVisible(); }));
    help.closeButtonPressed();
    p.getHelpButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return help.isVisible(); }));
}

TEST_F(PanelTest, AutomaticStartSelectsTheDeviceAndPressesUpdate)
{
    holdClockCalls([](int ms) { return ms == 2000; });
    auto& p = makePanel("--autoupdate --outputid 2");
    // The press happened inside the constructor; the run waits its first 2000 ms.
    EXPECT_TRUE(alerts.empty());
    EXPECT_TRUE(threadRunning());
    EXPECT_EQ(selector().getSelectedId(), 2);
    ASSERT_TRUE(waitFor([&] { return clock.heldNow() == 1; }));
    // The selection's change notices arrive after the press and bring the button back.
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(updateColour(), connectedLook);
    EXPECT_EQ(ports.getSendsBegun(1), 0);

    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }));
    EXPECT_EQ(ports.getSentMessages(1).size(), 543u);
    EXPECT_EQ(quitRequests.load(), 1);
    EXPECT_EQ(lastQuitStatus.load(), 0);
}

TEST_F(PanelTest, AutomaticStartWithoutAnOpenDeviceWarns)
{
    // 4294967298 is port 2 wrapped around 32 bits: no port either.
    for (const char* id : {"99", "4294967298"})
    {
        SCOPED_TRACE(id);
        panel = nullptr;
        alerts.clear();
        makePanel(juce::String("--autoupdate --outputid ") + id);
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0].message, "Please select an output device:");
        EXPECT_FALSE(threadRunning());
        EXPECT_NE(selector().getSelectedId(), 2);
        EXPECT_EQ(ports.getSendsBegun(1), 0);
    }
}

TEST_F(PanelTest, ADamagedImageGivesTheControlsBackWithoutReselecting)
{
    testsupport::TemporaryDirectory dir;
    const auto file = dir.writeFile("damaged.syx", {0xF0, 0x01, 0xF7, 0x00, 0xF0, 0x02, 0xF7});
    auto& p = makePanel("--file " + file.getFullPathName());
    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor(
        [&] {
            return caption() == "Update progress: Firmware image is damaged: nothing was sent" &&
                   !threadRunning();
        }))
        << caption();
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    EXPECT_TRUE(p.getInterface().isEnabled());
    EXPECT_EQ(updateColour(), connectedLook);
    EXPECT_EQ(ports.getSendsBegun(0), 0);
}

TEST_F(PanelTest, AFailedSendSaysSoAndGivesTheControlsBack)
{
    VirtualMidiPortLayer failing{outputsNamed({"Port A"}, 2)};
    panel = std::make_unique<ContentComp>(nullptr, "", services(failing));
    panel->setSize(650, 370);
    panel->getInterface().selectOutputById(1);
    ASSERT_TRUE(waitFor([&] { return panel->getUpdateButton().isEnabled(); }));
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor(
        [&]
        {
            return caption() == "Update progress: Sending failed: the MIDI output is gone. Reconnect it and "
                                "press update again" &&
                   !threadRunning();
        }))
        << caption();
    ASSERT_TRUE(waitFor([&] { return panel->getUpdateButton().isEnabled(); }));
    EXPECT_TRUE(panel->getInterface().isEnabled());
    EXPECT_EQ(failing.getSendsBegun(0), 2);
    EXPECT_EQ(failing.getSentMessages(0).size(), 1u);
    EXPECT_EQ(quitRequests.load(), 0);
    panel = nullptr; // before its ports
}

TEST_F(PanelTest, AMissingFileKeepsTheBuiltInImageAndItsText)
{
    auto& p = makePanel("--file /nonexistent/fw.syx");
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].icon, juce::MessageBoxIconType::NoIcon);
    EXPECT_EQ(alerts[0].title, "File /nonexistent/fw.syx not found");
    EXPECT_EQ(p.getFirmwareImage().getSize(), 270432);
    EXPECT_EQ(p.getVersionLabel().getText(),
              "This software updater will update your Zodeduri firmware to version 1.2 - R675");
}

TEST_F(PanelTest, DestroyingThePanelMidUploadEndsTheThreadFirstAndResetsTheLook)
{
    VirtualMidiPortLayer stalling{outputsNamed({"Port A"}, 0, 3)};
    panel = std::make_unique<ContentComp>(nullptr, "", services(stalling));
    const auto* look = &panel->getLookAndFeel();
    panel->getInterface().selectOutputById(1);
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return stalling.getSendsBegun(0) == 3; }));
    const auto start = juce::Time::getMillisecondCounter();
    panel = nullptr;
    EXPECT_LT(juce::Time::getMillisecondCounter() - start, 5000u);
    EXPECT_NE(&juce::LookAndFeel::getDefaultLookAndFeel(), look);
    EXPECT_EQ(stalling.getSentMessages(0).size(), 2u);
}
} // namespace

namespace
{
/** A panel whose virtual outputs are the lines of a file the test rewrites,
    as devices are plugged in and pulled out. */
class HotPlugTest : public PanelTest
{
protected:
    HotPlugTest()
    {
        VirtualMidiPortLayer::Options options;
        options.bitsPerSecond = 0;
        options.outputNamesFile = dir.file("outputs.txt");
        plugged = std::make_unique<VirtualMidiPortLayer>(std::move(options));
    }

    ~HotPlugTest() override { panel = nullptr; }

    void plug(const juce::String& lines) { ASSERT_TRUE(dir.file("outputs.txt").replaceWithText(lines)); }

    ContentComp& makeHotPlugPanel()
    {
        panel = std::make_unique<ContentComp>(nullptr, "", services(*plugged));
        panel->setSize(650, 370);
        return *panel;
    }

    std::vector<juce::String> items()
    {
        std::vector<juce::String> texts;
        auto& box = selector();
        for (int i = 0; i < box.getNumItems(); ++i)
            texts.push_back(juce::String(box.getItemId(i)) + ":" + box.getItemText(i));
        return texts;
    }

    testsupport::TemporaryDirectory dir;
    std::unique_ptr<VirtualMidiPortLayer> plugged;
};

TEST_F(HotPlugTest, APortPluggedInWhileIdleAppearsAndCanBeChosen)
{
    auto& p = makeHotPlugPanel();
    EXPECT_EQ(items(), (std::vector<juce::String>{"1:(Disconnected)"}));
    EXPECT_FALSE(p.getUpdateButton().isEnabled());

    plug("Zodeduri MIDI\n");
    ASSERT_TRUE(waitFor([&] { return selector().getNumItems() == 2; }, 5000))
        << "the new port never appeared";
    EXPECT_EQ(items(), (std::vector<juce::String>{"2:(Disconnected)", "1:Zodeduri MIDI"}));
    EXPECT_EQ(selector().getText(), "(Disconnected)");

    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(updateColour(), connectedLook);
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(
        waitFor([&] { return !threadRunning() && plugged->getSentMessages(0).size() == 543u; }, 30000));
}

TEST_F(HotPlugTest, TheChosenPortPulledOutShowsDisconnectedAndDisablesTheButton)
{
    plug("Other\nZodeduri MIDI\n");
    auto& p = makeHotPlugPanel();
    selector().setSelectedId(2);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));

    // Another port coming keeps the choice, under its new id.
    plug("First\nOther\nZodeduri MIDI\n");
    ASSERT_TRUE(waitFor([&] { return selector().getNumItems() == 4; }, 5000));
    EXPECT_EQ(selector().getSelectedId(), 3);
    EXPECT_EQ(selector().getText(), "Zodeduri MIDI");
    EXPECT_TRUE(p.getInterface().isConnected());

    plug("First\nOther\n");
    ASSERT_TRUE(waitFor([&] { return selector().getNumItems() == 3; }, 5000));
    EXPECT_EQ(selector().getText(), "(Disconnected)");
    EXPECT_EQ(selector().getSelectedId(), 3);
    EXPECT_FALSE(p.getInterface().isConnected());
    ASSERT_TRUE(waitFor([&] { return !p.getUpdateButton().isEnabled(); }));
    EXPECT_EQ(updateColour(), notConnectedLook);
    EXPECT_FALSE(plugged->isOutputOpen(1));
}

TEST_F(HotPlugTest, APortPluggedInDuringAnUploadAppearsOnlyAfterIt)
{
    plug("Zodeduri MIDI\n");
    holdClockCalls([first = true](int ms) mutable { return ms == 300 && std::exchange(first, false); });
    auto& p = makeHotPlugPanel();
    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    p.getUpdateButton().triggerClick();
    // Held in the pause after the first message, the interface disabled.
    ASSERT_TRUE(waitFor([&] { return clock.heldNow() == 1; }));

    plug("Zodeduri MIDI\nLate Port\n");
    testsupport::runMessageLoopFor(1500);
    EXPECT_EQ(selector().getNumItems(), 2) << "the list changed while the interface was disabled";

    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }, 10000));
    ASSERT_TRUE(waitFor([&] { return selector().getNumItems() == 3; }, 5000));
    EXPECT_EQ(selector().getText(), "Zodeduri MIDI");
}

TEST_F(HotPlugTest, APortPulledOutMidUploadFailsTheSendAndSaysSo)
{
    plug("Zodeduri MIDI\n");
    holdClockCalls([first = true](int ms) mutable { return ms == 300 && std::exchange(first, false); });
    auto& p = makeHotPlugPanel();
    selector().setSelectedId(1);
    ASSERT_TRUE(waitFor([&] { return p.getUpdateButton().isEnabled(); }));
    p.getUpdateButton().triggerClick();
    ASSERT_TRUE(waitFor([&] { return clock.heldNow() == 1; }));

    plug("");
    clock.letGo();
    ASSERT_TRUE(waitFor([&] { return !threadRunning(); }, 10000));
    EXPECT_EQ(
        caption(),
        "Update progress: Sending failed: the MIDI output is gone. Reconnect it and press update again");
    EXPECT_EQ(plugged->getSentMessages(0).size(), 1u);
    // Idle again: the selector follows the system and shows the port gone.
    ASSERT_TRUE(waitFor([&] { return selector().getText() == "(Disconnected)"; }, 5000));
    ASSERT_TRUE(waitFor([&] { return !p.getUpdateButton().isEnabled(); }));
}
} // namespace
