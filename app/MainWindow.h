#pragma once

#include "app/Services.h"
#include "look/TitleColourWindow.h"

class ContentComp;

/** The updater's only main window: 650 x 400 and centred, neither resized nor
    maximised, titled after the firmware image its panel holds. Closing it
    stops a running upload, then quits. */
class MainWindow : public TitleColourWindow
{
public:
    MainWindow(const juce::String& commandLine, const Services& services);
    ~MainWindow() override;

    void closeButtonPressed() override;
    void maximiseButtonPressed() override;

    ContentComp* getContent() const noexcept { return content; }

private:
    ContentComp* content = nullptr; // owned as the content component

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainWindow)
};
