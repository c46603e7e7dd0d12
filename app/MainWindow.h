#pragma once

#include "windows/SystemDocumentWindow.h"

/** The updater's only main window, 650 x 400. */
class MainWindow : public SystemDocumentWindow
{
public:
    explicit MainWindow(const juce::String& commandLine);
    ~MainWindow() override;

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainWindow)
};
