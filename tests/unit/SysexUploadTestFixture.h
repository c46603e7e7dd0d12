#pragma once

#include "SysexUploadFakeInterface.h"
#include "SysexUploadImageFile.h"
#include "SysexUploadSimulatedClock.h"
#include "TestSupport.h"
#include "upload/AutoUpdate.h"
#include "upload/BasicSysexProtocolClass.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

/** A protocol over a fake interface and the simulated clock, with a listener
    that records every notice and an end report that records every call. */
class SysexUploadTestFixture : public ::testing::Test
{
protected:
    struct Notice
    {
        double progress;
        juce::String status;
        bool synchronous;
        BasicSysexProtocolClass::Outcome outcome;
    };

    struct EndReport
    {
        BasicSysexProtocolClass::Outcome outcome;
        juce::String status;
        bool interfaceEnabled;
    };

    /** Lets the upload thread stop at one point until the test opens it. */
    struct Gate
    {
        void holdHere()
        {
            reached = true;
            open.wait(-1);
        }
        std::atomic<bool> reached{false};
        juce::WaitableEvent open{true};
    };

    class Listener : public juce::ChangeListener
    {
    public:
        explicit Listener(BasicSysexProtocolClass& protocolToWatch) : watched(protocolToWatch)
        {
            watched.addChangeListener(this);
        }
        ~Listener() override { watched.removeChangeListener(this); }

        void changeListenerCallback(juce::ChangeBroadcaster* source) override
        {
            // How a listener with several sources recognises the protocol.
            EXPECT_TRUE(source == &watched);
            notices.push_back({watched.getProgress(), watched.getStatusText(),
                               !juce::MessageManager::getInstance()->isThisTheMessageThread(),
                               watched.getLastOutcome()});
        }

        /** Progress values of the notices delivered on the upload thread. */
        std::vector<double> synchronousProgress() const
        {
            std::vector<double> values;
            for (const auto& n : notices)
                if (n.synchronous)
                    values.push_back(n.progress);
            return values;
        }

        // Written on the message thread or under its lock, read there.
        std::vector<Notice> notices;

    private:
        BasicSysexProtocolClass& watched;
    };

    ~SysexUploadTestFixture() override
    {
        listener.reset();
        protocol.reset();
        autoUpdate = false;
    }

    void useImage(const std::vector<std::uint8_t>& bytes)
    {
        imageFile = std::make_unique<SysexUploadImageFile>(bytes);
        useImage(imageFile->get());
    }

    void useImage(FirmwareImage* image)
    {
        BasicSysexProtocolClass::Reports recording;
        recording.automaticEnd = [this](BasicSysexProtocolClass::Outcome outcome)
        {
            const std::lock_guard<std::mutex> lock(reportMutex);
            reports.push_back({outcome, protocol->getStatusText(), device.isEnabled()});
        };
        protocol = std::make_unique<BasicSysexProtocolClass>(&device, image, clock, recording);
        listener = std::make_unique<Listener>(*protocol);
        device.statusProbe = [this] { return protocol->getStatusText(); };
    }

    /** Holds the upload thread at the clock call with this index. */
    void holdAtCall(std::size_t index)
    {
        clock.onCall = [this, index](const SysexUploadSimulatedClock::Call& call)
        {
            if (call.index == index)
                gate.holdHere();
        };
    }

    void waitUntilHeld()
    {
        ASSERT_TRUE(testsupport::runMessageLoopUntil([this] { return gate.reached.load(); }));
    }

    void waitForTheEnd()
    {
        ASSERT_TRUE(testsupport::runMessageLoopUntil([this] { return !protocol->isThreadRunning(); }, 60000));
    }

    void runToEnd()
    {
        protocol->startUpload();
        waitForTheEnd();
    }

    std::vector<EndReport> getEndReports()
    {
        const std::lock_guard<std::mutex> lock(reportMutex);
        return reports;
    }

    SysexUploadSimulatedClock clock;
    SysexUploadFakeInterface device{&clock};
    Gate gate;
    std::unique_ptr<SysexUploadImageFile> imageFile;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    std::unique_ptr<Listener> listener;

private:
    std::mutex reportMutex;
    std::vector<EndReport> reports;
};
