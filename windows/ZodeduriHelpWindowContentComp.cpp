#include "windows/ZodeduriHelpWindowContentComp.h"

#include "windows/ProductHelpText.h"

ZodeduriHelpWindowContentComp::ZodeduriHelpWindowContentComp()
    : textEditor(std::make_unique<juce::TextEditor>(juce::String(), static_cast<juce::juce_wchar>(0)))
{
    addAndMakeVisible(*textEditor);
    textEditor->setMultiLine(true, true);
    textEditor->setReadOnly(true);
    // JUCE 7 lets a read-only editor take the focus; this one never should.
    textEditor->setWantsKeyboardFocus(false);
    textEditor->setText(productHelpText, true);
}

ZodeduriHelpWindowContentComp::~ZodeduriHelpWindowContentComp() = default;

void ZodeduriHelpWindowContentComp::resized()
{
    textEditor->setBounds(0, 0, getWidth(), getHeight());
}
