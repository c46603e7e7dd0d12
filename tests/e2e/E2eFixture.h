#pragma once

#include "e2e/AppProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace e2e
{
/** Virtual ports "Port A" and "Port B" captured into a fresh directory, and
    images written on demand. Fails (never skips) without a display. */
class E2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(getenv("DISPLAY") != nullptr)
            << "end-to-end tests need an X display (run them under xvfb-run)";
        ASSERT_TRUE(juce::File(appPath()).existsAsFile()) << "no executable at " << appPath();
        ASSERT_TRUE(waitUntil([] { return instanceLockHolder() == 0; }, 300000))
            << "another Davirodir (pid " << instanceLockHolder() << ") holds the one-instance lock";
    }

    std::map<std::string, std::string> environment(const std::string& outputs = "Port A;Port B") const
    {
        return {{"DAVIRODIR_VIRTUAL_MIDI_OUTPUTS", outputs},
                {"DAVIRODIR_VIRTUAL_MIDI_CAPTURE", capture.get().getFullPathName().toStdString()}};
    }

    /** count messages F0 7D <n> <length - 4 data bytes> F7. */
    juce::File writeImage(const juce::String& name, int count, int length = 24) const
    {
        juce::MemoryBlock bytes;
        for (int n = 0; n < count; ++n)
        {
            bytes.append("\xF0\x7D", 2);
            const auto seq = static_cast<char>(n & 0x7F);
            bytes.append(&seq, 1);
            for (int i = 0; i < length - 4; ++i)
            {
                const auto b = static_cast<char>((n + i) & 0x7F);
                bytes.append(&b, 1);
            }
            bytes.append("\xF7", 1);
        }
        return writeBytes(name, bytes);
    }

    juce::File writeBytes(const juce::String& name, const juce::MemoryBlock& bytes) const
    {
        const auto* first = static_cast<const juce::uint8*>(bytes.getData());
        return images.writeFile(name, {first, first + bytes.getSize()});
    }

    juce::File captured(const juce::String& port, const juce::String& extension) const
    {
        return capture.file(port + extension);
    }

    std::vector<CapturedSend> sends(const juce::String& port) const
    {
        return readCaptureLog(captured(port, ".log"));
    }

    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
    {
        return e2e::waitUntil(condition, timeoutMs);
    }

    /** Clicks at x, y from the window's top left corner; a negative x counts from its right edge. */
    static void clickInWindow(const juce::String& windowId, int x, int y)
    {
        const auto geometry = runCommand("xdotool getwindowgeometry --shell " + windowId);
        juce::StringArray lines;
        lines.addLines(geometry);
        const auto value = [&lines](const juce::String& key)
        {
            for (const auto& line : lines)
                if (line.startsWith(key + "="))
                    return line.fromFirstOccurrenceOf("=", false, false).getIntValue();
            return -1;
        };
        const int left = value("X"), top = value("Y"), w = value("WIDTH");
        const int atX = x < 0 ? left + w + x : left + x;
        runCommand("xdotool mousemove " + juce::String(atX) + " " + juce::String(top + y) + " click 1");
    }

    /** Clicks the glass close button at the right end of the window's title bar. */
    static void clickCloseButton(const juce::String& windowId) { clickInWindow(windowId, -20, 17); }

    testsupport::TemporaryDirectory capture, images;
};
} // namespace e2e
