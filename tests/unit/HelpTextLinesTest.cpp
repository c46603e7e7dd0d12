#include "windows/ZodeduriHelpWindowClass.h"
#include "windows/ZodeduriHelpWindowContentComp.h"

#include <gtest/gtest.h>

namespace
{
// Typed out here line by line, apart from the code's constant, so that a
// changed character in either shows. Trailing and leading blanks count.
const char* const expectedHelpLines[] = {
    "Zodeduri - Application software load procedure. ",
    "The load procedure requires a PC or Mac with a standard MIDI Interface. ",
    " ",
    "Your existing user presets should not be affected by the update, but we suggest that you make a safety "
    "backup as described in the user manual.",
    " ",
    "IMPORTANT: Before starting the load procedure, please quit any MIDI related application on your PC or "
    "Mac. ",
    " ",
    "1. Connect the PC or Mac MIDI-Out to the Zodeduri MIDI-In socket.",
    "2. Select the midi interface, to which the Zodeduri is connected,",
    "    from the list of output devices in the software update utility.",
    "3. Click the UPDATE button.",
    "4. IMPORTANT: After the upload has finished, you must reboot Zodeduri by",
    "    disconnecting the power cable to the Zodeduri for 10 seconds, then connect it again. ",
    "5. You have now successfully uploaded the new application software to your Zodeduri. ",
    "",
    "TROUBLE SHOOTING:",
    "",
    "- After otherwise successful load, the Zodeduri does not reboot: Turn the power off and retry load "
    "procedure.",
    "",
    "In case of persistent errors, disconnect the power cable to the Zodeduri for 10 seconds, then connect "
    "it "
    "again and retry the load procedure.",
    "",
    "The release notes of this firmware are on the Zevarir web site at https://www.zevarir.example/zodeduri",
};

TEST(HelpWindow, ShowsEveryLineOfTheHelpAsWritten)
{
    ZodeduriHelpWindowClass window;
    auto* content = dynamic_cast<ZodeduriHelpWindowContentComp*>(window.getContentComponent());
    ASSERT_NE(content, nullptr);
    const auto shown = content->getTextEditor().getText();

    juce::String expected;
    for (const auto* line : expectedHelpLines)
        expected << line << "\n";

    juce::StringArray shownLines, expectedLines;
    shownLines.addTokens(shown, "\n", "");
    expectedLines.addTokens(expected, "\n", "");
    ASSERT_EQ(shownLines.size(), expectedLines.size());
    for (int i = 0; i < expectedLines.size(); ++i)
        EXPECT_EQ(shownLines[i], expectedLines[i]) << "line " << i + 1;
    EXPECT_EQ(shown, expected) << "line feeds only, one after every line";
}
} // namespace
