#include "TestSupport.h"

#include "windows/AlertSeam.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

void failOnAlerts()
{
    AlertSeam::setHandler(
        [](juce::MessageBoxIconType, const juce::String& title, const juce::String& message)
        { ADD_FAILURE() << "unexpected alert: \"" << title << "\" \"" << message << "\""; });
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
    failOnAlerts();
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
} // namespace testsupport
