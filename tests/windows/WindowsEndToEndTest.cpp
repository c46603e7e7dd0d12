#include "windows/WineFixture.h"

#include <ostream>

namespace
{
using wine::WineTest;

TEST_F(WineTest, AutomaticUpdateSendsTheImageToTheSecondPortAndQuitsWithZero)
{
    const auto image = writeImage("small.syx", 4, 30);
    auto app = start({"--autoupdate", "--outputid", "2", "--file", windowsPath(image)}, virtualPorts());
    ASSERT_TRUE(app->started());
    ASSERT_TRUE(app->waitForExit(90000)) << "the automatic update did not quit by itself";
    EXPECT_EQ(app->exitStatus(), 0);

    juce::MemoryBlock sent, expected;
    ASSERT_TRUE(captured("B", ".syx").loadFileAsData(sent)) << "nothing captured for port B";
    ASSERT_TRUE(image.loadFileAsData(expected));
    EXPECT_EQ(sent, expected) << "the device must get exactly the image, in order";
    EXPECT_FALSE(captured("A", ".syx").exists()) << "the first port was never to be opened";

    const auto log = sends("B");
    ASSERT_EQ(log.size(), 4u);
    for (size_t i = 1; i < log.size(); ++i)
        EXPECT_GE(log[i].startMs - log[i - 1].endMs, 300.0) << "pause before message " << i;
}

TEST_F(WineTest, AutomaticUpdateOfADamagedImageSendsNothingAndEndsWithOne)
{
    // The second message lacks its F7.
    const auto image = writeBytes("damaged.syx", juce::MemoryBlock("\xF0\x7D\x01\xF7\x00\xF0\x7D\x02", 8));
    auto app = start({"--autoupdate", "--file", windowsPath(image)}, virtualPorts());
    ASSERT_TRUE(app->waitForExit(60000)) << "a damaged image must not leave the updater hanging";
    EXPECT_EQ(app->exitStatus(), 1);
    EXPECT_EQ(captured("A", ".syx").getSize(), 0);
    EXPECT_TRUE(sends("A").empty());
}

TEST_F(WineTest, ClosingTheWindowMidUploadEndsWithTwo)
{
    const auto image = writeImage("long.syx", 40, 100);
    auto app = start({"--autoupdate", "--file", windowsPath(image)}, virtualPorts());
    ASSERT_TRUE(waitUntil([&] { return sends("A").size() >= 2; }, 60000)) << "the upload never started";
    const auto windows = titledWindowsOf(app->getPid());
    ASSERT_EQ(windows.size(), 1);

    clickCloseButton(windows[0]);
    ASSERT_TRUE(app->waitForExit(5000)) << "the updater did not end after its window was closed";
    EXPECT_EQ(app->exitStatus(), 2) << "a cut-short automatic update must not end as a success";
    EXPECT_LT(sends("A").size(), 40u);
}

TEST_F(WineTest, AMissingFileShowsItsAlertBeforeTheMainWindow)
{
    const auto missing = images.file("missing.syx");
    auto app = start({"--autoupdate", "--file", windowsPath(missing)}, virtualPorts());
    ASSERT_TRUE(waitUntil([&] { return !titledWindowsOf(app->getPid()).isEmpty(); }, 60000))
        << "no window appeared";
    juce::Thread::sleep(1000); // a main window shown with the alert would be up by now
    const auto windows = titledWindowsOf(app->getPid());
    ASSERT_EQ(windows.size(), 1) << "only the alert may be up";
    EXPECT_TRUE(e2e::runCommand("xdotool getwindowname " + windows[0]).contains("not found"));
    EXPECT_TRUE(app->isRunning()) << "the updater waits for the alert to be dismissed";
    EXPECT_EQ(capture.get().getNumberOfChildFiles(juce::File::findFiles), 0) << "no port was opened";
}

/** A port name as the environment gives it, and the capture file it names. */
struct PortName
{
    const char* what;
    const char* utf8;
    const char* captureUtf8;
};

void PrintTo(const PortName& c, std::ostream* os)
{
    *os << c.what;
}

class PortNames : public WineTest, public ::testing::WithParamInterface<PortName>
{
};

// Windows keeps the environment in UTF-16 and refuses some characters in file names.
TEST_P(PortNames, ReachTheExecutableWholeAndNameItsCapture)
{
    const auto& c = GetParam();
    const auto image = writeImage("two.syx", 2, 20);
    auto app = start({"--autoupdate", "--file", windowsPath(image)},
                     {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", c.utf8},
                      {"DAVIRODIR_VIRTUAL_MIDI_CAPTURE", windowsPath(capture.get())}});
    ASSERT_TRUE(app->waitForExit(90000));
    EXPECT_EQ(app->exitStatus(), 0);
    juce::MemoryBlock sent, expected;
    ASSERT_TRUE(image.loadFileAsData(expected));
    EXPECT_TRUE(capture.file(juce::String::fromUTF8(c.captureUtf8) + ".syx").loadFileAsData(sent))
        << "no capture named after the port; the directory holds: "
        << capture.get().findChildFiles(juce::File::findFiles, false).size() << " files";
    EXPECT_EQ(sent, expected);
}

const PortName portNames[] = {
    {"NotAscii",
     "Z\xc3\xb6"
     "deduri Win",
     "Z\xc3\xb6"
     "deduri Win"},
    {"WithAColon", "MIDI: 1", "MIDI_ 1"},
};

INSTANTIATE_TEST_SUITE_P(Environment, PortNames, ::testing::ValuesIn(portNames),
                         [](const ::testing::TestParamInfo<PortName>& row)
                         { return std::string(row.param.what); });

/** One long message as the test winmm.dll logged it. */
struct LoggedMessage
{
    double atMs;
    std::vector<juce::uint8> bytes;
};

std::vector<LoggedMessage> longMessages(const juce::File& log)
{
    std::vector<LoggedMessage> messages;
    juce::StringArray lines;
    lines.addLines(log.loadFileAsString());
    for (const auto& line : lines)
    {
        juce::StringArray fields;
        fields.addTokens(line, " ", "");
        if (fields.size() < 2 || fields[1] != "LONG")
            continue;
        LoggedMessage message{fields[0].getDoubleValue(), {}};
        for (int i = 2; i < fields.size(); ++i)
            message.bytes.push_back(static_cast<juce::uint8>(fields[i].getHexValue32()));
        messages.push_back(message);
    }
    return messages;
}

/** How the test driver treats the buffers it is given. */
struct DriverCase
{
    const char* name;
    bool neverDone;         ///< takes long messages but never marks them done
    size_t messagesToClose; ///< seen before the window is closed
    bool checkPause;        ///< a driver that never finishes keeps the second message back
};

void PrintTo(const DriverCase& c, std::ostream* os)
{
    *os << c.name;
}

class WinmmPath : public WineTest, public ::testing::WithParamInterface<DriverCase>
{
};

// JUCE's own Windows MIDI output, through a winmm.dll that logs what reaches it.
TEST_P(WinmmPath, TheBuiltInImageArrivesWholeAndInOrderAndClosingEndsTheRun)
{
    const auto& driver = GetParam();
    ASSERT_TRUE(juce::File(DAVIRODIR_TEST_WINMM).copyFileTo(runFile("winmm.dll")))
        << "no test winmm.dll at " << DAVIRODIR_TEST_WINMM << ": run tools/build-windows.sh";
    std::map<std::string, std::string> environment;
    if (driver.neverDone)
        environment["DAVIRODIR_TEST_WINMM_NEVER_DONE"] = "1";
    auto app = start({"--autoupdate"}, environment, "winmm=n,b");
    const auto log = runFile("winmm.log");
    ASSERT_TRUE(waitUntil([&] { return longMessages(log).size() >= driver.messagesToClose; }, 60000))
        << "the test port did not get " << driver.messagesToClose << " messages:\n"
        << log.loadFileAsString();

    juce::MemoryBlock builtIn;
    ASSERT_TRUE(juce::File(DAVIRODIR_SOURCE_DIR "/firmware/zodeduri.syx").loadFileAsData(builtIn));
    const auto expected = e2e::splitMessages(builtIn);
    const auto received = longMessages(log);
    ASSERT_LE(received.size(), expected.size());
    for (size_t i = 0; i < received.size(); ++i)
    {
        EXPECT_EQ(received[i].bytes, expected[i]) << "message " << i;
        if (i > 0 && driver.checkPause)
        {
            EXPECT_GE(received[i].atMs - received[i - 1].atMs, 300.0) << "pause before message " << i;
        }
    }

    const auto windows = titledWindowsOf(app->getPid());
    ASSERT_EQ(windows.size(), 1);
    const auto closedAt = juce::Time::getMillisecondCounter();
    clickCloseButton(windows[0]);
    ASSERT_TRUE(app->waitForExit(5000)) << "the updater did not end within 5 s of its window being closed";
    EXPECT_LE(juce::Time::getMillisecondCounter() - closedAt, 5000u);
    EXPECT_EQ(app->exitStatus(), 2);
}

const DriverCase drivers[] = {
    {"DriverFinishesEachBuffer", false, 3, true},
    {"DriverNeverFinishesABuffer", true, 1, false},
};

INSTANTIATE_TEST_SUITE_P(Drivers, WinmmPath, ::testing::ValuesIn(drivers),
                         [](const ::testing::TestParamInfo<DriverCase>& row)
                         { return std::string(row.param.name); });
} // namespace
