#pragma once

#include <juce_core/juce_core.h>

#include <string>

/** What the updater's command line asks for. */
struct CommandLineOptions
{
    bool fileGiven = false; ///< "--file" stands as a whole word, in any case
    juce::String filePath;  ///< text after the first exact "--file", trimmed; may be empty
    bool autoUpdate = false;
    int nInputid = 1;  ///< at least 1
    int nOutputid = 1; ///< at least 1
};

/** Reads the switches from one command-line text:
    - "--file" and "--autoupdate" are found as whole words ignoring case: no
      letter or digit, in any script, right before or after;
    - the path is everything after the first exact-case "--file", trimmed,
      quotes kept, so "--file" must come last;
    - "--inputid " and "--outputid " (with their blank) are read only with
      --autoupdate; their value is the number at the start of what follows,
      and anything below 1 (absent, 0, negative, no digits) becomes 1; a
      value too large for an int is no port's id and becomes the largest
      int. These two switches are exact-case.
    Bytes that are not well-formed UTF-8 are read as U+FFFD. */
CommandLineOptions interpretCommandLine(const juce::String& commandLine);

/** Joins the arguments after the program's own path with single blanks and no
    quoting, so that a path with blanks typed quoted in a shell arrives as is. */
juce::String joinArguments(const juce::StringArray& argumentsAfterProgram);

/** The bytes with every one that is not part of a well-formed UTF-8 sequence
    replaced by U+FFFD. The operating system hands over arguments in whatever
    encoding the file names have, and JUCE's strings step over a malformed
    sequence by its lead byte alone, past the end of the text: arguments pass
    through here before JUCE sees them. */
std::string toValidUtf8(const char* bytes);
