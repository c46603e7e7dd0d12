#include "upload/BasicSysexProtocolClass.h"

#include "upload/AutoUpdate.h"
#include "upload/SysexFraming.h"

namespace
{
constexpr int autoUpdateDelayMs = 2000;
constexpr int pauseAfterMessageMs = 300;
constexpr int completionPauseMs = 5000;
} // namespace

BasicSysexProtocolClass::BasicSysexProtocolClass(InterfaceBaseClass* interface_, FirmwareImage* firmware_,
                                                 UploadClock& clock_, Reports reports_)
    : ProtocolBaseClass(interface_, firmware_), clock(clock_), reports(std::move(reports_))
{
}

BasicSysexProtocolClass::~BasicSysexProtocolClass()
{
    // stopThread would kill the thread after its timeout; every wait of a run
    // ends on this signal, so waiting without a limit is safe.
    signalThreadShouldExit();
    waitForThreadToExit(-1);
}

void BasicSysexProtocolClass::startUpload()
{
    if (!isThreadRunning())
    {
        // Before the progress notice, so its listeners see no stale outcome.
        outcome = Outcome::none;
        {
            const juce::ScopedLock sl(progressLock);
            uploadProgress = 0.0;
            setProgress(0.0);
        }
        startThread();
        return;
    }

    const juce::ScopedLock sl(progressLock);
    if (uploadProgress == 1.0)
    {
        uploadProgress = 0.0;
        setProgress(0.0);
    }
}

double BasicSysexProtocolClass::getUploadProgress() const
{
    const juce::ScopedLock sl(progressLock);
    return uploadProgress;
}

bool BasicSysexProtocolClass::setInterfaceEnabled(bool shouldBeEnabled)
{
    // Gives up on an exit request: the message thread may be blocked waiting
    // for this thread, and the components may be about to go.
    const juce::MessageManagerLock lock(this);
    if (!lock.lockWasGained())
        return false;
    interface->setEnabled(shouldBeEnabled);
    return true;
}

void BasicSysexProtocolClass::finishRun(Outcome finalOutcome)
{
    // A run whose interface could not be given back was stopped on the way.
    if (setInterfaceEnabled(true) && autoUpdate && reports.automaticEnd)
        reports.automaticEnd(finalOutcome);
}

void BasicSysexProtocolClass::run()
{
    const auto* data = firmware->getData();
    const auto total = static_cast<std::uint32_t>(firmware->getSize());
    readPosition = data;

    // Checked whole before the first message: a device must never get part
    // of a damaged image.
    if (!isCleanSysexImage(data, total))
    {
        // Set before the text so a listener woken by it sees the outcome.
        outcome = Outcome::damagedImage;
        setStatusText(damagedImageText);
        sendChangeMessage(); // the text may be unchanged from a previous run; listeners must still hear
        finishRun(Outcome::damagedImage);
        return;
    }

    setStatusText(uploadingText);

    double fraction = 0.0;
    {
        const juce::ScopedLock sl(progressLock);
        fraction = uploadProgress;
    }

    if (autoUpdate)
        clock.waitUnlessExit(*this, autoUpdateDelayMs);

    const auto* messageStart = readPosition;
    std::uint32_t bytesSent = 0;
    int messagesSent = 0;
    if (reports.sendingStarts && !threadShouldExit())
        reports.sendingStarts();
    while (fraction != 1.0 && !threadShouldExit())
    {
        if (!setInterfaceEnabled(false))
            break;

        const auto length = static_cast<std::uint32_t>(nextMessageLength(messageStart, total - bytesSent));
        if (length == 0)
            break; // cannot happen on a clean image; never loop without sending

        if (interface->sendBytes(messageStart, static_cast<std::int32_t>(length)) != 0)
        {
            if (threadShouldExit())
                break; // closing cut the send short
            // The device may hold part of a message: nothing more may follow it.
            outcome = Outcome::sendFailed;
            setStatusText(sendFailedText);
            sendChangeMessage(); // the text may be unchanged from a previous run
            finishRun(Outcome::sendFailed);
            return;
        }
        clock.pause(pauseAfterMessageMs);
        if (threadShouldExit())
            break; // a stopped run must never report the last message as done
        messageStart += length;
        readPosition = messageStart;
        bytesSent += length;
        ++messagesSent;
        fraction = static_cast<double>(bytesSent) / static_cast<double>(total);
        setProgress(fraction);
        if (reports.messageSent)
            reports.messageSent(bytesSent, messagesSent);

        const juce::ScopedLock sl(progressLock);
        uploadProgress = fraction;
    }

    if (threadShouldExit() || fraction != 1.0)
    {
        outcome = Outcome::stopped;
        return;
    }

    setStatusText(completedText);
    if (!clock.waitUnlessExit(*this, completionPauseMs))
    {
        outcome = Outcome::stopped;
        return;
    }

    outcome = Outcome::completed;
    setStatusText(powerCycleText);
    readPosition = data;
    finishRun(Outcome::completed);
}
