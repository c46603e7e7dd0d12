#include "windows/ProductHelpText.h"
#include "windows/ZodeduriHelpWindowClass.h"
#include "windows/ZodeduriHelpWindowContentComp.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
juce::StringArray helpLines()
{
    juce::StringArray lines;
    lines.addTokens(productHelpText, "\n", "");
    return lines;
}

TEST(ProductHelpText, HasItsTwentyTwoLinesWithTheirBlanks)
{
    EXPECT_TRUE(productHelpText.endsWithChar('\n'));
    EXPECT_FALSE(productHelpText.containsChar('\r'));
    auto lines = helpLines();
    ASSERT_EQ(lines.size(), 23); // the final line feed leaves an empty token
    EXPECT_EQ(lines[22], "");

    EXPECT_EQ(lines[0], "Zodeduri - Application software load procedure. ");
    EXPECT_EQ(lines[1], "The load procedure requires a PC or Mac with a standard MIDI Interface. ");
    for (int blankLine : {3, 5, 7})
        EXPECT_EQ(lines[blankLine - 1], " ") << "line " << blankLine;
    for (int emptyLine : {15, 17, 19, 21})
        EXPECT_EQ(lines[emptyLine - 1], "") << "line " << emptyLine;
    EXPECT_EQ(lines[5],
              "IMPORTANT: Before starting the load procedure, please quit any MIDI related application on "
              "your PC or Mac. ");
    EXPECT_EQ(lines[9], "    from the list of output devices in the software update utility.");
    EXPECT_EQ(lines[10], "3. Click the UPDATE button.");
    EXPECT_EQ(lines[12],
              "    disconnecting the power cable to the Zodeduri for 10 seconds, then connect it again. ");
    EXPECT_EQ(lines[13],
              "5. You have now successfully uploaded the new application software to your Zodeduri. ");
    EXPECT_EQ(lines[15], "TROUBLE SHOOTING:");
    EXPECT_TRUE(lines[21].contains("release notes"));
    EXPECT_TRUE(lines[21].contains(".example"));
}

TEST(HelpWindow, IsBuiltHiddenOnTheDesktopWithItsTitleAndText)
{
    ZodeduriHelpWindowClass window;
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.isOnDesktop());
    EXPECT_EQ(window.getName(), " Zodeduri update help ");
    EXPECT_EQ(window.getBackgroundColour(), juce::Colour(0xffeff2f3));
    EXPECT_EQ(window.getTitleBarColour(), juce::Colour(0xff3273a1));
    EXPECT_TRUE(window.isResizable());

    auto* content = dynamic_cast<ZodeduriHelpWindowContentComp*>(window.getContentComponent());
    ASSERT_NE(content, nullptr);
    auto& editor = content->getTextEditor();
    EXPECT_EQ(editor.getText(), productHelpText);
    EXPECT_TRUE(editor.isMultiLine());
    EXPECT_TRUE(editor.isReadOnly());
    EXPECT_FALSE(editor.getWantsKeyboardFocus());
}

TEST(HelpWindow, CloseHidesAndTheEditorFillsTheContent)
{
    ZodeduriHelpWindowClass window;
    window.centreWithSize(550, 400);
    window.setVisible(true);
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return window.isShowing(); }));
    window.closeButtonPressed();
    EXPECT_FALSE(window.isVisible());

    auto* content = window.getContentComponent();
    auto& editor = dynamic_cast<ZodeduriHelpWindowContentComp*>(content)->getTextEditor();
    EXPECT_EQ(editor.getBounds(), content->getLocalBounds());
    window.setSize(300, 400);
    EXPECT_EQ(editor.getBounds(), content->getLocalBounds());
    EXPECT_EQ(editor.getWidth(), content->getWidth());
}

TEST(HelpWindow, TypingChangesNothing)
{
    ZodeduriHelpWindowClass window;
    auto& editor =
        dynamic_cast<ZodeduriHelpWindowContentComp*>(window.getContentComponent())->getTextEditor();
    editor.keyPressed(juce::KeyPress('x', juce::ModifierKeys(), 'x'));
    editor.keyPressed(juce::KeyPress(juce::KeyPress::backspaceKey));
    EXPECT_EQ(editor.getText(), productHelpText);
}
} // namespace
