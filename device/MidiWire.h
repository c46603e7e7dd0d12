#pragma once

#include <chrono>
#include <cstdint>

/** Time on a MIDI wire, and a wait that never ends early. */
namespace midiwire
{
/** 10 bits a byte at 31250 bit/s. */
constexpr std::int64_t nanosecondsPerByte = 320000;

inline std::chrono::nanoseconds wireTime(int bytes)
{
    return std::chrono::nanoseconds(nanosecondsPerByte * bytes);
}

/** Returns once the steady clock has reached deadline. sleep_until alone may
    return early: MinGW's by up to a millisecond. */
void sleepUntil(std::chrono::steady_clock::time_point deadline);
} // namespace midiwire
