#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The help window's content: one read-only, word-wrapped editor holding the
    product's help text and filling the whole component. */
class ZodeduriHelpWindowContentComp : public juce::Component
{
public:
    ZodeduriHelpWindowContentComp();
    ~ZodeduriHelpWindowContentComp() override;

    void resized() override;

    juce::TextEditor& getTextEditor() noexcept { return *textEditor; }

private:
    juce::TooltipWindow tooltipWindow{nullptr, 700};
    std::unique_ptr<juce::TextEditor> textEditor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZodeduriHelpWindowContentComp)
};
