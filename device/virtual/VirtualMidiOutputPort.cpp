#include "device/virtual/VirtualMidiOutputPort.h"

#include <thread>

namespace
{
std::FILE* createCaptureFile(const juce::File& directory, const juce::String& portName, const char* extension)
{
    // A port name may hold path separators; the capture stays in the directory.
    auto fileName = portName.replaceCharacters("/\\", "__") + extension;
    return std::fopen(directory.getChildFile(fileName).getFullPathName().toRawUTF8(), "wb");
}
} // namespace

VirtualMidiOutputPort::VirtualMidiOutputPort(Settings portSettings)
    : settings(std::move(portSettings)), openedAt(std::chrono::steady_clock::now())
{
    if (settings.captureDirectory != juce::File() && settings.captureDirectory.createDirectory().wasOk())
    {
        syxFile = createCaptureFile(settings.captureDirectory, settings.name, ".syx");
        logFile = createCaptureFile(settings.captureDirectory, settings.name, ".log");
    }
}

VirtualMidiOutputPort::~VirtualMidiOutputPort()
{
    if (syxFile != nullptr)
        std::fclose(syxFile);
    if (logFile != nullptr)
        std::fclose(logFile);
    if (settings.onClosed)
        settings.onClosed();
}

bool VirtualMidiOutputPort::send(const std::uint8_t* data, int count)
{
    const auto began = std::chrono::steady_clock::now();
    if (data == nullptr || count <= 0)
        return false;
    const int number = ++sendsBegun;
    if (settings.onSendBegun)
        settings.onSendBegun();

    if (settings.failFrom > 0 && number >= settings.failFrom)
        return false;
    if (settings.isPresent && !settings.isPresent())
        return false;
    if (settings.stallFrom > 0 && number >= settings.stallFrom)
    {
        std::unique_lock<std::mutex> lock(stallMutex);
        stallReleased.wait(lock, [this] { return cancelled; });
        return false;
    }

    if (settings.bitsPerSecond > 0)
    {
        const auto wireNanoseconds = std::int64_t{count} * 10 * 1000000000 / settings.bitsPerSecond;
        std::this_thread::sleep_until(began + std::chrono::nanoseconds(wireNanoseconds));
    }
    const auto ended = std::chrono::steady_clock::now();
    capture(data, count, millisecondsSinceOpened(began), millisecondsSinceOpened(ended));
    if (settings.onSent)
        settings.onSent(data, count);
    return true;
}

void VirtualMidiOutputPort::cancelStalledSend()
{
    {
        const std::lock_guard<std::mutex> lock(stallMutex);
        cancelled = true;
    }
    stallReleased.notify_all();
}

double VirtualMidiOutputPort::millisecondsSinceOpened(std::chrono::steady_clock::time_point when) const
{
    return std::chrono::duration<double, std::milli>(when - openedAt).count();
}

void VirtualMidiOutputPort::capture(const std::uint8_t* data, int count, double startMs, double endMs)
{
    // Flushed per message so that a reader can follow a running upload.
    if (syxFile != nullptr)
    {
        std::fwrite(data, 1, static_cast<std::size_t>(count), syxFile);
        std::fflush(syxFile);
    }
    if (logFile != nullptr)
    {
        std::fprintf(logFile, "%.3f\t%.3f\t%d\n", startMs, endMs, count);
        std::fflush(logFile);
    }
}
