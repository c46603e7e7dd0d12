#include "device/MidiInterfaceClass.h"
#include "device/system/SystemMidiPortLayer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
/** Collects what is written to the process's standard error meanwhile. */
class StandardErrorCapture
{
public:
    explicit StandardErrorCapture(const juce::File& into) : file(into)
    {
        std::fflush(stderr);
        saved = ::dup(STDERR_FILENO);
        const int fd = ::open(file.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StandardErrorCapture() { restore(); }

    juce::String finish()
    {
        restore();
        return file.loadFileAsString();
    }

private:
    void restore()
    {
        if (saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        saved = -1;
    }
    juce::File file;
    int saved = -1;
};
} // namespace

TEST(MidiPortSystem, ListingPrintsNothingAndBadIndexesOpenNothing)
{
    testsupport::TemporaryDirectory dir;
    StandardErrorCapture capture(dir.file("stderr.txt"));
    SystemMidiPortLayer layer;
    const auto outputs = layer.getOutputNames();
    const auto inputs = layer.getInputNames();
    EXPECT_EQ(layer.openOutput(outputs.size()), nullptr);
    EXPECT_EQ(layer.openOutput(-1), nullptr);
    EXPECT_EQ(layer.openInput(inputs.size(), nullptr), nullptr);
    const auto printed = capture.finish();
    EXPECT_TRUE(printed.isEmpty()) << printed;
}

TEST(MidiPortSystem, WithoutSystemPortsOnlyDisconnectedIsOffered)
{
    SystemMidiPortLayer probe;
    if (!probe.getOutputNames().isEmpty())
        GTEST_SKIP() << "this machine has MIDI outputs";

    SystemMidiPortLayer layer;
    MidiInterfaceClass midi(true, false, layer);
    juce::ComboBox* selector = nullptr;
    for (auto* child : midi.getChildren())
        if (child->getName() == "Output Selector")
            selector = dynamic_cast<juce::ComboBox*>(child);
    ASSERT_NE(selector, nullptr);
    ASSERT_EQ(selector->getNumItems(), 1);
    EXPECT_EQ(selector->getItemId(0), 1);
    EXPECT_EQ(selector->getItemText(0), "(Disconnected)");
    midi.selectOutputById(1);
    EXPECT_FALSE(midi.isConnected());
    const std::uint8_t message[] = {0xF0, 0x01, 0xF7};
    EXPECT_EQ(midi.sendBytes(message, 3), MidiInterfaceClass::sendFailed);
    testsupport::runMessageLoopFor(50);
}
