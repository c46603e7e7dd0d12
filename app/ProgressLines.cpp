#include "app/ProgressLines.h"

namespace
{
constexpr std::int64_t pauseAfterMessageUs = 300000;
constexpr std::int64_t completionPauseUs = 5000000;
constexpr std::int64_t bitsPerByte = 10; // start, 8 data bits, stop

std::string secondsText(std::int64_t tenths)
{
    // Integer arithmetic: the decimal point must not follow the locale.
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}
} // namespace

ProgressLines::ProgressLines(std::ostream& out_, std::uint32_t totalBytes, int totalMessages,
                             int bitsPerSecond_)
    : out(out_), total(totalBytes), messages(totalMessages), bitsPerSecond(bitsPerSecond_)
{
}

std::int64_t ProgressLines::tenthsOfSecondsLeft(std::uint64_t bytesLeft, int messagesLeft, int bps)
{
    const auto wireUs = bps > 0 ? static_cast<std::int64_t>(bytesLeft) * bitsPerByte * 1000000 /
                                      static_cast<std::int64_t>(bps)
                                : 0;
    const auto us = wireUs + pauseAfterMessageUs * messagesLeft + completionPauseUs;
    return (us + 50000) / 100000;
}

std::string ProgressLines::position(std::uint64_t tenthsLeft) const
{
    const auto percent = total > 0 ? static_cast<std::uint64_t>(sent) * 100 / total : 0;
    return std::to_string(percent) + "\t" + std::to_string(sent) + "\t" + std::to_string(total) + "\t" +
           secondsText(static_cast<std::int64_t>(tenthsLeft));
}

void ProgressLines::started()
{
    const std::lock_guard<std::mutex> guard(lock);
    sent = 0;
    lastPercent = 0;
    write("start\t" +
          position(static_cast<std::uint64_t>(tenthsOfSecondsLeft(total, messages, bitsPerSecond))));
}

void ProgressLines::messageSent(std::uint32_t bytesSent, int messagesSent)
{
    const std::lock_guard<std::mutex> guard(lock);
    sent = bytesSent;
    const auto percent = total > 0 ? static_cast<int>(static_cast<std::uint64_t>(sent) * 100 / total) : 100;
    if (percent <= lastPercent)
        return;
    lastPercent = percent;
    const auto tenths = tenthsOfSecondsLeft(total - sent, messages - messagesSent, bitsPerSecond);
    write("progress\t" + position(static_cast<std::uint64_t>(tenths)));
}

void ProgressLines::ended(const char* outcome, int status)
{
    const std::lock_guard<std::mutex> guard(lock);
    write("end\t" + position(0) + "\t" + outcome + "\t" + std::to_string(status));
}

void ProgressLines::write(const std::string& line)
{
    out << line << "\n" << std::flush;
}
