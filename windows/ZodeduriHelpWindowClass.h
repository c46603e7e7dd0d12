#pragma once

#include "windows/HelpWindowbaseClass.h"

/** The Zodeduri's help window: the load procedure, read-only, resizable by its
    borders. It never sizes or shows itself; the main panel does. */
class ZodeduriHelpWindowClass : public HelpWindowbaseClass
{
public:
    ZodeduriHelpWindowClass();
    ~ZodeduriHelpWindowClass() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZodeduriHelpWindowClass)
};
