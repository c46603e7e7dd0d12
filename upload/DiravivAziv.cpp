#include "upload/DiravivAziv.h"

std::uint32_t DiravivAziv::getCounter() const noexcept
{
    return juce::Time::getMillisecondCounter();
}

std::uint32_t DiravivAziv::getElapsed(std::uint32_t start) const noexcept
{
    return elapsedBetween(start, getCounter());
}

void DiravivAziv::waitMilliseconds(std::uint32_t ms) const
{
    const auto start = getCounter();
    do
        juce::Thread::sleep(10);
    while (getElapsed(start) < ms);
}
