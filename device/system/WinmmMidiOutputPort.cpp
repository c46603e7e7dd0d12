#include "device/system/WinmmMidiOutputPort.h"

#if JUCE_WINDOWS

#include "device/MidiWire.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <vector>

namespace
{
// Beyond its wire time a driver gets this long to finish a buffer.
constexpr std::chrono::milliseconds driverDeadline{2000};
// After midiOutReset a driver hands back its buffers at once; this is a bound.
constexpr std::chrono::milliseconds resetDeadline{1000};

HMIDIOUT toHandle(void* handle)
{
    return static_cast<HMIDIOUT>(handle);
}

bool isDone(const MIDIHDR& header)
{
    // The driver sets the flag from a thread of its own.
    return (reinterpret_cast<const volatile DWORD&>(header.dwFlags) & MHDR_DONE) != 0;
}

/** The bytes and their header live together: one the driver never gave back
    must not be freed under it. */
struct Buffer
{
    std::vector<char> bytes;
    MIDIHDR header{};
};
} // namespace

std::unique_ptr<WinmmMidiOutputPort> WinmmMidiOutputPort::open(const juce::String& juceName)
{
    // The list as juce_win32_Midi.cpp makes it: the devices whose capabilities
    // can be read, in device order, duplicate names numbered.
    juce::StringArray names;
    std::vector<UINT> ids;
    for (UINT id = 0; id < midiOutGetNumDevs(); ++id)
    {
        MIDIOUTCAPSW caps{};
        if (midiOutGetDevCapsW(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR)
            continue;
        names.add(juce::String(caps.szPname));
        ids.push_back(id);
    }
    names.appendNumbersToDuplicates(false, false, juce::CharPointer_UTF8("-"), juce::CharPointer_UTF8(""));
    const int index = names.indexOf(juceName);
    if (index < 0)
        return nullptr;
    HMIDIOUT handle = nullptr;
    if (midiOutOpen(&handle, ids[static_cast<std::size_t>(index)], 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return nullptr;
    return std::unique_ptr<WinmmMidiOutputPort>(new WinmmMidiOutputPort(handle));
}

WinmmMidiOutputPort::WinmmMidiOutputPort(void* openedHandle) : handle(openedHandle) {}

WinmmMidiOutputPort::~WinmmMidiOutputPort()
{
    midiOutReset(toHandle(handle));
    midiOutClose(toHandle(handle));
}

bool WinmmMidiOutputPort::send(const std::uint8_t* data, int count)
{
    if (data == nullptr || count <= 0 || cancelled)
        return false;
    const auto began = std::chrono::steady_clock::now();
    const auto wireEnd = began + midiwire::wireTime(count);

    auto buffer = std::make_unique<Buffer>();
    buffer->bytes.assign(data, data + count);
    auto& header = buffer->header;
    header.lpData = buffer->bytes.data();
    header.dwBufferLength = header.dwBytesRecorded = static_cast<DWORD>(count);
    const auto out = toHandle(handle);
    if (midiOutPrepareHeader(out, &header, sizeof(header)) != MMSYSERR_NOERROR)
        return false;

    bool sent = midiOutLongMsg(out, &header, sizeof(header)) == MMSYSERR_NOERROR;
    if (sent)
    {
        const auto deadline = wireEnd + driverDeadline;
        while (!isDone(header))
        {
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline || (cancelled && now >= wireEnd))
            {
                sent = false;
                midiOutReset(out);
                const auto resetEnd = std::chrono::steady_clock::now() + resetDeadline;
                while (!isDone(header) && std::chrono::steady_clock::now() < resetEnd)
                    Sleep(1);
                break;
            }
            Sleep(1);
        }
    }

    MMRESULT unprepared = MIDIERR_STILLPLAYING;
    for (int attempt = 0; attempt < 500 && unprepared == MIDIERR_STILLPLAYING; ++attempt)
    {
        unprepared = midiOutUnprepareHeader(out, &header, sizeof(header));
        if (unprepared == MIDIERR_STILLPLAYING)
            Sleep(2);
    }
    if (unprepared == MIDIERR_STILLPLAYING)
        static_cast<void>(buffer.release()); // still the driver's: leaked rather than freed under it

    if (sent)
        midiwire::sleepUntil(wireEnd);
    return sent;
}

void WinmmMidiOutputPort::cancelStalledSend()
{
    cancelled = true;
}

#endif
