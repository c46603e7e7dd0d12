#include "e2e/E2eFixture.h"

namespace
{
using e2e::AppProcess;
using e2e::E2eTest;

TEST_F(E2eTest, AutomaticUpdateSendsTheImageToTheChosenPortAndQuitsWithZero)
{
    const auto image = writeImage("small.syx", 4, 30);
    AppProcess app({"--autoupdate", "--outputid", "2", "--file", image.getFullPathName().toStdString()},
                   environment());
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.waitForExit(60000)) << "the automatic update did not quit by itself";
    EXPECT_EQ(app.exitStatus(), 0);

    juce::MemoryBlock sent, expected;
    ASSERT_TRUE(captured("Port B", ".syx").loadFileAsData(sent));
    ASSERT_TRUE(image.loadFileAsData(expected));
    EXPECT_EQ(sent, expected) << "the device must get exactly the image, in order";
    EXPECT_FALSE(captured("Port A", ".syx").exists()) << "the first port was never to be opened";

    const auto log = sends("Port B");
    ASSERT_EQ(log.size(), 4u);
    // The log's clock starts when the port last opened: the selection's own
    // re-open comes a moment after the 2000 ms wait has begun.
    EXPECT_GE(log[0].startMs, 1950.0) << "the automatic update waits 2000 ms first";
    for (size_t i = 0; i < log.size(); ++i)
    {
        EXPECT_EQ(log[i].bytes, 30);
        EXPECT_GE(log[i].endMs - log[i].startMs, 30 * 0.32 * 0.9) << "wire time of message " << i;
        if (i > 0)
        {
            EXPECT_GE(log[i].startMs - log[i - 1].endMs, 300.0) << "pause before message " << i;
        }
    }
}

// Through main, JUCE's argument array (which quotes an argument holding
// blanks) and the join: the path arrives as the shell handed it over, blanks
// and a run of two included. A path that did not arrive would raise the
// file alert and send the built-in image instead.
TEST_F(E2eTest, AFilePathWithBlanksArrivesWholeThroughTheRealExecutable)
{
    const auto image = writeImage("My  Firmware 1.syx", 3, 20);
    AppProcess app({"--autoupdate", "--file", image.getFullPathName().toStdString()}, environment());
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.waitForExit(60000)) << "the automatic update did not quit by itself";
    EXPECT_EQ(app.exitStatus(), 0);

    juce::MemoryBlock sent, expected;
    ASSERT_TRUE(captured("Port A", ".syx").loadFileAsData(sent));
    ASSERT_TRUE(image.loadFileAsData(expected));
    EXPECT_EQ(sent, expected);
}

TEST_F(E2eTest, AutomaticUpdateOfADamagedImageSendsNothingAndFails)
{
    juce::MemoryBlock bytes("\xF0\x7D\x01\xF7\x00\xF0\x7D\x02\xF7", 9);
    const auto image = writeBytes("damaged.syx", bytes);
    AppProcess app({"--autoupdate", "--file", image.getFullPathName().toStdString()}, environment());
    ASSERT_TRUE(app.waitForExit(30000)) << "a damaged image must not leave the updater hanging";
    EXPECT_NE(app.exitStatus(), 0);
    EXPECT_EQ(captured("Port A", ".syx").getSize(), 0);
    EXPECT_TRUE(sends("Port A").empty());
}

TEST_F(E2eTest, AutomaticUpdateWithoutThatDeviceWarnsAndSendsNothing)
{
    AppProcess app({"--autoupdate", "--outputid", "99"}, environment());
    // The warning is up before the main window.
    ASSERT_TRUE(waitUntil([&] { return !e2e::visibleWindowsOf(app.getPid()).isEmpty(); }, 20000))
        << "no alert appeared";
    const auto windows = e2e::visibleWindowsOf(app.getPid());
    ASSERT_EQ(windows.size(), 1);
    EXPECT_FALSE(e2e::runCommand("xdotool getwindowname " + windows[0]).contains("version"));
    juce::Thread::sleep(1000);
    EXPECT_TRUE(app.isRunning()) << "the updater stays open";
    EXPECT_EQ(capture.get().getNumberOfChildFiles(juce::File::findFiles), 0) << "no port was opened";
    app.kill();
}

TEST_F(E2eTest, ClosingTheWindowMidUploadStopsTheSendingAndEnds)
{
    const auto image = writeImage("long.syx", 40, 100);
    AppProcess app({"--autoupdate", "--file", image.getFullPathName().toStdString()}, environment());
    ASSERT_TRUE(waitUntil([&] { return sends("Port A").size() >= 2; }, 30000)) << "the upload never started";
    const auto windows = e2e::visibleWindowsOf(app.getPid());
    ASSERT_EQ(windows.size(), 1);

    const auto closedAt = juce::Time::getMillisecondCounter();
    clickCloseButton(windows[0]);
    ASSERT_TRUE(app.waitForExit(5000)) << "the updater did not end after its window was closed";
    EXPECT_LT(juce::Time::getMillisecondCounter() - closedAt, 3000u);
    EXPECT_EQ(app.exitStatus(), 2) << "a cut-short automatic update must not end as a success";

    const auto sentCount = sends("Port A").size();
    EXPECT_LT(sentCount, 40u);
    juce::MemoryBlock sent;
    captured("Port A", ".syx").loadFileAsData(sent);
    EXPECT_EQ(sent.getSize(), sentCount * 100) << "only whole messages left";
}

TEST_F(E2eTest, ASecondStartDuringAnUpdateEndsAtOnceAndChangesNothing)
{
    const auto image = writeImage("first.syx", 6, 50);
    AppProcess first({"--autoupdate", "--file", image.getFullPathName().toStdString()}, environment());
    ASSERT_TRUE(waitUntil([&] { return sends("Port A").size() >= 1; }, 30000));

    const auto other = writeImage("second.syx", 2, 10);
    AppProcess second({"--autoupdate", "--outputid", "2", "--file", other.getFullPathName().toStdString()},
                      environment());
    EXPECT_TRUE(second.waitForExit(10000)) << "the second instance did not end at once";

    ASSERT_TRUE(first.waitForExit(60000));
    EXPECT_EQ(first.exitStatus(), 0);
    EXPECT_EQ(sends("Port A").size(), 6u);
    EXPECT_FALSE(captured("Port B", ".syx").exists());
}
} // namespace

namespace
{
// Where the panel's controls are in the main window: the title bar is 26 pixels high.
constexpr int titleBar = 26;
constexpr int selectorX = 325, selectorY = titleBar + 140;
constexpr int updateX = 593, updateY = titleBar + 230;

TEST_F(E2eTest, AnInterfacePluggedInAfterTheStartCanBeChosenAndUpdated)
{
    const auto outputs = images.file("outputs.txt");
    ASSERT_TRUE(outputs.create());
    const auto image = writeImage("plugged.syx", 3, 40);
    AppProcess app({"--file", image.getFullPathName().toStdString()},
                   {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", outputs.getFullPathName().toStdString()},
                    {"DAVIRODIR_VIRTUAL_MIDI_CAPTURE", capture.get().getFullPathName().toStdString()}});
    juce::StringArray windows;
    ASSERT_TRUE(waitUntil(
        [&]
        {
            windows = e2e::visibleWindowsOf(app.getPid());
            return windows.size() == 1;
        },
        20000));

    ASSERT_TRUE(outputs.replaceWithText("Zodeduri MIDI\n"));
    e2e::runCommand("sleep 1.5"); // the selector looks twice a second
    clickInWindow(windows[0], selectorX, selectorY);
    e2e::runCommand("sleep 0.5; xdotool key Down; sleep 0.3; xdotool key Return; sleep 0.5");
    clickInWindow(windows[0], updateX, updateY);

    ASSERT_TRUE(waitUntil([&] { return sends("Zodeduri MIDI").size() == 3; }, 20000))
        << "the plugged-in port was not chosen and updated";
    juce::MemoryBlock sent, expected;
    captured("Zodeduri MIDI", ".syx").loadFileAsData(sent);
    image.loadFileAsData(expected);
    EXPECT_EQ(sent, expected);
    app.kill();
}
} // namespace

namespace
{
TEST_F(E2eTest, AnAutomaticUpdatePrintsItsProgressLinesForTheDrivingProgram)
{
    const auto image = writeImage("lines.syx", 4, 24);
    int status = -1;
    const auto output =
        e2e::runCommand("DAVIRODIR_VIRTUAL_MIDI_OUTPUTS='Port A' '" + juce::String(e2e::appPath()) +
                            "' --autoupdate --file '" + image.getFullPathName() + "'",
                        &status);
    EXPECT_EQ(status, 0);
    // 96 bytes at 320 us each, 300 ms after each of 4 messages, then the 5000 ms pause.
    EXPECT_EQ(output, "start\t0\t0\t96\t6.2\n"
                      "progress\t25\t24\t96\t5.9\n"
                      "progress\t50\t48\t96\t5.6\n"
                      "progress\t75\t72\t96\t5.3\n"
                      "progress\t100\t96\t96\t5.0\n"
                      "end\t100\t96\t96\t0.0\tcompleted\t0\n");
}

TEST_F(E2eTest, ADamagedImageEndsItsProgressLinesWithItsStatus)
{
    juce::MemoryBlock damaged;
    damaged.append("\xF0\x01\xF7\x00", 4);
    const auto image = writeBytes("damaged-lines.syx", damaged);
    int status = -1;
    const auto output =
        e2e::runCommand("DAVIRODIR_VIRTUAL_MIDI_OUTPUTS='Port A' '" + juce::String(e2e::appPath()) +
                            "' --autoupdate --file '" + image.getFullPathName() + "'",
                        &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, "end\t0\t0\t4\t0.0\tdamaged\t1\n");
}
} // namespace
