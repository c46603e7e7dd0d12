#include "windows/SystemDocumentWindow.h"

SystemDocumentWindow::SystemDocumentWindow(const juce::String& name, juce::Colour backgroundColour,
                                           juce::Colour titleBarColourToUse, int buttonsToShow,
                                           bool addToDesktop)
    : juce::DocumentWindow(name, backgroundColour, buttonsToShow, addToDesktop),
      titleBarColour(titleBarColourToUse)
{
}

SystemDocumentWindow::~SystemDocumentWindow() = default;
