#include "app/BeforeAnyWindow.h"
#include "app/CommandLine.h"
#include "app/ExitPolicy.h"
#include "app/MainWindow.h"
#include "app/ModalAlertSink.h"
#include "app/WineRepaintPump.h"
#include "device/MidiPortLayer.h"
#include "upload/RealUploadClock.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

class Application : public juce::JUCEApplication
{
public:
    void initialise(const juce::String&) override
    {
        // The user asks for virtual ports through the environment, read here only.
        ports = MidiPortLayer::createFromEnvironment();
        // JUCE quotes arguments that hold blanks; the path must arrive as typed.
        mainWindow = std::make_unique<MainWindow>(joinArguments(getCommandLineParameterArray()),
                                                  Services{*ports, clock, alerts, quitApplication});
    }

    void shutdown() override { mainWindow = nullptr; }

    const juce::String getApplicationName() override { return "Davirodir by Zevarir"; }
    const juce::String getApplicationVersion() override { return JUCE_APPLICATION_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override { return false; }
    void anotherInstanceStarted(const juce::String&) override {}

private:
    // The window goes first: it uses all three.
    std::unique_ptr<MidiPortLayer> ports;
    RealUploadClock clock;
    ModalAlertSink alerts;
    WineRepaintPump repaintPump;
    std::unique_ptr<MainWindow> mainWindow;
};

namespace
{
juce::JUCEApplicationBase* createApplication()
{
    return new Application();
}
} // namespace

#if JUCE_WINDOWS
// A Windows GUI build starts here; JUCE reads the UTF-16 command line itself.
extern "C" int __stdcall WinMain(struct HINSTANCE__*, struct HINSTANCE__*, char*, int);
extern "C" int __stdcall WinMain(struct HINSTANCE__*, struct HINSTANCE__*, char*, int)
{
    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main();
}
#else
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

    // Before JUCE starts: these need no display, and without one JUCE crashes.
    const auto listOutputs = [] { return MidiPortLayer::createFromEnvironment()->getOutputNames(); };
    if (const auto status =
            answerBeforeAnyWindow({arguments.begin() + (argc > 0 ? 1 : 0), arguments.end()},
                                  JUCE_APPLICATION_VERSION_STRING, listOutputs, std::cout, std::cerr))
        return *status;

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main(argc, validArgv.data());
}
#endif
