#pragma once

#include "e2e/E2eFixture.h"

#include <memory>

namespace wine
{
/** Runs Davirodir.exe under Wine (the prefix the setup test made fresh), from
    a directory of its own so a test-only winmm.dll can sit beside it. Fails,
    never skips, when Wine, the prefix or the exe is missing. */
class WineTest : public e2e::E2eTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(juce::File(DAVIRODIR_WINE).existsAsFile())
            << "Wine is missing (" << DAVIRODIR_WINE << "): tools/build-windows.sh installs it";
        ASSERT_TRUE(prefix().getChildFile("system.reg").existsAsFile())
            << "no Wine prefix at " << prefix().getFullPathName() << ": the windows_prefix test makes it";
        ASSERT_TRUE(juce::File(DAVIRODIR_WINDOWS_EXE).existsAsFile())
            << "no Windows executable at " << DAVIRODIR_WINDOWS_EXE << ": run tools/build-windows.sh";
        E2eTest::SetUp();
        ASSERT_TRUE(juce::File(DAVIRODIR_WINDOWS_EXE).copyFileTo(exe()));
    }

    static juce::File prefix() { return juce::File(DAVIRODIR_WINEPREFIX); }
    juce::File exe() const { return runDirectory.file("Davirodir.exe"); }
    juce::File runFile(const juce::String& name) const { return runDirectory.file(name); }

    /** The same place as Windows programs under Wine name it (drive Z: is /). */
    static std::string windowsPath(const juce::File& file)
    {
        return ("Z:" + file.getFullPathName().replaceCharacter('/', '\\')).toStdString();
    }

    /** Virtual ports A and B captured into the capture directory, named as a Windows path. */
    std::map<std::string, std::string> virtualPorts() const
    {
        return {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "A;B"},
                {"DAVIRODIR_VIRTUAL_MIDI_CAPTURE", windowsPath(capture.get())}};
    }

    /** The visible windows of process pid that have a title: on Windows JUCE
        draws a window's shadow with four untitled windows of its own. */
    static juce::StringArray titledWindowsOf(int pid)
    {
        juce::StringArray titled;
        for (const auto& id : e2e::visibleWindowsOf(pid))
            if (e2e::runCommand("xdotool getwindowname " + id + " 2>/dev/null").trim().isNotEmpty())
                titled.add(id);
        return titled;
    }

    /** Starts the exe with arguments, the environment given on top of Wine's own. */
    std::unique_ptr<e2e::AppProcess> start(const std::vector<std::string>& arguments,
                                           std::map<std::string, std::string> environment,
                                           const std::string& dllOverrides = "")
    {
        // Wine reads the environment in the locale's character set.
        environment["LC_ALL"] = "C.UTF-8";
        environment["WINEPREFIX"] = prefix().getFullPathName().toStdString();
        environment["WINEDEBUG"] = "-all";
        environment["WINEDLLOVERRIDES"] =
            "mscoree,mshtml=" + (dllOverrides.empty() ? "" : ";" + dllOverrides);
        std::vector<std::string> line{exe().getFullPathName().toStdString()};
        line.insert(line.end(), arguments.begin(), arguments.end());
        return std::make_unique<e2e::AppProcess>(line, environment);
    }

    testsupport::TemporaryDirectory runDirectory;
};
} // namespace wine
