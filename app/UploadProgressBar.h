#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The text the panel's bar shows for a value: the rounded percentage ("0%"
    to "100%", rounded as JUCE's own bar rounds), or an empty text for a value
    outside 0 to 1. */
juce::String progressBarText(double value);

/** The panel's progress bar. It is JUCE's bar, drawn by the same look-and-feel
    hook with the same value and text, but it only repaints when told that the
    value may have changed, and only if what it shows differs. JUCE's own bar
    polls its value every 30 ms, and repaints on every tick once the value is
    1.0, so an idle window kept drawing after each update. */
class UploadProgressBar : public juce::ProgressBar
{
public:
    /** Shows the value it refers to, which must outlive the bar. */
    explicit UploadProgressBar(double& progressToShow);

    /** Reads the value again and repaints if it changed. Message thread only. */
    void refresh();

    /** What is drawn now: the value (clamped to 0 to 1) and its text. */
    double getShownProgress() const noexcept { return shownValue; }
    juce::String getShownText() const { return progressBarText(shownValue); }

protected:
    void paint(juce::Graphics& g) override;
    // JUCE's bar starts its polling timer here; this one needs none.
    void visibilityChanged() override {}

private:
    const double& progress;
    double shownValue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(UploadProgressBar)
};
