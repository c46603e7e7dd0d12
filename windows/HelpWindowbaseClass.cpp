#include "windows/HelpWindowbaseClass.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : TitleColourWindow("Help", juce::Colour(0xffeff2f3), juce::Colour(0xff3273a1),
                        juce::DocumentWindow::allButtons, true)
{
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible(false);
}
