#include "app/MainWindow.h"

#include "app/AppIcon.h"
#include "app/ContentComp.h"
#include "app/ImageTexts.h"

MainWindow::MainWindow(const juce::String& commandLine, const Services& services)
    : TitleColourWindow("", juce::Colour(0xffeff2f3), juce::Colour(0xff3273a1),
                        juce::DocumentWindow::allButtons)
{
    content = new ContentComp(this, commandLine, services);
    setResizable(true, false);
    setContentOwned(content, false);
    setName(composeWindowTitle(content->getFirmwareImage()));
    centreWithSize(650, 400);
    setResizeLimits(650, 400, 650, 400);
    setVisible(true);
    // For the task bar and the window switcher; the title bar draws no icon.
    if (auto* peer = getPeer())
        peer->setIcon(appIcon());
}

MainWindow::~MainWindow()
{
    // The panel goes while this window is still whole: it resets the default
    // look and feel, which makes the window rebuild its title-bar buttons.
    clearContentComponent();
    content = nullptr;
}

void MainWindow::maximiseButtonPressed()
{
    // JUCE's full screen ignores the resize limits; the window keeps its one
    // size and the button stays as drawn.
}

void MainWindow::closeButtonPressed()
{
    // A thread that does not stop in time must not keep the program open.
    content->stopUpload(5000);
    content->quitAfterClose();
}
