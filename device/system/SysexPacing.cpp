#include "device/system/SysexPacing.h"

#include <algorithm>

namespace sysexpacing
{
std::vector<Piece> planPieces(int count)
{
    std::vector<Piece> pieces;
    for (int offset = 0; offset < count; offset += maxPieceBytes)
    {
        const int length = std::min(maxPieceBytes, count - offset);
        // Bytes ahead of the wire at time t: offset + length - t / wireNanosecondsPerByte.
        const std::int64_t mustHaveDrained = std::max(0, offset + length - maxBytesAhead);
        pieces.push_back({offset, length, mustHaveDrained * wireNanosecondsPerByte});
    }
    return pieces;
}

std::int64_t wireEndNs(int count)
{
    return std::int64_t{std::max(0, count)} * wireNanosecondsPerByte;
}
} // namespace sysexpacing
