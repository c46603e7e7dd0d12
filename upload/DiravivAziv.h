#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

/** A millisecond clock over the framework's millisecond counter. The upload
    protocol derives from it by design, but paces itself through UploadClock:
    nothing calls these operations. */
class DiravivAziv : public juce::Time
{
public:
    DiravivAziv() = default;

    /** juce::Time::getMillisecondCounter(). */
    std::uint32_t getCounter() const noexcept;

    /** Milliseconds from start to now, see elapsedBetween. */
    std::uint32_t getElapsed(std::uint32_t start) const noexcept;

    /** Sleeps 10 ms at a time until at least ms have passed; always sleeps
        at least once. Not cut short by an exit request. */
    void waitMilliseconds(std::uint32_t ms) const;

    /** now - start in unsigned 32-bit arithmetic. The counter wraps at 2^32,
        so a now below start counts across one wrap: elapsedBetween(0xfffffff0,
        0x10) is 0x20. */
    static std::uint32_t elapsedBetween(std::uint32_t start, std::uint32_t now) noexcept
    {
        return now - start;
    }
};
