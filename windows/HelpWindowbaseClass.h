#pragma once

#include "look/TitleColourWindow.h"

/** What every product help window shares: named "Help", the system's two
    window colours, all three title-bar buttons, placed on the desktop but not
    shown. Closing it hides it; its creator deletes it. */
class HelpWindowbaseClass : public TitleColourWindow
{
public:
    HelpWindowbaseClass();
    ~HelpWindowbaseClass() override;

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(HelpWindowbaseClass)
};
