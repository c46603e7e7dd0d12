#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>

/** The link between the updater and the device: a component that shows its
    own port selectors, opens the ports the user picks and moves bytes.

    Every selection and every port opened or closed is announced with
    sendChangeMessage, the interface itself being the source. */
class InterfaceBaseClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    InterfaceBaseClass() = default;
    ~InterfaceBaseClass() override = default;

    void resized() override = 0;

    /** Copies up to maxCount received bytes, oldest first, and removes them.
        Returns 0 when nothing waits or no input port is open. Any thread. */
    virtual std::int32_t readBytes(std::uint8_t* destination, std::uint32_t maxCount) = 0;

    /** Sends count bytes as one message and returns only when they have left.
        Returns 0 when they all went out (or there was nothing to send), and
        a non-zero status when the message did not go out whole: no output
        port is open, or the port refused it or has gone. */
    virtual std::int32_t sendBytes(const std::uint8_t* data, std::int32_t count) = 0;

    /** True when every port this interface uses is open. */
    virtual bool isConnected() = 0;

    /** Height in pixels the interface needs in its parent's layout. */
    virtual std::int32_t getPreferredHeight() = 0;

    /** Selects the output choice with this selector id and opens its port at once. */
    virtual void selectOutputById(std::int32_t id) = 0;

    /** Selects the input choice with this selector id and opens its port at once. */
    virtual void selectInputById(std::int32_t id) = 0;

    /** Makes a stalled send give up, waits for a send in progress, then closes
        every port. Message thread; for shutting down while an upload may
        still be sending. */
    virtual void closePorts() = 0;

private:
    JUCE_DECLARE_NON_COPYABLE(InterfaceBaseClass)
};
