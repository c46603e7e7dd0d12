#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace e2e
{
/** The real Davirodir executable, started in a process of its own with the
    environment given (on top of this process's, whose DISPLAY it uses). */
class AppProcess
{
public:
    AppProcess(const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment);
    ~AppProcess(); ///< kills the process if it still runs

    bool started() const noexcept { return pid > 0; }
    int getPid() const noexcept { return pid; }

    /** Waits up to timeoutMs for the process to end. Returns whether it ended. */
    bool waitForExit(int timeoutMs);
    bool isRunning();
    /** Exit status once ended: the code, or 128 + signal when killed by one. */
    int exitStatus() const noexcept { return status; }
    void kill();

private:
    int pid = -1;
    int status = -1;
    bool ended = false;
};

/** Polls condition until it holds or timeoutMs has passed; returns whether it held. */
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

/** Pid of a process holding the updater's one-instance lock, or 0. JUCE
    allows one instance per machine: while another runs, ours ends at once. */
int instanceLockHolder();

/** Path of the executable under test. */
std::string appPath();

/** Runs a shell command line; returns its standard output. */
juce::String runCommand(const juce::String& commandLine, int* exitCode = nullptr);

/** The X window ids of the visible windows of process pid (xdotool). */
juce::StringArray visibleWindowsOf(int pid);

/** One line of a virtual port's capture log. */
struct CapturedSend
{
    double startMs, endMs;
    int bytes;
};
std::vector<CapturedSend> readCaptureLog(const juce::File& log);

/** Splits captured bytes into messages at F7. */
std::vector<std::vector<juce::uint8>> splitMessages(const juce::MemoryBlock& bytes);
} // namespace e2e
