#include "app/CommandLine.h"
#include "app/MainWindow.h"

#include <memory>
#include <string>
#include <vector>

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

namespace
{
juce::JUCEApplicationBase* createApplication()
{
    return new Application();
}
} // namespace

int main(int argc, char* argv[])
{
    // JUCE reads the arguments as UTF-8 and would run past the end of one
    // that is not; they are made valid before it sees them.
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(toValidUtf8(argv[i]));
    std::vector<const char*> validArgv;
    for (const auto& argument : arguments)
        validArgv.push_back(argument.c_str());
    validArgv.push_back(nullptr);

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main(argc, validArgv.data());
}
