#include "app/BeforeAnyWindow.h"

#include "app/ExitPolicy.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#if JUCE_LINUX || JUCE_BSD
#include <dlfcn.h>
#endif

FirstArgumentSwitch firstArgumentSwitch(const std::vector<std::string>& argumentsAfterProgram)
{
    if (argumentsAfterProgram.empty())
        return FirstArgumentSwitch::none;
    const auto first = juce::String::fromUTF8(argumentsAfterProgram.front().c_str());
    if (first.equalsIgnoreCase("--help"))
        return FirstArgumentSwitch::help;
    if (first.equalsIgnoreCase("--version"))
        return FirstArgumentSwitch::version;
    if (first.equalsIgnoreCase("--list-outputs"))
        return FirstArgumentSwitch::listOutputs;
    return FirstArgumentSwitch::none;
}

std::string usageText()
{
    return "Usage: Davirodir [--autoupdate [--outputid <n>] [--inputid <n>]] [--file <path>]\n"
           "       Davirodir --help | --version | --list-outputs\n"
           "\n"
           "Loads new firmware into the Zodeduri over MIDI, in a window.\n"
           "\n"
           "  --file <path>    send this SysEx file instead of the built-in image; the rest\n"
           "                   of the line is the path, so it comes last\n"
           "  --autoupdate     select the output, update without a click, then quit\n"
           "  --outputid <n>   with --autoupdate: the output, as --list-outputs numbers\n"
           "                   them (default 1)\n"
           "  --inputid <n>    with --autoupdate: the input (accepted, never opened)\n"
           "  --help           show this text\n"
           "  --version        show the version\n"
           "  --list-outputs   list the MIDI outputs, one \"<id><tab><name>\" line each\n"
           "\n"
           "The last three are read only as the first argument and need no display.\n"
           "Without a display, run an update under a virtual X server:\n"
           "  xvfb-run -a Davirodir --autoupdate --outputid <n>\n"
           "\n"
           "Exit status: 0 sent (or window closed), 1 damaged image, 2 window closed\n"
           "early, 3 a send failed, 4 no graphical display. See Davirodir(1).\n";
}

std::string outputListText(const juce::StringArray& outputNames)
{
    std::string text;
    for (int i = 0; i < outputNames.size(); ++i)
        text += std::to_string(i + 1) + "\t" + outputNames[i].toStdString() + "\n";
    return text;
}

bool graphicalDisplayAvailable()
{
#if JUCE_LINUX || JUCE_BSD
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return false;
    // The library JUCE opens at run time; the program links no X itself.
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (x11 == nullptr)
        return false;
    using OpenDisplay = void* (*)(const char*);
    const auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(x11, "XOpenDisplay"));
    if (openDisplay == nullptr)
        return false;
    // An X server with no client left resets itself and refuses connections
    // for a moment, as Xvfb does between two runs: a few tries ride that out.
    // The connection stays open: closing it could make the server reset just
    // as JUCE connects.
    for (int attempt = 0; attempt < 5; ++attempt)
    {
        if (openDisplay(nullptr) != nullptr)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
#else
    return true;
#endif
}

std::string noDisplayMessage()
{
    return "Davirodir: no graphical display (DISPLAY is unset or its X server cannot be reached).\n"
           "The updater works in a window and needs one. For an unattended update on a machine\n"
           "without a display, run it under a virtual X server (package xvfb):\n"
           "  xvfb-run -a Davirodir --autoupdate --outputid <n> [--file <path>]\n"
           "Davirodir --list-outputs shows the ids; it needs no display.\n";
}

std::optional<int> answerBeforeAnyWindow(const std::vector<std::string>& argumentsAfterProgram,
                                         const juce::String& version,
                                         const std::function<juce::StringArray()>& outputNames,
                                         std::ostream& out, std::ostream& err)
{
    switch (firstArgumentSwitch(argumentsAfterProgram))
    {
    case FirstArgumentSwitch::help:
        out << usageText() << std::flush;
        return 0;
    case FirstArgumentSwitch::version:
        out << "Davirodir " << version.toStdString() << "\n" << std::flush;
        return 0;
    case FirstArgumentSwitch::listOutputs:
        out << outputListText(outputNames()) << std::flush;
        return 0;
    case FirstArgumentSwitch::none:
        break;
    }
    if (!graphicalDisplayAvailable())
    {
        err << noDisplayMessage() << std::flush;
        return exitstatus::noDisplay;
    }
    return std::nullopt;
}
