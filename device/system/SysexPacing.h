#pragma once

#include <cstdint>
#include <vector>

/** How a long SysEx message is handed to a driver that keeps its bytes in a
    small buffer and drops what does not fit: in pieces, each given only once
    the wire has drained enough that no more than a fixed number of bytes
    wait ahead of it. The wire drains at MIDI speed from the moment the first
    piece is handed over. Plain arithmetic, no I/O. */
namespace sysexpacing
{
/** MIDI's wire speed: 31250 bit/s at 10 bits a byte. */
constexpr std::int64_t wireNanosecondsPerByte = 320000;
/** The largest piece handed over at once. */
constexpr int maxPieceBytes = 256;
/** The most bytes ever waiting ahead of the wire; the kernel's buffer holds 4096. */
constexpr int maxBytesAhead = 1024;

struct Piece
{
    int offset;               ///< first byte of the piece in the message
    int length;               ///< 1 to maxPieceBytes
    std::int64_t notBeforeNs; ///< when it may be handed over, from the first piece
};

/** The pieces of a message of count bytes, in order, covering it exactly;
    empty for a count below 1. A piece may go once the bytes handed over
    before it, plus its own, exceed what the wire has drained by no more than
    maxBytesAhead. */
std::vector<Piece> planPieces(int count);

/** When the last of count bytes has left the wire, from the first piece:
    count x wireNanosecondsPerByte. */
std::int64_t wireEndNs(int count);
} // namespace sysexpacing
