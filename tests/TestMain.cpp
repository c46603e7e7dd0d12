#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
juce::JUCEApplicationBase* noApplication()
{
    return nullptr;
}
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Sets JUCE up as it is in the app: X11 with thread support and its own
    // error handlers, which a window manager-less Xvfb needs.
    juce::JUCEApplicationBase::createInstance = &noApplication;
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
