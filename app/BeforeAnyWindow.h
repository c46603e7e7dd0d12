#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

/** What the updater answers on the terminal before JUCE starts, so that it
    needs no display: the first-argument switches, and a start without a
    display, which JUCE would otherwise end in a crash. */

/** A switch answered without a window. Read only as the first argument, so
    the command lines the window reads mean what they always meant. */
enum class FirstArgumentSwitch
{
    none,
    help,        ///< "--help": usage on stdout
    version,     ///< "--version": "Davirodir <version>" on stdout
    listOutputs, ///< "--list-outputs": "<id>\t<name>" per MIDI output
};

/** Which switch the first of the arguments after the program's path is; the
    whole argument must be the switch, in any letter case. */
FirstArgumentSwitch firstArgumentSwitch(const std::vector<std::string>& argumentsAfterProgram);

/** What "--help" prints. */
std::string usageText();

/** One line "<id>\t<name>" per output, ids counted from 1 as "--outputid"
    counts them. */
std::string outputListText(const juce::StringArray& outputNames);

/** Whether the window can open: on Linux, whether the X server that DISPLAY
    names takes a connection. Needs no part of JUCE started. */
bool graphicalDisplayAvailable();

/** What goes to stderr when there is no display. */
std::string noDisplayMessage();

/** Answers a first-argument switch, or a start without a display, on out and
    err and returns the exit status; returns nothing when the window should
    open. outputNames lists the MIDI outputs as the window would. */
std::optional<int> answerBeforeAnyWindow(const std::vector<std::string>& argumentsAfterProgram,
                                         const juce::String& version,
                                         const std::function<juce::StringArray()>& outputNames,
                                         std::ostream& out, std::ostream& err);
