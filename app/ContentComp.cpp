#include "app/ContentComp.h"

#include "app/AlertSink.h"
#include "app/CommandLine.h"
#include "app/ExitPolicy.h"
#include "app/ImageTexts.h"
#include "app/PanelLayout.h"
#include "app/ProgressLines.h"
#include "device/MidiInterfaceClass.h"
#include "upload/AutoUpdate.h"
#include "upload/BasicSysexProtocolClass.h"
#include "upload/SysexFraming.h"

#include "windows/ZodeduriHelpWindowClass.h"
#include <iostream>

namespace
{
const juce::String progressCaption = "Update progress:";
}

ContentComp::ContentComp(juce::Component* mainWindow, const juce::String& commandLine,
                         const Services& servicesToUse)
    : services(servicesToUse)
{
    juce::ignoreUnused(mainWindow);
    juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);

    helpWindow = std::make_unique<ZodeduriHelpWindowClass>();
    interface = std::make_unique<MidiInterfaceClass>(true, false, services.ports);
    firmware = std::make_unique<FirmwareImage>();
    firmware->setName("Zodeduri");
    createProtocol();

    const auto options = interpretCommandLine(commandLine);
    autoUpdate = options.autoUpdate;
    const bool loadedFromFile = options.fileGiven && loadFirmwareFile(options.filePath);
    if (options.autoUpdate)
    {
        const auto size = static_cast<std::uint32_t>(firmware->getSize());
        progressLines = std::make_unique<ProgressLines>(
            std::cout, size, countMessages(firmware->getData(), static_cast<std::size_t>(size)));
    }

    addAndMakeVisible(*interface);
    protocol->addChangeListener(this);
    interface->addChangeListener(this);

    versionLabel =
        std::make_unique<juce::Label>(juce::String(), composeVersionText(*firmware, loadedFromFile));
    addAndMakeVisible(*versionLabel);
    step1Label = std::make_unique<juce::Label>(juce::String(), "STEP1");
    addAndMakeVisible(*step1Label);
    step2Label = std::make_unique<juce::Label>(juce::String(), "STEP2");
    addAndMakeVisible(*step2Label);

    updateButton = std::make_unique<juce::TextButton>("update", "click here to update the product");
    addAndMakeVisible(*updateButton);
    updateButton->addListener(this);
    updateButton->setConnectedEdges(juce::Button::ConnectedOnLeft);
    showConnectionLook(interface->isConnected());

    progress = 0.0;
    progressBar = std::make_unique<UploadProgressBar>(progress);
    addAndMakeVisible(*progressBar);
    progressLabel = std::make_unique<juce::Label>(juce::String(), progressCaption);
    progressLabel->attachToComponent(progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton>("Help", "click here to get help");
    addAndMakeVisible(*helpButton);
    helpButton->addListener(this);

    if (options.autoUpdate)
    {
        interface->selectInputById(options.nInputid);
        interface->selectOutputById(options.nOutputid);
        buttonClicked(updateButton.get());
    }
}

ContentComp::~ContentComp()
{
    // The upload thread sends through the interface and reads the image: it
    // ends before either goes.
    stopUpload(-1);
    protocol->removeChangeListener(this);
    interface->removeChangeListener(this);

    progressLabel = nullptr;
    progressBar = nullptr;
    helpButton = nullptr;
    updateButton = nullptr;
    step2Label = nullptr;
    step1Label = nullptr;
    versionLabel = nullptr;
    interface = nullptr;

    protocol = nullptr;
    firmware = nullptr;
    helpWindow = nullptr;

    // Nothing may draw through the look and feel once it is gone.
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
}

bool ContentComp::stopUpload(int timeoutMs)
{
    if (!protocol->isThreadRunning())
        return true;
    protocol->signalThreadShouldExit();
    interface->closePorts();
    return protocol->waitForThreadToExit(timeoutMs);
}

bool ContentComp::uploadFinished() const
{
    return protocol->getUploadProgress() == 1.0 || protocol->lastRunFoundDamagedImage() ||
           protocol->lastRunFailedToSend();
}

void ContentComp::quitAfterClose()
{
    quitWith(exitStatusFor(autoUpdate, protocol->getLastOutcome(), !uploadFinished()));
}

void ContentComp::quitWith(int exitStatus)
{
    if (progressLines != nullptr)
        progressLines->ended(exitStatusWord(exitStatus), exitStatus);
    services.quit(exitStatus);
}

bool ContentComp::loadFirmwareFile(const juce::String& path)
{
    auto image = std::make_unique<FirmwareImage>(path);
    if (const auto& problem = image->getProblem())
        services.alerts.showMessageBox(juce::MessageBoxIconType::NoIcon, problem->title, problem->message);
    if (image->getData() == nullptr)
        return false;

    protocol = nullptr;
    firmware = std::move(image);
    createProtocol();
    return true;
}

void ContentComp::createProtocol()
{
    // The reports come on the upload thread; the quit they ask for is posted.
    BasicSysexProtocolClass::Reports reports;
    reports.automaticEnd = [this](BasicSysexProtocolClass::Outcome outcome)
    { quitWith(exitStatusFor(true, outcome, false)); };
    reports.sendingStarts = [this]
    {
        if (progressLines != nullptr)
            progressLines->started();
    };
    reports.messageSent = [this](std::uint32_t bytesSent, int messagesSent)
    {
        if (progressLines != nullptr)
            progressLines->messageSent(bytesSent, messagesSent);
    };
    protocol = std::make_unique<BasicSysexProtocolClass>(interface.get(), firmware.get(), services.clock,
                                                         std::move(reports));
}

void ContentComp::resized()
{
    const auto layout = computePanelLayout(getWidth(), interface->getPreferredHeight());
    versionLabel->setBounds(layout.versionLabel);
    helpButton->setBounds(layout.helpButton);
    step1Label->setBounds(layout.step1Label);
    interface->setBounds(layout.interface);
    step2Label->setBounds(layout.step2Label);
    updateButton->setBounds(layout.updateButton);
    progressBar->setBounds(layout.progressBar);
    helpWindow->centreWithSize(550, 400);
}

void ContentComp::showConnectionLook(bool connected)
{
    const auto colour = (connected ? juce::Colours::green : juce::Colours::red).brighter(0.99f);
    updateButton->setColour(juce::TextButton::buttonColourId, colour);
    updateButton->setColour(juce::TextButton::buttonOnColourId, colour);
    updateButton->setEnabled(connected);
}

void ContentComp::buttonClicked(juce::Button* button)
{
    if (button == updateButton.get())
    {
        if (interface->isConnected())
        {
            progress = 0.0;
            progressBar->refresh();
            protocol->startUpload();
            updateButton->setEnabled(false);
        }
        else
        {
            services.alerts.showMessageBox(juce::MessageBoxIconType::WarningIcon, "",
                                           "Please select an output device:");
        }
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible(!helpWindow->isVisible());
        helpWindow->centreWithSize(550, 400);
    }
}

void ContentComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == interface.get())
    {
        const bool sending = progress != 0.0 && progress != 1.0;
        interface->setEnabled(!(sending && interface->isEnabled()));
        showConnectionLook(interface->isConnected());
        // Mid-upload a port change alters the look only: a second press waits
        // for the full bar.
        if (sending)
            updateButton->setEnabled(false);
    }
    else if (source == protocol.get())
    {
        progress = protocol->getProgress();
        progressBar->refresh();
        if (progress == 1.0)
        {
            updateButton->setEnabled(true);
            interface->setEnabled(true);
        }
        if (protocol->lastRunFoundDamagedImage() || protocol->lastRunFailedToSend())
        {
            // The run is over: the controls come back as they were before the press.
            interface->setEnabled(true);
            showConnectionLook(interface->isConnected());
        }
        const auto caption = progressCaption + " " + protocol->getStatusText();
        if (progressLabel->getText() != caption)
            progressLabel->setText(caption, juce::dontSendNotification);
    }
    else
    {
        repaint();
    }
    // The controls changed above repaint themselves. The whole panel used to be
    // repainted on every notice: about a hundred full redraws an upload, each
    // holding up the upload thread's next lock of the message thread.
}
