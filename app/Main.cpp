#include "app/CommandLine.h"
#include "app/MainWindow.h"

#include <memory>

class Application : public juce::JUCEApplication
{
public:
    void initialise(const juce::String&) override
    {
        // JUCE quotes arguments that hold blanks; the path must arrive as typed.
        mainWindow = std::make_unique<MainWindow>(joinArguments(getCommandLineParameterArray()));
        mainWindow->centreWithSize(650, 400);
        mainWindow->setVisible(true);
        mainWindow->setResizeLimits(650, 400, 650, 400);
    }

    void shutdown() override { mainWindow = nullptr; }

    const juce::String getApplicationName() override { return "Davirodir by Zevarir"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return false; }
    void anotherInstanceStarted(const juce::String&) override {}

private:
    std::unique_ptr<MainWindow> mainWindow;
};

START_JUCE_APPLICATION(Application)
