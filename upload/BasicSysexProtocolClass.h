#pragma once

#include "upload/DiravivAziv.h"
#include "upload/ProtocolBaseClass.h"
#include "upload/UploadClock.h"

#include <atomic>
#include <functional>

/** The SysEx upload: on its own thread, sends the image's F0...F7 messages
    one sendBytes call each, pausing 300 ms after each, and reports progress
    (bytes sent / total) and status texts; change messages come from this
    object's ProgressClass base (compare with `source == protocol`).

    A run first checks the framing of the whole image. A damaged image is
    never sent, not even in part: the run sets damagedImageText, enables the
    interface and ends. A message that does not go out whole ends the run at
    once, with nothing sent after it: the run sets sendFailedText, enables the
    interface and ends. With autoUpdate set, a clean run waits 2000 ms before
    its first message, and every run that is not stopped asks the
    application to quit at its end: exit status 0 after a completed update,
    1 after a damaged image.

    Every wait of a run except the 300 ms pause and a send in progress ends
    on an exit request, and every message-thread lock the run takes gives up
    on one, so the thread ends soon after signalThreadShouldExit even while
    the message thread is blocked waiting for it. A stopped run touches no
    component after the request, sets no further status text (a stop in the
    5000 ms pause leaves completedText without powerCycleText), never shows
    progress 1.0 for it, leaves the interface disabled and reports nothing. */
class BasicSysexProtocolClass : public ProtocolBaseClass, public DiravivAziv
{
public:
    /** How the last run ended. */
    enum class Outcome
    {
        none,         ///< no run has ended since the last start
        completed,    ///< all sent, both closing texts shown
        stopped,      ///< an exit request ended the run first
        damagedImage, ///< the image's framing is broken; nothing was sent
        sendFailed,   ///< a message did not go out whole; nothing was sent after it
    };

    /** What a run tells as it goes, on the upload thread; empty ones are not called. */
    struct Reports
    {
        /** How an automatic update has ended: at the end of every run that is
            not stopped, with autoUpdate set, once the interface is enabled again. */
        std::function<void(Outcome)> automaticEnd;
        /** A clean run is about to send its first message (after the automatic wait). */
        std::function<void()> sendingStarts;
        /** A message and its pause are over: the bytes and messages sent so far in this run. */
        std::function<void(std::uint32_t bytesSent, int messagesSent)> messageSent;
    };

    static constexpr const char* uploadingText = "Uploading firmware";
    static constexpr const char* completedText = "Update completed";
    static constexpr const char* powerCycleText = "Please turn power off and on again";
    static constexpr const char* damagedImageText = "Firmware image is damaged: nothing was sent";
    static constexpr const char* sendFailedText =
        "Sending failed: the MIDI output is gone. Reconnect it and press update again";

    /** Message thread. interface, firmware and clock (which paces the runs)
        are not owned and must outlive this object. Starts nothing. */
    BasicSysexProtocolClass(InterfaceBaseClass* interface, FirmwareImage* firmware, UploadClock& clock,
                            Reports reports = {});

    /** Message thread. Asks the thread to exit and returns only once it has
        ended; never kills it. */
    ~BasicSysexProtocolClass() override;

    /** Message thread. Idle: resets progress to 0.0 and starts a run at the
        default priority. Running with all bytes sent (the completion phase):
        resets the shown progress to 0.0 and starts nothing. Otherwise
        nothing. */
    void startUpload() override;

    /** How the last run ended; none while a run is under way. Any thread. */
    Outcome getLastOutcome() const noexcept { return outcome.load(); }

    /** True when the last run refused a damaged image. */
    bool lastRunFoundDamagedImage() const noexcept { return getLastOutcome() == Outcome::damagedImage; }

    /** True when the last run ended on a message that did not go out whole. */
    bool lastRunFailedToSend() const noexcept { return getLastOutcome() == Outcome::sendFailed; }

    /** Exact fraction of the image's bytes sent, unrounded. */
    double getUploadProgress() const;

private:
    void run() override;
    bool setInterfaceEnabled(bool shouldBeEnabled);
    void finishRun(Outcome finalOutcome);

    UploadClock& clock;
    const Reports reports;
    std::atomic<Outcome> outcome{Outcome::none};
    double uploadProgress = 0.0;
    juce::CriticalSection progressLock;
    // Kept for the scanner's contract; nothing reads it back.
    const std::uint8_t* readPosition = nullptr;

    JUCE_DECLARE_NON_COPYABLE(BasicSysexProtocolClass)
};
