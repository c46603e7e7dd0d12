#pragma once

#include "app/AlertSink.h"

/** The user's alerts: JUCE's modal message box. */
class ModalAlertSink : public AlertSink
{
public:
    void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                        const juce::String& message) override;
};
