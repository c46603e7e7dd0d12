#include "device/MidiInterfaceClass.h"
#include "device/system/SystemMidiPortLayer.h"
#include "device/virtual/VirtualMidiPortLayer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <vector>

namespace
{
struct LogLine
{
    double startMs, endMs;
    int bytes;
};

/** Parses "<start>\t<end>\t<bytes>" lines, both times with exactly three decimals. */
std::vector<LogLine> readLog(const juce::File& file)
{
    static const std::regex line(R"(^(\d+\.\d{3})\t(\d+\.\d{3})\t(\d+)$)");
    std::vector<LogLine> lines;
    juce::StringArray text;
    file.readLines(text);
    text.removeEmptyStrings();
    for (const auto& entry : text)
    {
        std::smatch match;
        const auto s = entry.toStdString();
        if (!std::regex_match(s, match, line))
        {
            ADD_FAILURE() << "bad log line: " << s;
            continue;
        }
        lines.push_back({std::stod(match[1]), std::stod(match[2]), std::stoi(match[3])});
    }
    return lines;
}

std::vector<std::uint8_t> readBytesOf(const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData(block);
    const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
    return {bytes, bytes + block.getSize()};
}

VirtualMidiPortLayer::Options outputsNamed(juce::StringArray names, int bitsPerSecond)
{
    VirtualMidiPortLayer::Options options;
    options.outputNames = std::move(names);
    options.bitsPerSecond = bitsPerSecond;
    return options;
}

double elapsedMsOf(const std::function<void()>& action)
{
    const auto began = juce::Time::getMillisecondCounterHiRes();
    action();
    return juce::Time::getMillisecondCounterHiRes() - began;
}

std::vector<std::uint8_t> sysexOfSize(int size, std::uint8_t fill)
{
    std::vector<std::uint8_t> message(static_cast<std::size_t>(size), fill);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

/** Sets (or, with no value, removes) environment variables and restores them. */
class EnvironmentOverride
{
public:
    explicit EnvironmentOverride(const std::map<std::string, std::optional<std::string>>& values)
    {
        for (const auto& [name, value] : values)
        {
            const char* old = std::getenv(name.c_str());
            saved[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
            apply(name, value);
        }
    }
    ~EnvironmentOverride()
    {
        for (const auto& [name, value] : saved)
            apply(name, value);
    }

private:
    static void apply(const std::string& name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved;
};

const std::map<std::string, std::optional<std::string>> noVirtualPorts = {
    {"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_INPUTS", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_CAPTURE", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_BAUD", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_FAIL_FROM", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_STALL_FROM", std::nullopt},
    {"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", std::nullopt},
};

std::map<std::string, std::optional<std::string>>
withVariables(const std::map<std::string, std::optional<std::string>>& values)
{
    auto all = noVirtualPorts;
    for (const auto& [name, value] : values)
        all[name] = value;
    return all;
}
} // namespace

// --- capture --------------------------------------------------------------

TEST(VirtualMidiCapture, WritesEveryMessageAndItsTimes)
{
    testsupport::TemporaryDirectory dir;
    auto options = outputsNamed({"Zodeduri Port", "Other"}, 31250);
    options.captureDirectory = dir.get();
    VirtualMidiPortLayer layer(options);
    auto port = layer.openOutput(0);
    ASSERT_NE(port, nullptr);

    const std::uint8_t first[] = {0xF0, 0x7D, 0x01, 0xF7};
    const std::uint8_t second[] = {0xF0, 0x00, 0x20, 0x33, 0x10, 0x7F, 0xF7};
    const auto third = sysexOfSize(100, 0x2A);
    EXPECT_TRUE(port->send(first, 4));
    EXPECT_TRUE(port->send(second, 7));
    EXPECT_TRUE(port->send(third.data(), 100));

    // Flushed per message: readable while the port is still open.
    const auto syx = dir.file("Zodeduri Port.syx");
    const auto log = dir.file("Zodeduri Port.log");
    std::vector<std::uint8_t> expected = {0xF0, 0x7D, 0x01, 0xF7, 0xF0, 0x00, 0x20, 0x33, 0x10, 0x7F, 0xF7};
    expected.insert(expected.end(), third.begin(), third.end());
    EXPECT_EQ(readBytesOf(syx), expected);

    const auto lines = readLog(log);
    ASSERT_EQ(lines.size(), 3u);
    // Wire time at 31250 bit/s is 0.32 ms a byte; the log rounds to 0.001 ms.
    const double wireMs[] = {1.28, 2.24, 32.0};
    const int sizes[] = {4, 7, 100};
    for (std::size_t i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].bytes, sizes[i]);
        EXPECT_GE(lines[i].endMs - lines[i].startMs, wireMs[i] - 0.002);
        EXPECT_LT(lines[i].endMs - lines[i].startMs, wireMs[i] + 1000.0);
        if (i > 0)
        {
            EXPECT_GE(lines[i].startMs, lines[i - 1].endMs);
        }
    }
    EXPECT_LT(lines[0].startMs, 1000.0);
    EXPECT_FALSE(dir.file("Other.syx").exists());

    // Opening again starts both files afresh.
    port.reset();
    port = layer.openOutput(0);
    EXPECT_EQ(syx.getSize(), 0);
    EXPECT_EQ(log.getSize(), 0);
    EXPECT_TRUE(port->send(first, 4));
    EXPECT_EQ(readBytesOf(syx), (std::vector<std::uint8_t>{0xF0, 0x7D, 0x01, 0xF7}));
    EXPECT_EQ(readLog(log).size(), 1u);
}

TEST(VirtualMidiCapture, CreatesAMissingDirectoryAndKeepsSlashesOutOfNames)
{
    testsupport::TemporaryDirectory dir;
    auto options = outputsNamed({"USB/MIDI 1"}, 0);
    options.captureDirectory = dir.file("deeper/captures");
    VirtualMidiPortLayer layer(options);
    auto port = layer.openOutput(0);
    const std::uint8_t message[] = {0xF0, 0x01, 0xF7};
    ASSERT_TRUE(port->send(message, 3));
    EXPECT_EQ(readBytesOf(dir.file("deeper/captures/USB_MIDI 1.syx")),
              (std::vector<std::uint8_t>{0xF0, 0x01, 0xF7}));
}

// Capture files are named alike on every system, so none may hold what Windows refuses.
TEST(VirtualMidiCapture, NamesCaptureFilesWithoutWhatWindowsRefuses)
{
    struct Case
    {
        const char* port;
        const char* file;
    };
    const Case cases[] = {
        {"A\\B", "A_B"},
        {"Out: 1", "Out_ 1"},
        {"a*b?c\"d<e>f|g", "a_b_c_d_e_f_g"},
        {"Z\xc3\xb6"
         "deduri Win",
         "Z\xc3\xb6"
         "deduri Win"}, // not ASCII, kept as it is
    };
    for (const auto& c : cases)
    {
        testsupport::TemporaryDirectory dir;
        auto options = outputsNamed({juce::String::fromUTF8(c.port)}, 0);
        options.captureDirectory = dir.get();
        VirtualMidiPortLayer layer(options);
        auto port = layer.openOutput(0);
        const std::uint8_t message[] = {0xF0, 0x02, 0xF7};
        ASSERT_TRUE(port->send(message, 3)) << c.port;
        EXPECT_EQ(readBytesOf(dir.file(juce::String::fromUTF8(c.file) + ".syx")),
                  (std::vector<std::uint8_t>{0xF0, 0x02, 0xF7}))
            << c.port;
        EXPECT_EQ(dir.get().getNumberOfChildFiles(juce::File::findFiles), 2) << c.port;
    }
}

// --- wire time --------------------------------------------------------------

TEST(VirtualMidiWireTime, ASendBlocksForTheMessagesWireTime)
{
    struct Case
    {
        int bitsPerSecond;
        int bytes;
        double atLeastMs;
    };
    const std::vector<Case> cases = {
        {31250, 1000, 320.0}, // 10 bits a byte: 0.32 ms each
        {9600, 96, 100.0},
        {0, 10000, 0.0}, // would be 3200 ms at MIDI speed
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bitsPerSecond);
        VirtualMidiPortLayer layer(outputsNamed({"Out"}, c.bitsPerSecond));
        auto port = layer.openOutput(0);
        const auto message = sysexOfSize(c.bytes, 0x01);
        bool sent = false;
        const double took = elapsedMsOf([&] { sent = port->send(message.data(), c.bytes); });
        EXPECT_TRUE(sent);
        EXPECT_GE(took, c.atLeastMs - 0.5);
        EXPECT_LT(took, c.atLeastMs + 1500.0);
    }
}

// --- faults ---------------------------------------------------------------

TEST(VirtualMidiFaults, SendsFailFromTheChosenMessageOn)
{
    testsupport::TemporaryDirectory dir;
    auto options = outputsNamed({"Out"}, 31250);
    options.captureDirectory = dir.get();
    options.failFrom = 3;
    VirtualMidiPortLayer layer(options);
    auto port = layer.openOutput(0);

    const auto message = sysexOfSize(1000, 0x33); // 320 ms on the wire
    for (int number = 1; number <= 5; ++number)
    {
        SCOPED_TRACE(number);
        bool sent = false;
        const double took = elapsedMsOf([&] { sent = port->send(message.data(), 1000); });
        EXPECT_EQ(sent, number < 3);
        if (number >= 3)
        {
            EXPECT_LT(took, 160.0);
        }
    }
    EXPECT_EQ(layer.getSendsBegun(0), 5);
    EXPECT_EQ(layer.getSentMessages(0).size(), 2u);
    EXPECT_EQ(dir.file("Out.syx").getSize(), 2000);
    EXPECT_EQ(readLog(dir.file("Out.log")).size(), 2u);

    // The count starts again with each opening.
    port.reset();
    port = layer.openOutput(0);
    EXPECT_TRUE(port->send(message.data(), 10));
}

TEST(VirtualMidiFaults, AStallEndsWhenCancelledAndLaterSendsDoNotStall)
{
    auto options = outputsNamed({"Out"}, 0);
    options.stallFrom = 1;
    VirtualMidiPortLayer layer(options);
    auto port = layer.openOutput(0);
    const std::uint8_t message[] = {0xF0, 0x01, 0xF7};

    std::atomic<bool> returned{false};
    std::atomic<bool> result{true};
    std::thread sender(
        [&]
        {
            result = port->send(message, 3);
            returned = true;
        });
    ASSERT_TRUE(testsupport::runMessageLoopUntil([&] { return layer.getSendsBegun(0) == 1; }, 5000));
    testsupport::runMessageLoopFor(200);
    EXPECT_FALSE(returned);

    port->cancelStalledSend();
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return returned.load(); }, 5000));
    sender.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(port->send(message, 3));
    EXPECT_TRUE(layer.getSentMessages(0).empty());
}

TEST(VirtualMidiPorts, AMarkedNameIsListedPlainAndDoesNotOpen)
{
    VirtualMidiPortLayer::Options options;
    options.outputNames = {"Alpha", "!Busy"};
    options.inputNames = {"!Broken", "Keys"};
    VirtualMidiPortLayer layer(options);
    EXPECT_EQ(layer.getOutputNames(), juce::StringArray({"Alpha", "Busy"}));
    EXPECT_EQ(layer.getInputNames(), juce::StringArray({"Broken", "Keys"}));
    EXPECT_NE(layer.openOutput(0), nullptr);
    EXPECT_EQ(layer.openOutput(1), nullptr);
    EXPECT_EQ(layer.openOutput(2), nullptr);
    EXPECT_EQ(layer.openOutput(-1), nullptr);
    EXPECT_EQ(layer.openInput(0, nullptr), nullptr);
    EXPECT_NE(layer.openInput(1, nullptr), nullptr);
    EXPECT_EQ(layer.openInput(2, nullptr), nullptr);
}

TEST(VirtualMidiPorts, AnInputDeliversOnlyWhileStarted)
{
    struct Recorder : juce::MidiInputCallback
    {
        void handleIncomingMidiMessage(juce::MidiInput* source, const juce::MidiMessage& message) override
        {
            sources.push_back(source);
            messages.push_back(message);
        }
        std::vector<juce::MidiInput*> sources;
        std::vector<juce::MidiMessage> messages;
    } recorder;

    VirtualMidiPortLayer::Options options;
    options.inputNames = {"Keys"};
    VirtualMidiPortLayer layer(options);
    const juce::MidiMessage noteOn(0x90, 60, 100);
    EXPECT_FALSE(layer.deliverToInput(0, noteOn)); // not open

    auto port = layer.openInput(0, &recorder);
    EXPECT_FALSE(layer.deliverToInput(0, noteOn)); // not started
    port->start();
    EXPECT_TRUE(layer.deliverToInput(0, noteOn));
    EXPECT_FALSE(layer.deliverToInput(1, noteOn));
    port->stop();
    EXPECT_FALSE(layer.deliverToInput(0, noteOn));
    port->start();
    port.reset();
    EXPECT_FALSE(layer.deliverToInput(0, noteOn));

    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.sources[0], nullptr);
    ASSERT_EQ(recorder.messages[0].getRawDataSize(), 3);
    EXPECT_EQ(recorder.messages[0].getRawData()[0], 0x90);
    EXPECT_EQ(recorder.messages[0].getRawData()[1], 60);
    EXPECT_EQ(recorder.messages[0].getRawData()[2], 100);
}

// --- environment --------------------------------------------------------------

TEST(VirtualMidiEnvironment, WithoutVariablesTheSystemsPortsAreUsed)
{
    EnvironmentOverride environment(noVirtualPorts);
    auto layer = MidiPortLayer::createFromEnvironment();
    EXPECT_NE(dynamic_cast<SystemMidiPortLayer*>(layer.get()), nullptr);
}

TEST(VirtualMidiEnvironment, VariablesChooseThePorts)
{
    testsupport::TemporaryDirectory dir;
    const auto names = dir.file("outputs.txt");
    ASSERT_TRUE(names.replaceWithText("Zodeduri MIDI\n!Busy\n\n  USB Cable  \n"));
    struct Case
    {
        const char* what;
        std::map<std::string, std::optional<std::string>> variables;
        juce::StringArray outputs, inputs;
    };
    const std::vector<Case> cases = {
        {"outputs only",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Alpha;!Busy;Gamma"}},
         {"Alpha", "Busy", "Gamma"},
         {}},
        {"inputs only", {{"DAVIRODIR_VIRTUAL_MIDI_INPUTS", "Keys"}}, {}, {"Keys"}},
        {"set but empty", {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", ""}}, {}, {}},
        {"empty names dropped", {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", ";A;;B C;"}}, {"A", "B C"}, {}},
        {"not ASCII (UTF-8)",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Z\xc3\xb6"
                                             "deduri Win"}},
         {juce::String::fromUTF8("Z\xc3\xb6"
                                 "deduri Win")},
         {}},
        {"single digits",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "0"}, {"DAVIRODIR_VIRTUAL_MIDI_INPUTS", "1"}},
         {"0"},
         {"1"}},
        {"names from a file, one a line",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", names.getFullPathName().toStdString()}},
         {"Zodeduri MIDI", "Busy", "USB Cable"},
         {}},
        {"the file wins over the list",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Alpha"},
          {"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", names.getFullPathName().toStdString()}},
         {"Zodeduri MIDI", "Busy", "USB Cable"},
         {}},
        {"a missing file lists none",
         {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS_FILE", dir.file("absent.txt").getFullPathName().toStdString()}},
         {},
         {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        EnvironmentOverride environment(withVariables(c.variables));
        auto layer = MidiPortLayer::createFromEnvironment();
        ASSERT_NE(dynamic_cast<VirtualMidiPortLayer*>(layer.get()), nullptr);
        EXPECT_EQ(layer->getOutputNames(), c.outputs);
        EXPECT_EQ(layer->getInputNames(), c.inputs);
    }
}

TEST(VirtualMidiEnvironment, VariablesSetCaptureSpeedAndFaults)
{
    testsupport::TemporaryDirectory dir;
    struct Case
    {
        const char* what;
        std::map<std::string, std::optional<std::string>> variables;
        int sendsThatLeave; // of three
        double atLeastMs;   // for the three 500-byte sends
        double below;
    };
    const auto capture = dir.get().getFullPathName().toStdString();
    const std::vector<Case> cases = {
        // Three times 500 bytes at 0.32 ms a byte.
        {"default speed", {}, 3, 480.0, 3000.0},
        {"speed not a number", {{"DAVIRODIR_VIRTUAL_MIDI_BAUD", "fast"}}, 3, 480.0, 3000.0},
        {"no wire time", {{"DAVIRODIR_VIRTUAL_MIDI_BAUD", "0"}}, 3, 0.0, 240.0},
        {"half speed", {{"DAVIRODIR_VIRTUAL_MIDI_BAUD", "15625"}}, 3, 960.0, 4000.0},
        {"fail from 2",
         {{"DAVIRODIR_VIRTUAL_MIDI_BAUD", "0"}, {"DAVIRODIR_VIRTUAL_MIDI_FAIL_FROM", "2"}},
         1,
         0.0,
         240.0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto variables = c.variables;
        variables["DAVIRODIR_VIRTUAL_MIDI_OUTPUTS"] = "Out";
        variables["DAVIRODIR_VIRTUAL_MIDI_CAPTURE"] = capture;
        EnvironmentOverride environment(withVariables(variables));
        auto layer = MidiPortLayer::createFromEnvironment();
        layer->getOutputNames();
        auto port = layer->openOutput(0);
        ASSERT_NE(port, nullptr);
        const auto message = sysexOfSize(500, 0x44);
        const double took = elapsedMsOf(
            [&]
            {
                for (int i = 0; i < 3; ++i)
                    port->send(message.data(), 500);
            });
        EXPECT_GE(took, c.atLeastMs - 0.5);
        EXPECT_LT(took, c.below);
        EXPECT_EQ(dir.file("Out.syx").getSize(), 500 * c.sendsThatLeave);
        EXPECT_EQ(readLog(dir.file("Out.log")).size(), static_cast<std::size_t>(c.sendsThatLeave));
    }
}

TEST(VirtualMidiEnvironment, AStallChosenByTheEnvironmentEndsWhenTheInterfaceCloses)
{
    EnvironmentOverride environment(withVariables({{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", "Out"},
                                                   {"DAVIRODIR_VIRTUAL_MIDI_BAUD", "0"},
                                                   {"DAVIRODIR_VIRTUAL_MIDI_STALL_FROM", "2"}}));
    const auto layer = MidiPortLayer::createFromEnvironment();
    MidiInterfaceClass midi(true, false, *layer);
    midi.selectOutputById(1);
    EXPECT_TRUE(midi.isConnected());
    // The selector's later report opens the port again, which restarts its count.
    testsupport::runMessageLoopFor(50);

    const std::uint8_t message[] = {0xF0, 0x01, 0xF7};
    std::atomic<int> returned{0};
    std::thread sender(
        [&]
        {
            for (int i = 0; i < 2; ++i, ++returned)
                midi.sendBytes(message, 3);
        });
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return returned.load() == 1; }, 5000));
    testsupport::runMessageLoopFor(200);
    EXPECT_EQ(returned.load(), 1);
    midi.closePorts();
    EXPECT_TRUE(testsupport::runMessageLoopUntil([&] { return returned.load() == 2; }, 5000));
    sender.join();
    EXPECT_FALSE(midi.isConnected());
}
