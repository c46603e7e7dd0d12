#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

/** The progress lines an automatic update prints for the program that drives
    it, one tab-separated line each, flushed at once:

        start     0        0     <total>  <left>
        progress  <pct>    <sent> <total> <left>      (each time the whole percent rises)
        end       <pct>    <sent> <total> 0.0  <outcome> <status>

    <left> is the seconds until the updater quits, one decimal: the wire time
    of the bytes still to send, 300 ms for each message still to send and the
    5000 ms completion pause. It is worked out, never extrapolated. The format
    is documented for users (README, Davirodir(1)) and must stay stable.
    Callable from any thread; lines never interleave. */
class ProgressLines
{
public:
    /** out must outlive this object. bitsPerSecond 0 means no wire time. */
    ProgressLines(std::ostream& out, std::uint32_t totalBytes, int totalMessages, int bitsPerSecond = 31250);

    /** Just before the first message goes out. */
    void started();

    /** After a message and its pause: bytesSent and messagesSent so far. */
    void messageSent(std::uint32_t bytesSent, int messagesSent);

    /** Just before the updater quits: outcome is "completed", "damaged",
        "unfinished" or "send-failed", status the exit status. */
    void ended(const char* outcome, int status);

    /** Seconds left in tenths, rounded half up. */
    static std::int64_t tenthsOfSecondsLeft(std::uint64_t bytesLeft, int messagesLeft, int bitsPerSecond);

private:
    void write(const std::string& line);
    std::string position(std::uint64_t tenthsLeft) const;

    std::ostream& out;
    const std::uint32_t total;
    const int messages;
    const int bitsPerSecond;
    std::mutex lock;
    std::uint32_t sent = 0;
    int lastPercent = -1;
};
