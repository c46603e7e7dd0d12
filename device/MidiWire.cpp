#include "device/MidiWire.h"

#include <thread>

namespace midiwire
{
void sleepUntil(std::chrono::steady_clock::time_point deadline)
{
    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_until(deadline);
}
} // namespace midiwire
