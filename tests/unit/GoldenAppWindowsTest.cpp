// The updater's windows as the user sees them, each compared with its
// reference picture under tests/golden/app/: the real main window over
// virtual ports and a clock whose time passes at once except where a test
// holds it, so every picture is taken in a state that holds still.
#include "GoldenImage.h"
#include "SysexUploadSimulatedClock.h"
#include "TestSupport.h"
#include "app/ContentComp.h"
#include "app/MainWindow.h"
#include "device/InterfaceBaseClass.h"
#include "device/virtual/VirtualMidiPortLayer.h"
#include "upload/BasicSysexProtocolClass.h"
#include "windows/ZodeduriHelpWindowClass.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
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

bool samePixels(const juce::Image& a, const juce::Image& b)
{
    if (!a.isValid() || !b.isValid() || a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}

/** The window as it paints itself once it holds still (a notice posted by
    the upload may still be on its way), while it is the active
    one (whose title is drawn darker). Another test's window may take the
    activation at any moment; the flag changes only on the message loop, so
    a picture painted while it holds is whole. Invalid when the window never
    became active or never held still. */
juce::Image settledActivePicture(juce::TopLevelWindow& window)
{
    juce::Image previous, picture;
    testsupport::runMessageLoopUntil(
        [&]
        {
            testsupport::runMessageLoopFor(150);
            if (!window.isActiveWindow())
            {
                window.toFront(true);
                previous = {};
                return false;
            }
            previous = std::exchange(picture, GoldenImage::snapshot(window));
            return samePixels(previous, picture);
        },
        15000);
    return samePixels(previous, picture) ? picture : juce::Image();
}

class GoldenAppWindows : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(GoldenImage::fontsMatchTheReferences()); }

    ~GoldenAppWindows() override { window = nullptr; }

    MainWindow& open(const juce::String& commandLine)
    {
        window = std::make_unique<MainWindow>(commandLine, Services{ports, clock, recorder, [](int) {}});
        return *window;
    }

    ContentComp& panel() { return *window->getContent(); }

    juce::ComboBox& selector()
    {
        for (auto* child : panel().getInterface().getChildren())
            if (auto* box = dynamic_cast<juce::ComboBox*>(child);
                box != nullptr && box->getName() == "Output Selector")
                return *box;
        throw std::runtime_error("no output selector");
    }

    void selectPortA()
    {
        selector().setSelectedId(1);
        ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return panel().getUpdateButton().isEnabled(); }));
    }

    juce::String caption() { return panel().getProgressLabel().getText(); }

    juce::File writeImage(const std::vector<juce::uint8>& bytes) { return dir.writeFile("fw.syx", bytes); }

    void expectPicture(juce::TopLevelWindow& w, const juce::String& name)
    {
        const auto picture = settledActivePicture(w);
        ASSERT_TRUE(picture.isValid()) << name << ": the window never held still while active";
        EXPECT_TRUE(GoldenImage::matches("app/" + name, picture));
    }

    VirtualMidiPortLayer ports{outputsNamed({"Port A", "Port B"})};
    SysexUploadSimulatedClock clock;
    testsupport::AlertRecorder recorder;
    testsupport::TemporaryDirectory dir;
    std::unique_ptr<MainWindow> window;
};

TEST_F(GoldenAppWindows, MainWindowWithoutADevice)
{
    open("");
    expectPicture(*window, "main-window-no-device");
}

TEST_F(GoldenAppWindows, MainWindowIdleWithADevice)
{
    open("");
    selectPortA();
    expectPicture(*window, "main-window-idle");
}

TEST_F(GoldenAppWindows, MainWindowUploading)
{
    // Held in the pause after the second message, with 3 of 10 bytes done.
    clock.holdWhile([pauses = 0](int ms) mutable { return ms == 300 && ++pauses == 2; });
    open("--file " +
         writeImage({0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7, 0xF0, 0x04, 0xF7}).getFullPathName());
    selectPortA();
    panel().getUpdateButton().triggerClick();
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&] { return clock.heldNow() == 1 && caption() == "Update progress: Uploading firmware"; }));
    expectPicture(*window, "main-window-uploading");
    clock.letGo();
}

TEST_F(GoldenAppWindows, MainWindowCompleted)
{
    open("--file " + writeImage({0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7}).getFullPathName());
    selectPortA();
    panel().getUpdateButton().triggerClick();
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&] { return !panel().getProtocol()->isThreadRunning() && panel().uploadFinished(); }));
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&] { return caption() == "Update progress: Please turn power off and on again"; }));
    expectPicture(*window, "main-window-completed");
}

TEST_F(GoldenAppWindows, MainWindowAfterADamagedImage)
{
    open("--file " + writeImage({0xF0, 0x01, 0xF7, 0x00, 0xF0, 0x02, 0xF7}).getFullPathName());
    selectPortA();
    panel().getUpdateButton().triggerClick();
    ASSERT_TRUE(testsupport::runMessageLoopUntil(
        [&]
        {
            return !panel().getProtocol()->isThreadRunning() && panel().getUpdateButton().isEnabled() &&
                   caption() == "Update progress: Firmware image is damaged: nothing was sent";
        }));
    expectPicture(*window, "main-window-damaged-image");
}

TEST_F(GoldenAppWindows, HelpWindow)
{
    open("");
    auto& help = panel().getHelpWindow();
    panel().getHelpButton().triggerClick();
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return help.isShowing(); }));
    expectPicture(help, "help-window");
}

// The alerts the updater raises, drawn as AlertWindow::showMessageBox builds
// them.
TEST_F(GoldenAppWindows, Alerts)
{
    open("--file /nonexistent/fw.syx");
    panel().buttonClicked(&panel().getUpdateButton());
    ASSERT_EQ(recorder.alerts.size(), 2u);
    const juce::String names[] = {"alert-file-not-found", "alert-no-device"};

    for (size_t i = 0; i < 2; ++i)
    {
        const auto& a = recorder.alerts[i];
        SCOPED_TRACE(names[i].toStdString());
        std::unique_ptr<juce::AlertWindow> box(juce::LookAndFeel::getDefaultLookAndFeel().createAlertWindow(
            a.title, a.message, "OK", {}, {}, a.icon, 1, nullptr));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(GoldenImage::matches("app/" + names[i], GoldenImage::snapshot(*box)));
    }
}
} // namespace
