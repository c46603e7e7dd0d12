#include "upload/ProtocolBaseClass.h"

ProtocolBaseClass::ProtocolBaseClass(InterfaceBaseClass* interface_, FirmwareImage* firmware_)
    : juce::Thread("Protocol Thread"), interface(interface_), firmware(firmware_)
{
}

ProtocolBaseClass::~ProtocolBaseClass() = default;

void ProtocolBaseClass::startUpload()
{
    if (!isThreadRunning())
    {
        setProgress(0.0);
        startThread(juce::Thread::Priority::low);
    }
    else if (getProgress() == 1.0)
    {
        setProgress(0.0);
    }
}
