#include "look/TitleColourWindow.h"

TitleColourWindow::TitleColourWindow(const juce::String& name, juce::Colour backgroundColour,
                                     juce::Colour titleBarColourToUse, int buttonsToShow, bool addToDesktop)
    : juce::DocumentWindow(name, backgroundColour, buttonsToShow, addToDesktop),
      titleBarColour(titleBarColourToUse)
{
}

TitleColourWindow::~TitleColourWindow() = default;
