#pragma once

#include "app/Services.h"
#include "app/UploadProgressBar.h"
#include "firmware/FirmwareImage.h"
#include "look/TemplateLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class BasicSysexProtocolClass;
class InterfaceBaseClass;
class ProgressLines;
class ZodeduriHelpWindowClass;

/** The main window's content and the owner of everything an update needs: the
    look and feel, the help window, the device interface, the firmware image
    and the upload protocol. Reads the command line while it is built; with
    --autoupdate it selects the devices, presses "update" itself, prints the
    progress lines on standard output and asks for the quit when the upload
    has ended. */
class ContentComp : public juce::Component, public juce::Button::Listener, public juce::ChangeListener
{
public:
    ContentComp(juce::Component* mainWindow, const juce::String& commandLine, const Services& services);
    ~ContentComp() override;

    void resized() override;
    void buttonClicked(juce::Button* button) override;
    void buttonStateChanged(juce::Button*) override {}
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    const FirmwareImage& getFirmwareImage() const { return *firmware; }
    BasicSysexProtocolClass* getProtocol() const noexcept { return protocol.get(); }

    /** Asks a running upload to stop, cuts a stalled send short and waits up
        to timeoutMs (-1: until it has ended) for the upload thread. Returns
        whether no upload thread runs any more. */
    bool stopUpload(int timeoutMs);

    /** True once the last upload has sent the whole image, refused a damaged
        one or stopped on a failed send (each ends an automatic update with a
        status of its own). */
    bool uploadFinished() const;

    /** Asks the application to quit, once the user has closed the window and
        the upload has been stopped, with the status for how far it got. */
    void quitAfterClose();

    // For tests and the window: the panel's controls.
    InterfaceBaseClass& getInterface() const noexcept { return *interface; }
    juce::TextButton& getUpdateButton() const noexcept { return *updateButton; }
    juce::TextButton& getHelpButton() const noexcept { return *helpButton; }
    juce::Label& getProgressLabel() const noexcept { return *progressLabel; }
    juce::Label& getVersionLabel() const noexcept { return *versionLabel; }
    UploadProgressBar& getProgressBar() const noexcept { return *progressBar; }
    ZodeduriHelpWindowClass& getHelpWindow() const noexcept { return *helpWindow; }
    double getProgress() const noexcept { return progress; }

private:
    bool loadFirmwareFile(const juce::String& path);
    void createProtocol();
    void showConnectionLook(bool connected);
    /** Ends the progress lines, if any, and asks for the quit. Any thread. */
    void quitWith(int exitStatus);

    const Services services;
    TemplateLookAndFeel lookAndFeel;
    juce::TooltipWindow tooltipWindow{nullptr, 700};

    std::unique_ptr<ZodeduriHelpWindowClass> helpWindow;
    std::unique_ptr<InterfaceBaseClass> interface;
    std::unique_ptr<FirmwareImage> firmware;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    // Made before the first upload starts, gone after the last has ended.
    std::unique_ptr<ProgressLines> progressLines;

    std::unique_ptr<juce::Label> versionLabel, step1Label, step2Label, progressLabel;
    std::unique_ptr<juce::TextButton> updateButton, helpButton;
    double progress = 0.0;
    std::unique_ptr<UploadProgressBar> progressBar;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ContentComp)
};
