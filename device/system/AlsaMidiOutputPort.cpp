#include "device/system/AlsaMidiOutputPort.h"

#include "device/system/SysexPacing.h"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace
{
constexpr const char* clientName = "Davirodir by Zevarir";

// A sequencer whose own pool is full answers EAGAIN; it drains within
// milliseconds, so a piece that still cannot go after this long never will.
constexpr auto busyRetryFor = std::chrono::seconds(2);
constexpr auto busyRetryStep = std::chrono::milliseconds(1);

/** Our own clients: the listing's, and one for every port open. */
bool isOwnClient(snd_seq_client_info_t* info)
{
    return juce::String(snd_seq_client_info_get_name(info)) == clientName;
}
} // namespace

std::vector<AlsaMidiOutputPort::Destination> AlsaMidiOutputPort::listDestinations()
{
    std::vector<Destination> found;
    snd_seq_t* handle = nullptr;
    if (snd_seq_open(&handle, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return found;
    snd_seq_set_client_name(handle, clientName);

    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(handle, client) == 0)
    {
        if (isOwnClient(client))
            continue;
        const int clientId = snd_seq_client_info_get_client(client);
        snd_seq_port_info_set_client(port, clientId);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(handle, port) == 0)
        {
            // The test JUCE's own listing makes, so that ids mean what they meant.
            if ((snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_SUBS_WRITE) != 0)
                found.push_back({clientId, snd_seq_port_info_get_port(port),
                                 juce::String::fromUTF8(snd_seq_port_info_get_name(port))});
        }
    }
    snd_seq_close(handle);
    return found;
}

std::unique_ptr<AlsaMidiOutputPort> AlsaMidiOutputPort::open(const Destination& destination)
{
    snd_seq_t* handle = nullptr;
    // Non-blocking: no call may sleep in the kernel where a cancel cannot reach it.
    if (snd_seq_open(&handle, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    snd_seq_set_client_name(handle, clientName);
    const int source = snd_seq_create_simple_port(
        handle, destination.name.toRawUTF8(), SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    // The subscription is what makes the kernel open the device for writing.
    if (source < 0 || snd_seq_connect_to(handle, source, destination.client, destination.port) < 0)
    {
        snd_seq_close(handle);
        return nullptr;
    }
    return std::unique_ptr<AlsaMidiOutputPort>(new AlsaMidiOutputPort(handle, source, destination));
}

AlsaMidiOutputPort::AlsaMidiOutputPort(_snd_seq* handle, int source, const Destination& destinationToUse)
    : seq(handle), sourcePort(source), destination(destinationToUse)
{
}

AlsaMidiOutputPort::~AlsaMidiOutputPort()
{
    snd_seq_close(seq);
}

bool AlsaMidiOutputPort::send(const std::uint8_t* data, int count)
{
    if (data == nullptr || count <= 0)
        return false;
    const auto began = std::chrono::steady_clock::now();
    for (const auto& piece : sysexpacing::planPieces(count))
    {
        if (!waitUntil(began + std::chrono::nanoseconds(piece.notBeforeNs)) ||
            !outputPiece(data + piece.offset, piece.length))
            return false;
    }
    // The pause after a message must start once its last byte is on the wire.
    return waitUntil(began + std::chrono::nanoseconds(sysexpacing::wireEndNs(count)));
}

bool AlsaMidiOutputPort::outputPiece(const std::uint8_t* data, int length)
{
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_source(&event, sourcePort);
    // To the port itself: sent to the subscribers, an event for a port that
    // has gone would find none and vanish without an error.
    snd_seq_ev_set_dest(&event, destination.client, destination.port);
    snd_seq_ev_set_direct(&event);
    // What snd_seq_ev_set_sysex does, without its sign-changing mask.
    event.type = SND_SEQ_EVENT_SYSEX;
    event.flags = static_cast<unsigned char>((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) |
                                             SND_SEQ_EVENT_LENGTH_VARIABLE);
    event.data.ext.len = static_cast<unsigned int>(length);
    event.data.ext.ptr = const_cast<std::uint8_t*>(data);

    const auto giveUpAt = std::chrono::steady_clock::now() + busyRetryFor;
    for (;;)
    {
        const int result = snd_seq_event_output_direct(seq, &event);
        if (result >= 0)
            return true;
        if (result != -EAGAIN || std::chrono::steady_clock::now() >= giveUpAt)
            return false;
        if (!waitUntil(std::chrono::steady_clock::now() + busyRetryStep))
            return false;
    }
}

bool AlsaMidiOutputPort::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(cancelMutex);
    // wait_until may wake early; only the clock says when the time is over.
    while (!cancelled && std::chrono::steady_clock::now() < deadline)
        cancelSignal.wait_until(lock, deadline);
    return !cancelled;
}

void AlsaMidiOutputPort::cancelStalledSend()
{
    const std::lock_guard<std::mutex> lock(cancelMutex);
    cancelled = true;
    cancelSignal.notify_all();
}
