#include "app/ModalAlertSink.h"

void ModalAlertSink::showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                    const juce::String& message)
{
    juce::AlertWindow::showMessageBox(icon, title, message, {});
}
