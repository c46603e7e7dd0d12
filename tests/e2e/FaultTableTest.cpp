#include "e2e/E2eFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <ostream>

namespace
{
using e2e::AppProcess;

/** What "--file" names. */
enum class Firmware
{
    generated,  ///< an image of `messages` messages of 24 bytes
    directory,  ///< an existing directory
    empty,      ///< an existing file of 0 bytes
    unreadable, ///< an existing file the updater may not read
    missing,    ///< a path where nothing is
    givenTwice, ///< "--file a.syx --file b.syx", both existing
};

/** When the glass close button of the main window is clicked. */
enum class CloseAt
{
    never,
    automaticWait,   ///< window up, port open, nothing sent yet
    messagePause,    ///< just after the second message
    completionPause, ///< the last message sent and its own pause over
    stalledSend,     ///< a send is blocked and has been for a while
};

enum class Outcome
{
    exits,            ///< ends by itself (or after the close) with status 0
    alertAndStays,    ///< a modal alert before the main window; nothing sent; stays open
    alertThenBuiltIn, ///< as alertAndStays; once dismissed the built-in image goes out
    builtInNoAlert,   ///< no alert; the built-in image goes out
    secondIgnored,    ///< a second start during the upload ends and changes nothing
};

constexpr int messageLength = 24;
constexpr int pauseMs = 300;
constexpr int automaticWaitMs = 2000;

const std::vector<std::string> autoUpdate{"--autoupdate"};
const std::string bothPorts = "Port A;Port B";

/** One row: a generated image under --autoupdate on "Port A;Port B", never
    closed, exiting 0, unless the row says otherwise. */
struct Fault
{
    explicit Fault(const char* rowName) : name(rowName) {}

    Fault& image(int count)
    {
        messages = count;
        return *this;
    }
    Fault& file(Firmware kind)
    {
        firmware = kind;
        return *this;
    }
    Fault& switches(std::vector<std::string> beforeFile)
    {
        options = std::move(beforeFile);
        return *this;
    }
    Fault& ports(std::string names)
    {
        outputs = std::move(names);
        return *this;
    }
    Fault& variable(const std::string& variableName, const std::string& value)
    {
        extraEnvironment[variableName] = value;
        return *this;
    }
    Fault& closed(CloseAt when)
    {
        closeAt = when;
        return *this;
    }
    Fault& expect(Outcome what, const char* titlePart = nullptr)
    {
        outcome = what;
        alertTitle = titlePart;
        return *this;
    }
    Fault& sent(int atLeast, int atMost)
    {
        minSent = atLeast;
        maxSent = atMost;
        return *this;
    }
    Fault& endsWithin(int ms)
    {
        endsWithinMs = ms;
        return *this;
    }
    Fault& runsAtLeast(int ms)
    {
        minRunMs = ms;
        return *this;
    }
    Fault& status(int exit)
    {
        exitStatus = exit;
        return *this;
    }

    const char* name;
    Firmware firmware = Firmware::generated;
    int messages = 0;                              ///< of the generated image
    std::vector<std::string> options = autoUpdate; ///< before --file
    std::string outputs = bothPorts;
    std::map<std::string, std::string> extraEnvironment;
    CloseAt closeAt = CloseAt::never;
    Outcome outcome = Outcome::exits;
    const char* alertTitle = nullptr; ///< part of the alert's window title
    int minSent = 0, maxSent = 0;     ///< messages of the generated image captured on Port A
    int endsWithinMs = 0;             ///< after the click, else after the start
    int minRunMs = 0;                 ///< lower bound of start to end; 0 for none
    int exitStatus = 0;               ///< for rows that end
};

void PrintTo(const Fault& fault, std::ostream* os)
{
    *os << fault.name;
}

const Fault faults[] = {
    Fault("ClosedInTheAutomaticWait").image(3).closed(CloseAt::automaticWait).endsWithin(4000).status(2),
    Fault("ClosedInAPauseAfterAMessage")
        .image(10)
        .closed(CloseAt::messagePause)
        .sent(2, 3)
        .endsWithin(4000)
        .status(2),
    Fault("ClosedInTheCompletionPause").image(2).closed(CloseAt::completionPause).sent(2, 2).endsWithin(3000),
    Fault("PortFailsToOpen")
        .image(2)
        .switches({"--autoupdate", "--outputid", "1"})
        .ports("!Port A;Port B")
        .expect(Outcome::alertAndStays, ""),
    // The first failed send ends the run at once, with a status of its own.
    Fault("SendsFailFromTheThirdMessage")
        .image(5)
        .variable("DAVIRODIR_VIRTUAL_MIDI_FAIL_FROM", "3")
        .sent(2, 2)
        .endsWithin(20000)
        .runsAtLeast(automaticWaitMs + 2 * pauseMs)
        .status(3),
    // A thread stuck in a send may hold up the quit for 5000 ms, no longer.
    Fault("SendStallsAtTheThirdMessageThenClosed")
        .image(5)
        .variable("DAVIRODIR_VIRTUAL_MIDI_STALL_FROM", "3")
        .closed(CloseAt::stalledSend)
        .sent(2, 2)
        .endsWithin(9000)
        .status(2),
    Fault("FileIsADirectory").file(Firmware::directory).expect(Outcome::alertThenBuiltIn, "not found"),
    Fault("FileIsEmpty").file(Firmware::empty).expect(Outcome::builtInNoAlert),
    Fault("FileIsUnreadable")
        .file(Firmware::unreadable)
        .expect(Outcome::alertThenBuiltIn, "could not be read"),
    Fault("FileIsMissing").file(Firmware::missing).expect(Outcome::alertThenBuiltIn, "not found"),
    // The rest of the line is one path: "a.syx --file b.syx", which is missing.
    Fault("FileGivenTwice")
        .file(Firmware::givenTwice)
        .image(2)
        .expect(Outcome::alertThenBuiltIn, "a.syx --file "),
    Fault("SecondInstanceDuringTheUpload")
        .image(3)
        .expect(Outcome::secondIgnored)
        .sent(3, 3)
        .endsWithin(40000),
};

class FaultTable : public e2e::E2eTest, public ::testing::WithParamInterface<Fault>
{
protected:
    std::vector<std::string> fileArguments(const Fault& fault)
    {
        const auto path = [](const juce::File& f) { return f.getFullPathName().toStdString(); };
        switch (fault.firmware)
        {
        case Firmware::generated:
            image = writeImage("image.syx", fault.messages, messageLength);
            return {"--file", path(image)};
        case Firmware::directory:
        {
            const auto dir = images.file("folder.syx");
            dir.createDirectory();
            return {"--file", path(dir)};
        }
        case Firmware::empty:
        {
            // replaceWithData deletes the file when given no bytes.
            const auto file = images.file("empty.syx");
            file.create();
            return {"--file", path(file)};
        }
        case Firmware::unreadable:
        {
            const auto file = writeImage("locked.syx", 2, messageLength);
            chmod(file.getFullPathName().toRawUTF8(), 0);
            return {"--file", path(file)};
        }
        case Firmware::missing:
            return {"--file", path(images.file("nowhere.syx"))};
        case Firmware::givenTwice:
            return {"--file", path(writeImage("a.syx", fault.messages, messageLength)), "--file",
                    path(writeImage("b.syx", fault.messages, messageLength))};
        }
        return {};
    }

    juce::String mainWindow(int pid) const
    {
        for (const auto& id : e2e::visibleWindowsOf(pid))
            if (windowTitle(id).contains("version"))
                return id;
        return {};
    }

    static juce::String windowTitle(const juce::String& id)
    {
        return e2e::runCommand("xdotool getwindowname " + id).trim();
    }

    int sentCount(const juce::String& port) const { return static_cast<int>(sends(port).size()); }

    /** Sends and bytes in every capture, of every port. */
    juce::int64 capturedAnything() const
    {
        juce::int64 total = 0;
        for (const auto& f : capture.get().findChildFiles(juce::File::findFiles, false))
            total += f.getSize();
        return total;
    }

    /** The messages captured on Port A are the first of expected, whole. */
    void expectPrefixOf(const juce::MemoryBlock& expected, int count) const
    {
        juce::MemoryBlock sent;
        captured("Port A", ".syx").loadFileAsData(sent);
        const auto got = e2e::splitMessages(sent);
        const auto want = e2e::splitMessages(expected);
        ASSERT_EQ(got.size(), static_cast<size_t>(count));
        ASSERT_LE(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], want[i]) << "message " << i;
    }

    /** Waits for the alert, the only window, and checks that the updater waits on it. */
    void expectAlertAndNothingSent(AppProcess& app, const Fault& fault)
    {
        ASSERT_TRUE(waitUntil([&] { return !e2e::visibleWindowsOf(app.getPid()).isEmpty(); }, 20000))
            << "no window appeared";
        const auto windows = e2e::visibleWindowsOf(app.getPid());
        ASSERT_EQ(windows.size(), 1) << "the alert comes before the main window";
        const auto title = windowTitle(windows[0]);
        EXPECT_FALSE(title.contains("version")) << "the main window came instead of an alert";
        EXPECT_TRUE(title.contains(fault.alertTitle)) << "alert title: " << title;
        juce::Thread::sleep(automaticWaitMs + 1000);
        ASSERT_TRUE(app.isRunning()) << "the updater must stay open on its alert, status "
                                     << app.exitStatus();
        EXPECT_EQ(e2e::visibleWindowsOf(app.getPid()).size(), 1);
        EXPECT_EQ(capturedAnything(), 0) << "nothing may be sent while the alert is up";
        alert = windows[0];
    }

    void expectBuiltInImageGoesOut(AppProcess& app)
    {
        ASSERT_TRUE(waitUntil([&] { return sentCount("Port A") >= 2; }, 20000))
            << "the built-in image did not start going out";
        ASSERT_TRUE(app.isRunning());
        EXPECT_FALSE(mainWindow(app.getPid()).isEmpty());
        EXPECT_EQ(e2e::visibleWindowsOf(app.getPid()).size(), 1) << "no alert for this case";
        juce::MemoryBlock builtIn;
        ASSERT_TRUE(juce::File(DAVIRODIR_SOURCE_DIR "/firmware/zodeduri.syx").loadFileAsData(builtIn));
        expectPrefixOf(builtIn, sentCount("Port A"));
        app.kill();
    }

    /** Waits for the moment of fault.closeAt; returns false on a timeout. */
    bool reachCloseMoment(AppProcess& app, const Fault& fault)
    {
        switch (fault.closeAt)
        {
        case CloseAt::never:
            return true;
        case CloseAt::automaticWait:
            return waitUntil(
                [&]
                {
                    return !mainWindow(app.getPid()).isEmpty() && captured("Port A", ".syx").exists() &&
                           sentCount("Port A") == 0;
                },
                20000);
        case CloseAt::messagePause:
            return waitUntil([&] { return sentCount("Port A") >= 2; }, 20000);
        case CloseAt::completionPause:
            if (!waitUntil([&] { return sentCount("Port A") >= fault.messages; }, 20000))
                return false;
            juce::Thread::sleep(pauseMs + 500);
            return true;
        case CloseAt::stalledSend:
            if (!waitUntil([&] { return sentCount("Port A") >= fault.minSent; }, 20000))
                return false;
            // Past the pause: the next send has begun and blocks.
            juce::Thread::sleep(pauseMs + 1500);
            return app.isRunning() && sentCount("Port A") == fault.minSent;
        }
        return false;
    }

    juce::File image;
    juce::String alert;
};

TEST_P(FaultTable, EndsOrStaysAsPromisedSendsWhatItShouldAndNeverCrashes)
{
    const auto& fault = GetParam();
    auto arguments = fault.options;
    const auto file = fileArguments(fault);
    arguments.insert(arguments.end(), file.begin(), file.end());
    auto env = environment(fault.outputs);
    env.insert(fault.extraEnvironment.begin(), fault.extraEnvironment.end());

    std::unique_ptr<AppProcess> app;
    const auto startedAt = juce::Time::getMillisecondCounter();
    if (fault.firmware == Firmware::unreadable && geteuid() == 0)
    {
        // Root reads any file; without these capabilities it must obey the mode.
        int readable = -1;
        ASSERT_TRUE(testsupport::withoutReadOverride(
            [&]
            {
                e2e::runCommand("cat '" + juce::String(file[1]) + "' >/dev/null 2>&1", &readable);
                app = std::make_unique<AppProcess>(arguments, env);
            }))
            << "cannot drop the capabilities that let root read every file, so this case cannot be tested";
        ASSERT_NE(readable, 0) << "the file is still readable; the case would not be tested";
    }
    else
    {
        if (fault.firmware == Firmware::unreadable)
        {
            ASSERT_NE(access(file[1].c_str(), R_OK), 0) << "the file is still readable";
        }
        app = std::make_unique<AppProcess>(arguments, env);
    }
    ASSERT_TRUE(app->started());

    switch (fault.outcome)
    {
    case Outcome::alertAndStays:
        expectAlertAndNothingSent(*app, fault);
        app->kill();
        return;
    case Outcome::alertThenBuiltIn:
        expectAlertAndNothingSent(*app, fault);
        if (HasFatalFailure())
            return;
        e2e::runCommand("xdotool key --window " + alert + " Return");
        expectBuiltInImageGoesOut(*app);
        return;
    case Outcome::builtInNoAlert:
        ASSERT_TRUE(waitUntil([&] { return !e2e::visibleWindowsOf(app->getPid()).isEmpty(); }, 20000));
        EXPECT_FALSE(mainWindow(app->getPid()).isEmpty()) << "an alert came instead of the main window";
        expectBuiltInImageGoesOut(*app);
        return;
    case Outcome::exits:
    case Outcome::secondIgnored:
        break;
    }

    ASSERT_TRUE(reachCloseMoment(*app, fault)) << "the run never reached the moment to close it";
    if (fault.closeAt != CloseAt::never)
    {
        const auto window = mainWindow(app->getPid());
        ASSERT_FALSE(window.isEmpty());
        EXPECT_TRUE(app->isRunning()) << "ended before the close";
        clickCloseButton(window);
    }
    if (fault.outcome == Outcome::secondIgnored)
    {
        ASSERT_TRUE(waitUntil([&] { return sentCount("Port A") >= 1; }, 20000));
        const auto other = writeImage("other.syx", 2, 10);
        AppProcess second(
            {"--autoupdate", "--outputid", "2", "--file", other.getFullPathName().toStdString()}, env);
        ASSERT_TRUE(second.waitForExit(10000)) << "the second instance did not end at once";
        EXPECT_LT(second.exitStatus(), 128) << "the second instance crashed";
        EXPECT_TRUE(app->isRunning()) << "the first instance ended with the second";
    }

    ASSERT_TRUE(app->waitForExit(fault.endsWithinMs)) << "did not end within " << fault.endsWithinMs << " ms";
    const auto tookMs = static_cast<int>(juce::Time::getMillisecondCounter() - startedAt);
    EXPECT_LT(app->exitStatus(), 128) << "ended by a signal";
    EXPECT_EQ(app->exitStatus(), fault.exitStatus)
        << "0: the whole image was sent; 2: cut short by the close";
    EXPECT_GE(tookMs, fault.minRunMs);

    const int sent = sentCount("Port A");
    EXPECT_GE(sent, fault.minSent);
    EXPECT_LE(sent, fault.maxSent);
    juce::MemoryBlock expected;
    ASSERT_TRUE(image.loadFileAsData(expected));
    expectPrefixOf(expected, sent);
    EXPECT_FALSE(captured("Port B", ".syx").exists()) << "Port B was never to be opened";
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTable, ::testing::ValuesIn(faults),
                         [](const ::testing::TestParamInfo<Fault>& row)
                         { return std::string(row.param.name); });
} // namespace
