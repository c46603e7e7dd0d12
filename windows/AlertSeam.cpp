#include "windows/AlertSeam.h"

namespace
{
AlertSeam::Handler& currentHandler()
{
    static AlertSeam::Handler handler;
    return handler;
}
} // namespace

void AlertSeam::showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                               const juce::String& message)
{
    if (auto& handler = currentHandler())
    {
        handler(icon, title, message);
        return;
    }
    juce::AlertWindow::showMessageBox(icon, title, message, {});
}

void AlertSeam::setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}
