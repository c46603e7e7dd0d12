#include "e2e/AppProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace e2e
{
AppProcess::AppProcess(const std::vector<std::string>& arguments,
                       const std::map<std::string, std::string>& environment)
{
    std::map<std::string, std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
    {
        const std::string entry(*e);
        const auto eq = entry.find('=');
        if (eq != std::string::npos)
            env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [key, value] : environment)
        env[key] = value;

    std::vector<std::string> envStrings;
    for (const auto& [key, value] : env)
        envStrings.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{appPath()};
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : argStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    pid_t child = -1;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0)
        pid = child;
}

AppProcess::~AppProcess()
{
    kill();
}

bool AppProcess::waitForExit(int timeoutMs)
{
    return waitUntil([this] { return !isRunning(); }, timeoutMs);
}

bool AppProcess::isRunning()
{
    if (pid <= 0 || ended)
        return false;
    int raw = 0;
    const auto r = waitpid(pid, &raw, WNOHANG);
    if (r == 0)
        return true;
    ended = true;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
    return false;
}

void AppProcess::kill()
{
    if (isRunning())
    {
        ::kill(pid, SIGKILL);
        waitForExit(5000);
    }
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(timeoutMs);
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() >= deadline)
            return condition();
        juce::Thread::sleep(20);
    }
    return true;
}

int instanceLockHolder()
{
    for (const auto& lock :
         juce::File("/var/tmp").findChildFiles(juce::File::findFiles, false, "juceAppLock_Davirodir*"))
    {
        const int fd = ::open(lock.getFullPathName().toRawUTF8(), O_RDONLY);
        if (fd < 0)
            continue;
        struct flock query
        {
        };
        query.l_type = F_WRLCK;
        query.l_whence = SEEK_SET;
        const bool asked = ::fcntl(fd, F_GETLK, &query) == 0;
        ::close(fd);
        if (asked && query.l_type != F_UNLCK)
            return query.l_pid;
    }
    return 0;
}

std::string appPath()
{
    return DAVIRODIR_APP_PATH;
}

juce::String runCommand(const juce::String& commandLine, int* exitCode)
{
    juce::String output;
    if (auto* pipe = popen(commandLine.toRawUTF8(), "r"))
    {
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
            output += juce::String::fromUTF8(buffer, static_cast<int>(n));
        const auto raw = pclose(pipe);
        if (exitCode != nullptr)
            *exitCode = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return output;
}

juce::StringArray visibleWindowsOf(int pid)
{
    juce::StringArray ids;
    ids.addTokens(runCommand("xdotool search --onlyvisible --pid " + juce::String(pid) + " 2>/dev/null"),
                  "\n", "");
    ids.removeEmptyStrings();
    return ids;
}

std::vector<CapturedSend> readCaptureLog(const juce::File& log)
{
    std::vector<CapturedSend> sends;
    juce::StringArray lines;
    lines.addLines(log.loadFileAsString());
    for (const auto& line : lines)
    {
        juce::StringArray fields;
        fields.addTokens(line, "\t", "");
        if (fields.size() == 3)
            sends.push_back(
                {fields[0].getDoubleValue(), fields[1].getDoubleValue(), fields[2].getIntValue()});
    }
    return sends;
}

std::vector<std::vector<juce::uint8>> splitMessages(const juce::MemoryBlock& bytes)
{
    std::vector<std::vector<juce::uint8>> messages;
    std::vector<juce::uint8> current;
    for (size_t i = 0; i < bytes.getSize(); ++i)
    {
        current.push_back(static_cast<juce::uint8>(bytes[i]));
        if (static_cast<juce::uint8>(bytes[i]) == 0xF7)
        {
            messages.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        messages.push_back(current);
    return messages;
}
} // namespace e2e
