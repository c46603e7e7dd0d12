#pragma once

#include "device/InterfaceBaseClass.h"
#include "firmware/FirmwareImage.h"
#include "upload/ProgressClass.h"

/** An upload protocol: a thread named "Protocol Thread" that sends one
    firmware image through one device interface and reports through its
    ProgressClass base. Subclasses supply run() and stop their thread in their
    own destructor. The interface and the image are not owned and must outlive
    the thread. */
class ProtocolBaseClass : public juce::Thread, public ProgressClass
{
public:
    /** Stores both pointers; starts nothing. */
    ProtocolBaseClass(InterfaceBaseClass* interface, FirmwareImage* firmware);
    ~ProtocolBaseClass() override;

    void run() override = 0;

    /** Message thread. On an idle protocol: progress 0.0, then the thread
        starts one run at a priority just below the default. On a running one
        whose progress reads 1.0: progress 0.0, nothing started; otherwise
        nothing. */
    virtual void startUpload();

protected:
    InterfaceBaseClass* interface;
    FirmwareImage* firmware;

private:
    JUCE_DECLARE_NON_COPYABLE(ProtocolBaseClass)
};
