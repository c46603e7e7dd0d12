#include "device/virtual/VirtualMidiOutputPort.h"

#include "device/MidiWire.h"

namespace
{
std::unique_ptr<juce::FileOutputStream> createCaptureFile(const juce::File& directory,
                                                          const juce::String& portName, const char* extension)
{
    // A port name may hold path separators, and characters Windows refuses in
    // a file name; the capture stays in the directory, named alike everywhere.
    const auto fileName = portName.replaceCharacters("/\\:*?\"<>|", "_________") + extension;
    // Unbuffered: every write reaches the system at once, so a reader can
    // follow a running upload. JUCE's flush would also sync to the disk, which
    // took milliseconds between two messages and counted as the updater's time.
    auto stream = std::make_unique<juce::FileOutputStream>(directory.getChildFile(fileName), 0);
    if (stream->failedToOpen() || !stream->setPosition(0) || !stream->truncate().wasOk())
        return nullptr;
    return stream;
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
    // Closed before a listener hears of it.
    syxFile.reset();
    logFile.reset();
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
        midiwire::sleepUntil(began + std::chrono::nanoseconds(wireNanoseconds));
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
    if (syxFile != nullptr)
        syxFile->write(data, static_cast<std::size_t>(count));
    if (logFile != nullptr)
        logFile->writeText(juce::String(startMs, 3) + "\t" + juce::String(endMs, 3) + "\t" +
                               juce::String(count) + "\n",
                           false, false, nullptr);
}
