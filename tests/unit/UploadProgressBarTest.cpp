#include "app/UploadProgressBar.h"
#include "LookAndFeelTestSupport.h"
#include "TestSupport.h"
#include "look/TemplateLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
TEST(UploadProgressBar, TextIsTheRoundedPercentageAndEmptyOutsideTheRange)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0%"},     {0.004, "0%"}, {0.006, "1%"}, {0.3, "30%"}, {0.994, "99%"},
        {0.996, "100%"}, {1.0, "100%"}, {-0.01, ""},   {1.01, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(progressBarText(c.value), c.text) << c.value;
}

// The same pixels as JUCE's own bar, which shows the value it is made with
// until its timer first runs.
TEST(UploadProgressBar, DrawsWhatJucesBarDrawsForTheSameValue)
{
    TemplateLookAndFeel look;
    for (double value : {0.0, 0.37, 0.5, 1.0})
    {
        double jucesValue = value, ourValue = value;
        juce::ProgressBar jucesBar(jucesValue);
        UploadProgressBar ourBar(ourValue);
        for (juce::Component* bar :
             {static_cast<juce::Component*>(&jucesBar), static_cast<juce::Component*>(&ourBar)})
        {
            bar->setLookAndFeel(&look);
            bar->setBounds(0, 0, 536, 30);
        }
        const auto expected = jucesBar.createComponentSnapshot(jucesBar.getLocalBounds());
        const auto actual = ourBar.createComponentSnapshot(ourBar.getLocalBounds());
        EXPECT_EQ(looktest::maxChannelDifference(expected, actual), 0) << value;
        EXPECT_EQ(ourBar.getShownText(), progressBarText(value));
        for (juce::Component* bar :
             {static_cast<juce::Component*>(&jucesBar), static_cast<juce::Component*>(&ourBar)})
            bar->setLookAndFeel(nullptr);
    }
}

class CountingBar : public UploadProgressBar
{
public:
    using UploadProgressBar::UploadProgressBar;
    int paints = 0;

protected:
    void paint(juce::Graphics& g) override
    {
        ++paints;
        UploadProgressBar::paint(g);
    }
};

// JUCE's bar repaints every 30 ms once full: a dozen paints in 400 ms. This
// one draws only for a new value; a window of another test running on the
// same display may still uncover it now and then, hence the small allowance.
TEST(UploadProgressBar, OnScreenItRepaintsOnlyForANewValue)
{
    TemplateLookAndFeel look;
    double value = 1.0;
    CountingBar bar(value);
    bar.setLookAndFeel(&look);
    // Low on the screen, where the other tests' centred windows do not reach.
    bar.setBounds(700, 960, 536, 30);
    bar.addToDesktop(0);
    bar.setVisible(true);
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return bar.paints > 0; })) << "never drawn";
    // The first exposures of a new window may each ask for a paint, late on a
    // busy machine: wait until 300 ms pass without one (a bar that never holds
    // still is caught below).
    testsupport::runMessageLoopUntil(
        [&]
        {
            const auto before = bar.paints;
            testsupport::runMessageLoopFor(300);
            return bar.paints == before;
        },
        5000);

    bar.paints = 0;
    testsupport::runMessageLoopFor(400);
    EXPECT_LE(bar.paints, 2) << "a full bar kept drawing";

    bar.paints = 0;
    bar.refresh();
    testsupport::runMessageLoopFor(400);
    EXPECT_LE(bar.paints, 2) << "drawn again for the same value";

    bar.paints = 0;

    value = 0.25;
    EXPECT_EQ(bar.getShownText(), "100%") << "the value is read only on refresh";
    bar.refresh();
    EXPECT_EQ(bar.getShownText(), "25%");
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return bar.paints > 0; }))
        << "a new value was not drawn";

    bar.removeFromDesktop();
    bar.setLookAndFeel(nullptr);
}
} // namespace
