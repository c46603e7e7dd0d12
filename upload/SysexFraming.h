#pragma once

#include <cstddef>
#include <cstdint>

/** Length of the SysEx message at start: from its F0 through the first F7
    after it, both included; bytes in between are not examined, so a message
    lacking its F7 runs on through the next one's. 0 when start holds no F0,
    available is 0, or no F7 follows within the available bytes. Reads at most
    available bytes. */
std::size_t nextMessageLength(const std::uint8_t* start, std::size_t available) noexcept;

/** True when size is above 0 and the bytes are nothing but complete messages
    in the sense of nextMessageLength, the last ending on the last byte. */
bool isCleanSysexImage(const std::uint8_t* data, std::size_t size) noexcept;

/** How many messages an upload of these bytes sends: the whole messages in
    the sense of nextMessageLength, from the first byte on; 0 for none. */
int countMessages(const std::uint8_t* data, std::size_t size) noexcept;
