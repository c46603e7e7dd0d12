#include "app/ImageTexts.h"
#include "app/PanelLayout.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
TEST(ImageTexts, BuiltInImageShowsVersionAndRevision)
{
    FirmwareImage image;
    EXPECT_EQ(composeWindowTitle(image), "Zodeduri version 1.2 - R675");
    EXPECT_EQ(composeVersionText(image, false),
              "This software updater will update your Zodeduri firmware to version 1.2 - R675");
}

TEST(ImageTexts, FileImageHasNoRevisionAndVersionZero)
{
    testsupport::TemporaryDirectory dir;
    FirmwareImage image(dir.writeFile("update.syx", {0xF0, 0x01, 0xF7}).getFullPathName());
    EXPECT_EQ(composeWindowTitle(image), "update version 0.0");
    EXPECT_EQ(composeVersionText(image, false),
              "This software updater will update your update firmware to version 0.0");
    EXPECT_EQ(composeVersionText(image, true),
              "This software updater will update your update firmware from the loaded sysex file");
}

TEST(PanelLayout, FollowsTheFixedNumbers)
{
    const auto l = computePanelLayout(650, 50);
    EXPECT_EQ(l.versionLabel, juce::Rectangle<int>(10, 15, 630, 50));
    EXPECT_EQ(l.helpButton, juce::Rectangle<int>(546, 2, 94, 30));
    EXPECT_EQ(l.step1Label, juce::Rectangle<int>(10, 70, 630, 30));
    EXPECT_EQ(l.interface, juce::Rectangle<int>(10, 105, 630, 50));
    EXPECT_EQ(l.step2Label, juce::Rectangle<int>(10, 165, 630, 30));
    EXPECT_EQ(l.updateButton, juce::Rectangle<int>(546, 215, 94, 30));
    EXPECT_EQ(l.progressBar, juce::Rectangle<int>(10, 215, 536, 30));

    // A taller interface pushes everything below it down.
    const auto tall = computePanelLayout(400, 100);
    EXPECT_EQ(tall.step2Label.getY(), 215);
    EXPECT_EQ(tall.progressBar, juce::Rectangle<int>(10, 265, 286, 30));
    EXPECT_EQ(tall.progressBar.getRight(), tall.updateButton.getX());
}
} // namespace
