// The switches that answer on the terminal, and a start without a display:
// the real executable, always with DISPLAY unset, so that anything that
// reaches for a window shows up as a crash or a wrong status.
#include "e2e/AppProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <ostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace
{
struct Run
{
    int status = -1; ///< exit code, 128 + signal, or -1 when it did not end in time
    std::string out, err;
};

/** Starts the executable without DISPLAY and without the parent's virtual-port
    variables, adds environment, and collects what it prints. */
Run runWithoutDisplay(const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment,
                      const testsupport::TemporaryDirectory& scratch)
{
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e)
    {
        const std::string entry(*e);
        if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
            entry.rfind("DAVIRODIR_", 0) == 0)
            continue;
        envStrings.push_back(entry);
    }
    for (const auto& [key, value] : environment)
        envStrings.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{e2e::appPath()};
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : argStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    const auto outFile = scratch.file("stdout"), errFile = scratch.file("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.getFullPathName().toRawUTF8(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.getFullPathName().toRawUTF8(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);

    Run run;
    if (!spawned)
        return run;
    int raw = 0;
    const bool ended = e2e::waitUntil([&] { return waitpid(pid, &raw, WNOHANG) == pid; }, 20000);
    if (!ended)
    {
        ::kill(pid, SIGKILL);
        waitpid(pid, &raw, 0);
    }
    else
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
    run.out = outFile.loadFileAsString().toStdString();
    run.err = errFile.loadFileAsString().toStdString();
    return run;
}

const std::string versionLine = std::string("Davirodir ") + JUCE_APPLICATION_VERSION_STRING + "\n";
constexpr const char* anyText = nullptr;

struct WindowlessCase
{
    const char* what;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> environment;
    int status;
    const char* out;                      ///< the whole of stdout, or anyText
    std::vector<std::string> outContains; ///< pieces stdout must hold
    std::vector<std::string> errContains; ///< pieces stderr must hold; empty: stderr must be empty
};

void PrintTo(const WindowlessCase& c, std::ostream* os)
{
    *os << c.what;
}

const std::vector<std::string> usagePieces{
    "Usage: Davirodir", "--file",    "--autoupdate",
    "--outputid",       "--inputid", "--help",
    "--list-outputs",   "--version", "xvfb-run -a Davirodir --autoupdate"};
const std::vector<std::string> noDisplayPieces{"no graphical display", "xvfb-run -a Davirodir --autoupdate",
                                               "--list-outputs"};
const std::string twoPorts = "Port A;Port B";

const WindowlessCase windowlessCases[] = {
    {"help", {"--help"}, {}, 0, anyText, usagePieces, {}},
    {"help in capitals", {"--HELP"}, {}, 0, anyText, usagePieces, {}},
    {"help ignores the rest",
     {"--help", "--autoupdate", "--file", "/nonexistent.syx"},
     {},
     0,
     anyText,
     usagePieces,
     {}},
    {"version", {"--version"}, {}, 0, versionLine.c_str(), {}, {}},
    {"version ignores the rest", {"--Version", "--autoupdate"}, {}, 0, versionLine.c_str(), {}, {}},
    {"outputs numbered from 1 in order",
     {"--list-outputs"},
     {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", twoPorts}},
     0,
     "1\tPort A\n2\tPort B\n",
     {},
     {}},
    {"a broken port is listed without its mark, empty names are not",
     {"--list-outputs"},
     {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", ";!Busy Port;;Zodeduri MIDI 1;"}},
     0,
     "1\tBusy Port\n2\tZodeduri MIDI 1\n",
     {},
     {}},
    {"inputs alone mean no outputs",
     {"--list-outputs"},
     {{"DAVIRODIR_VIRTUAL_MIDI_INPUTS", "In A"}},
     0,
     "",
     {},
     {}},
    {"listing opens no port",
     {"--list-outputs", "--autoupdate"},
     {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}},
     0,
     "1\tPort A\n",
     {},
     {}},
    {"no display", {}, {}, 4, "", {}, noDisplayPieces},
    {"no display, automatic update",
     {"--autoupdate", "--outputid", "1"},
     {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", twoPorts}},
     4,
     "",
     {},
     noDisplayPieces},
    {"a display nobody serves", {"--autoupdate"}, {{"DISPLAY", ":4711"}}, 4, "", {}, noDisplayPieces},
    {"a switch that is not first is the window's",
     {"--autoupdate", "--version"},
     {},
     4,
     "",
     {},
     noDisplayPieces},
    {"a switch inside the path is the window's", {"--file", "--version"}, {}, 4, "", {}, noDisplayPieces},
    {"a longer word is no switch", {"--versions"}, {}, 4, "", {}, noDisplayPieces},
};

class WindowlessSwitches : public ::testing::TestWithParam<WindowlessCase>
{
};

TEST_P(WindowlessSwitches, AnswerWithoutAWindow)
{
    const auto& c = GetParam();
    ASSERT_TRUE(juce::File(e2e::appPath()).existsAsFile()) << "no executable at " << e2e::appPath();
    testsupport::TemporaryDirectory scratch, capture;
    auto environment = c.environment;
    environment["DAVIRODIR_VIRTUAL_MIDI_CAPTURE"] = capture.get().getFullPathName().toStdString();

    const auto run = runWithoutDisplay(c.arguments, environment, scratch);

    EXPECT_EQ(run.status, c.status) << "stderr: " << run.err;
    if (c.out != anyText)
    {
        EXPECT_EQ(run.out, c.out);
    }
    for (const auto& piece : c.outContains)
        EXPECT_NE(run.out.find(piece), std::string::npos) << "stdout lacks \"" << piece << "\":\n" << run.out;
    if (c.errContains.empty())
    {
        EXPECT_EQ(run.err, "");
    }
    for (const auto& piece : c.errContains)
        EXPECT_NE(run.err.find(piece), std::string::npos) << "stderr lacks \"" << piece << "\":\n" << run.err;
    // Nothing was opened, so nothing was captured.
    EXPECT_EQ(capture.get().getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
}

std::string caseName(const ::testing::TestParamInfo<WindowlessCase>& param)
{
    std::string name;
    for (const char* p = param.param.what; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowlessSwitches, ::testing::ValuesIn(windowlessCases), caseName);

TEST(WindowlessSwitches, OutputsFromAFileAreListedAsTheWindowListsThem)
{
    testsupport::TemporaryDirectory scratch;
    const auto list = scratch.file("outputs.txt");
    ASSERT_TRUE(list.replaceWithText("File Port\n!Gone Port\n\nLast Port\n"));
    const auto path = list.getFullPathName().toStdString();

    // The file wins over the fixed list; the same "!" rule; blank lines name nothing.
    const auto run = runWithoutDisplay(
        {"--list-outputs"},
        {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", path}, {"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Port A"}},
        scratch);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1\tFile Port\n2\tGone Port\n3\tLast Port\n");

    const auto missing = runWithoutDisplay(
        {"--list-outputs"}, {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", path + ".missing"}}, scratch);
    EXPECT_EQ(missing.status, 0) << missing.err;
    EXPECT_EQ(missing.out, "") << "a missing file means no ports";
}

TEST(WindowlessSwitches, SystemOutputsAreNumberedFromOne)
{
    // Whatever ports this machine has (often none): one "<n>\t<name>" line
    // each, n counting from 1.
    testsupport::TemporaryDirectory scratch;
    const auto run = runWithoutDisplay({"--list-outputs"}, {}, scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    juce::StringArray lines;
    lines.addLines(juce::String(run.out).trimEnd());
    lines.removeEmptyStrings();
    for (int i = 0; i < lines.size(); ++i)
    {
        EXPECT_EQ(lines[i].upToFirstOccurrenceOf("\t", false, false), juce::String(i + 1)) << lines[i];
        EXPECT_TRUE(lines[i].fromFirstOccurrenceOf("\t", false, false).isNotEmpty()) << lines[i];
    }
}
} // namespace
