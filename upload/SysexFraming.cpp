#include "upload/SysexFraming.h"

namespace
{
constexpr std::uint8_t messageStartByte = 0xf0;
constexpr std::uint8_t messageEndByte = 0xf7;
} // namespace

std::size_t nextMessageLength(const std::uint8_t* start, std::size_t available) noexcept
{
    if (start == nullptr || available == 0 || start[0] != messageStartByte)
        return 0;
    for (std::size_t i = 1; i < available; ++i)
        if (start[i] == messageEndByte)
            return i + 1;
    return 0;
}

bool isCleanSysexImage(const std::uint8_t* data, std::size_t size) noexcept
{
    if (data == nullptr || size == 0)
        return false;
    std::size_t position = 0;
    while (position < size)
    {
        const auto length = nextMessageLength(data + position, size - position);
        if (length == 0)
            return false;
        position += length;
    }
    return true;
}

int countMessages(const std::uint8_t* data, std::size_t size) noexcept
{
    int count = 0;
    std::size_t offset = 0;
    while (offset < size)
    {
        const auto length = nextMessageLength(data + offset, size - offset);
        if (length == 0)
            break;
        offset += length;
        ++count;
    }
    return count;
}
