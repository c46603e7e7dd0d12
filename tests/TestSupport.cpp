#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <linux/capability.h>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace testsupport
{
bool runMessageLoopUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(timeoutMs);
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() >= deadline)
            return condition();
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
    }
    return true;
}

void runMessageLoopFor(int ms)
{
    const auto deadline = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(ms);
    while (juce::Time::getMillisecondCounter() < deadline)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(5);
}

void AlertRecorder::showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                   const juce::String& message)
{
    alerts.push_back({icon, title, message});
}

void NoAlertsExpected::showMessageBox(juce::MessageBoxIconType, const juce::String& title,
                                      const juce::String& message)
{
    ADD_FAILURE() << "unexpected alert: \"" << title << "\" \"" << message << "\"";
}

TemporaryDirectory::TemporaryDirectory()
{
    // mkdtemp picks and creates the name in one step: tests run in parallel
    // processes, and a name merely checked to be free may be taken by another.
    auto pattern = juce::File::getSpecialLocation(juce::File::tempDirectory)
                       .getChildFile("davirodir-test-XXXXXX")
                       .getFullPathName()
                       .toStdString();
    if (mkdtemp(pattern.data()) != nullptr)
        dir = juce::File(pattern);
    else
        ADD_FAILURE() << "cannot create a temporary directory";
}

TemporaryDirectory::~TemporaryDirectory()
{
    if (dir != juce::File())
        dir.deleteRecursively();
}

juce::File TemporaryDirectory::writeFile(const juce::String& name,
                                         const std::vector<juce::uint8>& bytes) const
{
    const auto target = file(name);
    // replaceWithData deletes the file instead of writing no bytes.
    const bool written = bytes.empty() ? target.deleteFile() && target.create()
                                       : target.replaceWithData(bytes.data(), bytes.size());
    EXPECT_TRUE(written) << "cannot write " << target.getFullPathName();
    return target;
}

bool withoutReadOverride(const std::function<void()>& body)
{
    bool dropped = false;
    std::thread thread(
        [&]
        {
            // Capabilities belong to the thread, so the test's other threads keep theirs:
            // the effective set for this thread, the bounding set for what it starts.
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct data[2]{};
            if (syscall(SYS_capget, &header, data) != 0)
                return;
            for (auto cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
                data[0].effective &= ~(1u << cap);
            dropped = syscall(SYS_capset, &header, data) == 0 &&
                      prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0 &&
                      prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) == 0;
            if (dropped)
                body();
        });
    thread.join();
    return dropped;
}
} // namespace testsupport
