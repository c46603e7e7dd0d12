#include "app/UploadProgressBar.h"

juce::String progressBarText(double value)
{
    if (!(value >= 0.0 && value <= 1.0))
        return {};
    return juce::String(juce::roundToInt(value * 100.0)) + "%";
}

UploadProgressBar::UploadProgressBar(double& progressToShow)
    : juce::ProgressBar(progressToShow), progress(progressToShow),
      shownValue(juce::jlimit(0.0, 1.0, progressToShow))
{
}

void UploadProgressBar::refresh()
{
    const auto value = juce::jlimit(0.0, 1.0, progress);
    if (value == shownValue)
        return;
    shownValue = value;
    repaint();
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

void UploadProgressBar::paint(juce::Graphics& g)
{
    getLookAndFeel().drawProgressBar(g, *this, getWidth(), getHeight(), shownValue, getShownText());
}
