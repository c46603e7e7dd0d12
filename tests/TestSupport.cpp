#include "TestSupport.h"

#include "windows/AlertSeam.h"

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

AlertRecorder::AlertRecorder()
{
    AlertSeam::setHandler(
        [this](juce::MessageBoxIconType icon, const juce::String& title, const juce::String& message) {
            alerts.push_back({icon, title, message});
        });
}

AlertRecorder::~AlertRecorder()
{
    AlertSeam::setHandler({});
}

TemporaryDirectory::TemporaryDirectory()
    : dir(juce::File::getSpecialLocation(juce::File::tempDirectory)
              .getNonexistentChildFile("davirodir-test", "", false))
{
    dir.createDirectory();
}

TemporaryDirectory::~TemporaryDirectory()
{
    dir.deleteRecursively();
}
} // namespace testsupport
