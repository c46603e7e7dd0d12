#include "device/MidiInterfaceClass.h"
#include "device/virtual/VirtualMidiPortLayer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using testsupport::runMessageLoopFor;
using testsupport::runMessageLoopUntil;

namespace
{
VirtualMidiPortLayer::Options portsNamed(juce::StringArray outputs, juce::StringArray inputs = {},
                                         int bitsPerSecond = 0)
{
    VirtualMidiPortLayer::Options options;
    options.outputNames = std::move(outputs);
    options.inputNames = std::move(inputs);
    options.bitsPerSecond = bitsPerSecond;
    return options;
}

juce::ComboBox* findSelector(juce::Component& parent, const juce::String& name)
{
    for (auto* child : parent.getChildren())
        if (child->getName() == name)
            return dynamic_cast<juce::ComboBox*>(child);
    return nullptr;
}

juce::Label* findCaptionOf(juce::Component& parent, juce::Component* selector)
{
    for (auto* child : parent.getChildren())
        if (auto* label = dynamic_cast<juce::Label*>(child))
            if (label->getAttachedComponent() == selector)
                return label;
    return nullptr;
}

/** The selector's menu as "<id>:<text>" entries and "---" for a separator. */
std::vector<std::string> menuOf(juce::ComboBox& box)
{
    std::vector<std::string> entries;
    for (juce::PopupMenu::MenuItemIterator it(*box.getRootMenu()); it.next();)
    {
        const auto& item = it.getItem();
        entries.push_back(item.isSeparator ? std::string("---")
                                           : (juce::String(item.itemID) + ":" + item.text).toStdString());
    }
    return entries;
}

class ChangeCounter : public juce::ChangeListener
{
public:
    explicit ChangeCounter(juce::ChangeBroadcaster& watched) : source(watched)
    {
        source.addChangeListener(this);
    }
    ~ChangeCounter() override { source.removeChangeListener(this); }
    void changeListenerCallback(juce::ChangeBroadcaster* changed) override
    {
        if (changed == &source)
            ++count;
        else
            ++fromOthers;
    }
    juce::ChangeBroadcaster& source;
    int count = 0;
    int fromOthers = 0;
};

/** Lets the selectors' asynchronous reports from construction arrive. */
void settle()
{
    runMessageLoopFor(50);
}

std::vector<std::uint8_t> toVector(const juce::MemoryBlock& block)
{
    const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
    return {bytes, bytes + block.getSize()};
}
} // namespace

// --- selectors ------------------------------------------------------------

TEST(MidiInterfaceSelectors, ListDisconnectedFirstThenSeparatorThenPorts)
{
    struct Case
    {
        const char* what;
        juce::StringArray ports;
        std::vector<std::string> menu;
        int disconnectedId;
    };
    const std::vector<Case> cases = {
        {"no ports", {}, {"1:(Disconnected)"}, 1},
        {"one port", {"Alpha"}, {"2:(Disconnected)", "---", "1:Alpha"}, 2},
        {"three ports",
         {"Alpha", "Beta", "Gamma"},
         {"4:(Disconnected)", "---", "1:Alpha", "2:Beta", "3:Gamma"},
         4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        for (const bool outputSide : {true, false})
        {
            SCOPED_TRACE(outputSide ? "output" : "input");
            VirtualMidiPortLayer layer(outputSide ? portsNamed(c.ports) : portsNamed({}, c.ports));
            MidiInterfaceClass midi(outputSide, !outputSide, layer);
            settle();

            auto* selector = findSelector(midi, outputSide ? "Output Selector" : "Input Selector");
            ASSERT_NE(selector, nullptr);
            EXPECT_EQ(findSelector(midi, outputSide ? "Input Selector" : "Output Selector"), nullptr);
            EXPECT_EQ(menuOf(*selector), c.menu);
            EXPECT_EQ(selector->getSelectedId(), c.disconnectedId);
            EXPECT_EQ(selector->getText(), "(Disconnected)");

            auto* caption = findCaptionOf(midi, selector);
            ASSERT_NE(caption, nullptr);
            EXPECT_EQ(caption->getText(),
                      outputSide ? "Select an output device:" : "Select an input device:");
            EXPECT_FALSE(caption->isAttachedOnLeft());

            EXPECT_FALSE(midi.isConnected());
            for (int i = 0; i < c.ports.size(); ++i)
                EXPECT_EQ(layer.getOutputOpenCount(i), 0);
        }
    }
}

TEST(MidiInterfaceSelectors, LayoutFollowsTheSelectorsShown)
{
    struct Case
    {
        bool hasOutput, hasInput;
        juce::Rectangle<int> output, input;
        int preferredHeight;
    };
    const std::vector<Case> cases = {
        {true, true, {0, 20, 300, 30}, {0, 70, 300, 30}, 100},
        {true, false, {0, 20, 300, 30}, {}, 50},
        {false, true, {}, {0, 20, 300, 30}, 50},
        {false, false, {}, {}, 50},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(int(c.hasOutput)) + "/" + juce::String(int(c.hasInput)));
        VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {"Beta"}));
        MidiInterfaceClass midi(c.hasOutput, c.hasInput, layer);
        midi.setBounds(0, 0, 300, midi.getPreferredHeight());
        EXPECT_EQ(midi.getPreferredHeight(), c.preferredHeight);

        auto* output = findSelector(midi, "Output Selector");
        auto* input = findSelector(midi, "Input Selector");
        EXPECT_EQ(output != nullptr, c.hasOutput);
        EXPECT_EQ(input != nullptr, c.hasInput);
        if (output != nullptr)
        {
            EXPECT_EQ(output->getBounds(), c.output);
        }
        if (input != nullptr)
        {
            EXPECT_EQ(input->getBounds(), c.input);
        }
        EXPECT_FALSE(midi.isConnected());
    }
}

// --- selection ------------------------------------------------------------

TEST(MidiInterfaceSelection, SelectOutputByIdOpensOnlyWhatItNames)
{
    struct Case
    {
        const char* what;
        int firstId; // selected and settled before; 0 for none
        int id;
        juce::String shownText;
        int openIndex; // -1 for none
    };
    const std::vector<Case> cases = {
        {"a port", 0, 2, "Beta", 1},
        {"another port", 1, 3, "Gamma", 2},
        {"the disconnected id", 1, 4, "(Disconnected)", -1},
        {"an id no entry has", 1, 9, "Alpha", -1},
        {"zero", 1, 0, "Alpha", -1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        VirtualMidiPortLayer layer(portsNamed({"Alpha", "Beta", "Gamma"}));
        MidiInterfaceClass midi(true, false, layer);
        auto* selector = findSelector(midi, "Output Selector");
        if (c.firstId != 0)
            midi.selectOutputById(c.firstId);
        settle();
        ChangeCounter changes(midi);

        midi.selectOutputById(c.id);

        // Opened at once, before any message is handled.
        EXPECT_EQ(midi.isConnected(), c.openIndex >= 0);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(layer.isOutputOpen(i), i == c.openIndex) << "port " << i;
        if (c.openIndex >= 0)
        {
            EXPECT_EQ(layer.getOutputOpenCount(c.openIndex), 1);
        }
        EXPECT_EQ(selector->getText(), c.shownText);

        EXPECT_TRUE(runMessageLoopUntil([&] { return changes.count > 0; }, 5000));
        settle();
        EXPECT_EQ(changes.fromOthers, 0);
        EXPECT_EQ(selector->getText(), c.shownText);
        EXPECT_EQ(midi.isConnected(), c.openIndex >= 0);
        // The selector's later report opens the same port once more.
        if (c.openIndex >= 0)
        {
            EXPECT_EQ(layer.getOutputOpenCount(c.openIndex), 2);
        }
    }
}

TEST(MidiInterfaceSelection, ChoosingAnEntryInTheSelectorOpensOrClosesItsPort)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha", "Beta"}));
    MidiInterfaceClass midi(true, false, layer);
    settle();
    ChangeCounter changes(midi);
    auto* selector = findSelector(midi, "Output Selector");

    selector->setSelectedId(1, juce::sendNotificationSync);
    EXPECT_TRUE(midi.isConnected());
    EXPECT_TRUE(layer.isOutputOpen(0));

    // Choosing the open entry again reopens it.
    midi.comboBoxChanged(selector);
    EXPECT_EQ(layer.getOutputOpenCount(0), 2);
    EXPECT_TRUE(layer.isOutputOpen(0));

    selector->setSelectedId(3, juce::sendNotificationSync);
    EXPECT_FALSE(midi.isConnected());
    EXPECT_FALSE(layer.isOutputOpen(0));
    EXPECT_TRUE(runMessageLoopUntil([&] { return changes.count > 0; }, 5000));
}

TEST(MidiInterfaceSelection, SelectingASideThatIsNotShownDoesNothing)
{
    {
        VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {"Beta"}));
        MidiInterfaceClass midi(true, false, layer);
        midi.selectOutputById(1);
        settle();
        ChangeCounter changes(midi);
        midi.selectInputById(1);
        runMessageLoopFor(200);
        EXPECT_EQ(changes.count, 0);
        EXPECT_TRUE(midi.isConnected());
        EXPECT_EQ(findSelector(midi, "Input Selector"), nullptr);
    }
    {
        VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {"Beta"}));
        MidiInterfaceClass midi(false, true, layer);
        settle();
        ChangeCounter changes(midi);
        midi.selectOutputById(1);
        runMessageLoopFor(200);
        EXPECT_EQ(changes.count, 0);
        EXPECT_EQ(layer.getOutputOpenCount(0), 0);
    }
}

TEST(MidiInterfaceSelection, BothSidesMustBeOpenToBeConnected)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {"Beta"}));
    MidiInterfaceClass midi(true, true, layer);
    midi.selectOutputById(1);
    EXPECT_FALSE(midi.isConnected());
    midi.selectInputById(1);
    EXPECT_TRUE(midi.isConnected());
    midi.selectOutputById(2);
    EXPECT_FALSE(midi.isConnected());
    settle();
}

TEST(MidiInterfaceSelection, APortThatFailsToOpenStaysShownButNotConnected)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha", "!Busy"}, {"!Broken"}));
    MidiInterfaceClass midi(true, true, layer);
    settle();
    auto* output = findSelector(midi, "Output Selector");
    auto* input = findSelector(midi, "Input Selector");
    EXPECT_EQ(menuOf(*output), (std::vector<std::string>{"3:(Disconnected)", "---", "1:Alpha", "2:Busy"}));
    ChangeCounter changes(midi);

    midi.selectOutputById(2);
    midi.selectInputById(1);
    EXPECT_EQ(output->getText(), "Busy");
    EXPECT_EQ(input->getText(), "Broken");
    EXPECT_FALSE(midi.isConnected());
    EXPECT_TRUE(runMessageLoopUntil([&] { return changes.count > 0; }, 5000));
    settle();
    EXPECT_EQ(output->getText(), "Busy");
    EXPECT_FALSE(midi.isConnected());

    std::uint8_t buffer[8];
    EXPECT_EQ(midi.readBytes(buffer, 8), 0);
    const std::uint8_t message[] = {0xF0, 0x7D, 0x01, 0xF7};
    EXPECT_EQ(midi.sendBytes(message, 4), MidiInterfaceClass::sendFailed);
    EXPECT_EQ(layer.getSendsBegun(1), 0);
}

TEST(MidiInterfaceSelection, ClosePortsClosesBothSidesWithoutAChangeMessage)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {"Beta"}));
    MidiInterfaceClass midi(true, true, layer);
    midi.selectOutputById(1);
    midi.selectInputById(1);
    settle();
    ASSERT_TRUE(midi.isConnected());
    ChangeCounter changes(midi);

    midi.closePorts();
    EXPECT_FALSE(midi.isConnected());
    EXPECT_FALSE(layer.isOutputOpen(0));
    EXPECT_FALSE(layer.deliverToInput(0, juce::MidiMessage(0x90, 60, 100)));
    runMessageLoopFor(200);
    EXPECT_EQ(changes.count, 0);
    midi.closePorts(); // twice is harmless
}

// --- sending --------------------------------------------------------------

TEST(MidiInterfaceSend, WithoutAnOpenPortNothingIsSentAndTheSendFails)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha", "Beta"}, {}, 31250));
    MidiInterfaceClass midi(true, false, layer);
    const std::vector<std::uint8_t> message(1000, 0x11);

    const auto began = juce::Time::getMillisecondCounterHiRes();
    EXPECT_EQ(midi.sendBytes(message.data(), 1000), MidiInterfaceClass::sendFailed);
    // 1000 bytes would take 320 ms on the wire.
    EXPECT_LT(juce::Time::getMillisecondCounterHiRes() - began, 160.0);
    EXPECT_EQ(layer.getSendsBegun(0) + layer.getSendsBegun(1), 0);

    midi.selectOutputById(3); // disconnected
    EXPECT_EQ(midi.sendBytes(message.data(), 1000), MidiInterfaceClass::sendFailed);
    EXPECT_EQ(layer.getSendsBegun(0) + layer.getSendsBegun(1), 0);
    settle();
}

TEST(MidiInterfaceSend, SendsTheBytesWholeToTheSelectedPort)
{
    VirtualMidiPortLayer layer(portsNamed({"Alpha", "Beta"}));
    MidiInterfaceClass midi(true, false, layer);
    midi.selectOutputById(2);
    settle();

    const std::uint8_t first[] = {0xF0, 0x7D, 0x01, 0x02, 0x03, 0xF7};
    const std::uint8_t second[] = {0xF0, 0x00, 0x20, 0x33, 0x7F, 0x00, 0xF7};
    EXPECT_EQ(midi.sendBytes(first, 6), 0);
    EXPECT_EQ(midi.sendBytes(second, 7), 0);
    EXPECT_EQ(midi.sendBytes(second, 0), 0);

    const auto sent = layer.getSentMessages(1);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(toVector(sent[0]), (std::vector<std::uint8_t>{0xF0, 0x7D, 0x01, 0x02, 0x03, 0xF7}));
    EXPECT_EQ(toVector(sent[1]), (std::vector<std::uint8_t>{0xF0, 0x00, 0x20, 0x33, 0x7F, 0x00, 0xF7}));
    EXPECT_TRUE(layer.getSentMessages(0).empty());
}

namespace
{
enum class CloseBy
{
    selectingDisconnected,
    closePorts,
    destroying
};

const char* describe(CloseBy way)
{
    switch (way)
    {
    case CloseBy::selectingDisconnected:
        return "selecting (Disconnected)";
    case CloseBy::closePorts:
        return "closePorts";
    case CloseBy::destroying:
        return "destroying the interface";
    }
    return "";
}

void closeThePort(std::unique_ptr<MidiInterfaceClass>& midi, CloseBy way)
{
    switch (way)
    {
    case CloseBy::selectingDisconnected:
        midi->selectOutputById(2);
        break;
    case CloseBy::closePorts:
        midi->closePorts();
        break;
    case CloseBy::destroying:
        midi.reset();
        break;
    }
}
} // namespace

TEST(MidiInterfaceSend, ClosingWaitsForASendInProgress)
{
    for (const auto way : {CloseBy::selectingDisconnected, CloseBy::closePorts, CloseBy::destroying})
    {
        SCOPED_TRACE(describe(way));
        VirtualMidiPortLayer layer(portsNamed({"Alpha"}, {}, 31250));
        auto midi = std::make_unique<MidiInterfaceClass>(true, false, layer);
        midi->selectOutputById(1);
        settle();

        std::vector<std::uint8_t> message(1000, 0x55); // 320 ms on the wire
        message.front() = 0xF0;
        message.back() = 0xF7;
        std::atomic<bool> sendReturned{false};
        auto* interface = midi.get();
        std::thread sender(
            [&]
            {
                interface->sendBytes(message.data(), static_cast<std::int32_t>(message.size()));
                sendReturned = true;
            });
        ASSERT_TRUE(runMessageLoopUntil([&] { return layer.getSendsBegun(0) == 1; }, 5000));

        closeThePort(midi, way);

        // The message left whole before the port went away.
        EXPECT_FALSE(layer.isOutputOpen(0));
        const auto sent = layer.getSentMessages(0);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(toVector(sent[0]), message);
        sender.join();
        EXPECT_TRUE(sendReturned);
        if (midi != nullptr)
        {
            EXPECT_FALSE(midi->isConnected());
            EXPECT_EQ(midi->sendBytes(message.data(), 10), MidiInterfaceClass::sendFailed);
            EXPECT_EQ(layer.getSendsBegun(0), 1);
        }
        settle();
    }
}

TEST(MidiInterfaceSend, ClosingCancelsAStalledSend)
{
    for (const auto way : {CloseBy::selectingDisconnected, CloseBy::closePorts, CloseBy::destroying})
    {
        SCOPED_TRACE(describe(way));
        auto options = portsNamed({"Alpha"});
        options.stallFrom = 2;
        VirtualMidiPortLayer layer(options);
        auto midi = std::make_unique<MidiInterfaceClass>(true, false, layer);
        midi->selectOutputById(1);
        settle();

        const std::uint8_t first[] = {0xF0, 0x01, 0xF7};
        const std::uint8_t second[] = {0xF0, 0x02, 0xF7};
        std::atomic<bool> sendReturned{false};
        auto* interface = midi.get();
        std::thread sender(
            [&]
            {
                interface->sendBytes(first, 3);
                interface->sendBytes(second, 3);
                sendReturned = true;
            });
        ASSERT_TRUE(runMessageLoopUntil([&] { return layer.getSendsBegun(0) == 2; }, 5000));
        runMessageLoopFor(200);
        EXPECT_FALSE(sendReturned) << "the second send should stall";

        closeThePort(midi, way);

        EXPECT_TRUE(runMessageLoopUntil([&] { return sendReturned.load(); }, 5000));
        sender.join();
        EXPECT_FALSE(layer.isOutputOpen(0));
        const auto sent = layer.getSentMessages(0);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(toVector(sent[0]), (std::vector<std::uint8_t>{0xF0, 0x01, 0xF7}));
        settle();
    }
}

// --- receiving ------------------------------------------------------------

namespace
{
/** The byte the test feeds as number i. */
std::uint8_t fedByte(int i)
{
    return static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
}

void feed(VirtualMidiPortLayer& layer, int from, int count)
{
    std::vector<std::uint8_t> bytes;
    for (int i = from; i < from + count; ++i)
        bytes.push_back(fedByte(i));
    ASSERT_TRUE(layer.deliverToInput(0, juce::MidiMessage(bytes.data(), count)));
}
} // namespace

TEST(MidiInterfaceReceive, RingKeepsWhatArrivedSinceTheLastRead)
{
    struct Case
    {
        int arrived;
        int firstKept; // number of the oldest byte still readable
        int kept;
    };
    // 256 bytes in a row overwrite everything: the positions meet again.
    const std::vector<Case> cases = {{4, 0, 4}, {10, 0, 10}, {255, 0, 255}, {256, 0, 0}, {300, 256, 44}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.arrived);
        VirtualMidiPortLayer layer(portsNamed({}, {"In"}));
        MidiInterfaceClass midi(false, true, layer);
        midi.selectInputById(1);
        settle();
        for (int from = 0; from < c.arrived; from += 100)
            feed(layer, from, std::min(100, c.arrived - from));

        std::vector<std::uint8_t> read(512, 0);
        ASSERT_EQ(midi.readBytes(read.data(), 512), c.kept);
        for (int i = 0; i < c.kept; ++i)
            ASSERT_EQ(read[static_cast<std::size_t>(i)], fedByte(c.firstKept + i)) << "byte " << i;
        EXPECT_EQ(midi.readBytes(read.data(), 512), 0);
    }
}

TEST(MidiInterfaceReceive, ReadsInPiecesOldestFirst)
{
    VirtualMidiPortLayer layer(portsNamed({}, {"In"}));
    MidiInterfaceClass midi(false, true, layer);
    std::uint8_t buffer[64];
    EXPECT_EQ(midi.readBytes(buffer, 64), 0); // no input open yet
    midi.selectInputById(1);

    feed(layer, 0, 250);
    EXPECT_EQ(midi.readBytes(buffer, 0), 0);
    EXPECT_EQ(midi.readBytes(buffer, 40), 40);
    EXPECT_EQ(buffer[0], fedByte(0));
    EXPECT_EQ(buffer[39], fedByte(39));
    // Wraps around the end of the ring.
    feed(layer, 250, 20);
    std::vector<std::uint8_t> rest(300, 0);
    ASSERT_EQ(midi.readBytes(rest.data(), 300), 230);
    for (int i = 0; i < 230; ++i)
        ASSERT_EQ(rest[static_cast<std::size_t>(i)], fedByte(40 + i)) << "byte " << i;

    midi.selectInputById(2); // disconnected
    EXPECT_FALSE(layer.deliverToInput(0, juce::MidiMessage(0x90, 60, 100)));
    EXPECT_EQ(midi.readBytes(buffer, 64), 0);
    settle();
}

TEST(MidiInterfaceReceive, AReaderOnAnotherThreadGetsEveryByteInOrder)
{
    VirtualMidiPortLayer layer(portsNamed({}, {"In"}));
    MidiInterfaceClass midi(false, true, layer);
    midi.selectInputById(1);
    settle();

    constexpr int total = 20000;
    std::atomic<int> consumed{0};
    std::atomic<bool> readerFailed{false};
    std::thread reader(
        [&]
        {
            std::uint8_t buffer[37];
            const auto deadline = juce::Time::getMillisecondCounter() + 20000;
            int next = 0;
            while (next < total && juce::Time::getMillisecondCounter() < deadline)
            {
                const int got = midi.readBytes(buffer, sizeof(buffer));
                for (int i = 0; i < got; ++i, ++next)
                    if (buffer[i] != fedByte(next))
                        readerFailed = true;
                consumed = next;
                if (got == 0)
                    std::this_thread::yield();
            }
        });

    // Plays the MIDI input thread, staying within the ring's size.
    const auto deadline = juce::Time::getMillisecondCounter() + 20000;
    for (int i = 0; i < total && juce::Time::getMillisecondCounter() < deadline; i += 4)
    {
        while (i - consumed.load() > 200 && juce::Time::getMillisecondCounter() < deadline)
            std::this_thread::yield();
        const std::uint8_t bytes[] = {fedByte(i), fedByte(i + 1), fedByte(i + 2), fedByte(i + 3)};
        layer.deliverToInput(0, juce::MidiMessage(bytes, 4));
    }
    reader.join();
    EXPECT_EQ(consumed.load(), total);
    EXPECT_FALSE(readerFailed);
}
