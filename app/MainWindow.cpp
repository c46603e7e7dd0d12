#include "app/MainWindow.h"

MainWindow::MainWindow(const juce::String& commandLine)
    : SystemDocumentWindow("", juce::Colour(0xffeff2f3), juce::Colour(0xff3273a1),
                           juce::DocumentWindow::allButtons)
{
    juce::ignoreUnused(commandLine);
    setResizable(true, false);
    setName("Zodeduri version 1.2 - R675");
    setVisible(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
