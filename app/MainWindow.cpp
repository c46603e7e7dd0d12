#include "app/MainWindow.h"

#include "app/ContentComp.h"
#include "app/ImageTexts.h"
#include "upload/AutoUpdate.h"

MainWindow::MainWindow(const juce::String& commandLine)
    : SystemDocumentWindow("", juce::Colour(0xffeff2f3), juce::Colour(0xff3273a1),
                           juce::DocumentWindow::allButtons)
{
    content = new ContentComp(this, commandLine);
    setResizable(true, false);
    setContentOwned(content, false);
    setName(composeWindowTitle(content->getFirmwareImage()));
    setVisible(true);
}

MainWindow::~MainWindow()
{
    // The panel goes while this window is still whole: it resets the default
    // look and feel, which makes the window rebuild its title-bar buttons.
    clearContentComponent();
    content = nullptr;
}

void MainWindow::closeButtonPressed()
{
    auto* app = juce::JUCEApplication::getInstance();
    if (content != nullptr)
    {
        content->stopUpload(5000);
        // A program driving an automatic update must not read a cut-short
        // upload as a success.
        if (autoUpdate && !content->uploadFinished())
            app->setApplicationReturnValue(autoUpdateUnfinishedStatus);
    }
    app->systemRequestedQuit();
}
