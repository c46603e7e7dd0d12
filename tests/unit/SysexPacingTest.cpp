#include "device/system/SysexPacing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using sysexpacing::Piece;

struct PacingCase
{
    const char* name;
    int count;
    std::size_t pieces;
    Piece last; ///< worked out by hand: 320 us a byte, 1024 bytes ahead at most
    std::int64_t wireEndNs;
};

class SysexPacing : public ::testing::TestWithParam<PacingCase>
{
};

TEST_P(SysexPacing, CoversTheMessageInPiecesThatNeverRunMoreThan1KiBAheadOfTheWire)
{
    const auto& c = GetParam();
    const auto pieces = sysexpacing::planPieces(c.count);
    ASSERT_EQ(pieces.size(), c.pieces);
    EXPECT_EQ(pieces.back().offset, c.last.offset);
    EXPECT_EQ(pieces.back().length, c.last.length);
    EXPECT_EQ(pieces.back().notBeforeNs, c.last.notBeforeNs);
    EXPECT_EQ(sysexpacing::wireEndNs(c.count), c.wireEndNs);

    int expectedOffset = 0;
    std::int64_t previousStart = 0;
    for (const auto& piece : pieces)
    {
        EXPECT_EQ(piece.offset, expectedOffset);
        EXPECT_GE(piece.length, 1);
        EXPECT_LE(piece.length, 256);
        EXPECT_GE(piece.notBeforeNs, previousStart);
        // Bytes handed over by then less those the wire has carried away.
        const auto drained = piece.notBeforeNs / 320000;
        EXPECT_LE(piece.offset + piece.length - drained, 1024) << piece.offset;
        expectedOffset += piece.length;
        previousStart = piece.notBeforeNs;
    }
    EXPECT_EQ(expectedOffset, c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SysexPacing,
    ::testing::Values(
        // Fits whole: one piece at once.
        PacingCase{"Tiny", 3, 1, {0, 3, 0}, 960000}, PacingCase{"OnePiece", 256, 1, {0, 256, 0}, 81920000},
        PacingCase{"JustOverOnePiece", 257, 2, {256, 1, 0}, 82240000},
        // Four pieces fill the 1024 bytes ahead; the fifth waits for 256 bytes of wire time.
        PacingCase{"ExactlyAhead", 1024, 4, {768, 256, 0}, 327680000},
        PacingCase{"OneByteOver", 1025, 5, {1024, 1, 1 * 320000}, 328000000},
        // 4104 = 16 x 256 + 8; the last piece may go once 4104 - 1024 = 3080 bytes have drained.
        PacingCase{"Bank", 4104, 17, {4096, 8, 3080LL * 320000}, 4104LL * 320000},
        PacingCase{"LongBank", 16165, 64, {16128, 37, (16165LL - 1024) * 320000}, 16165LL * 320000},
        PacingCase{"OverAHundredKilobytes",
                   104000,
                   407,
                   {103936, 64, (104000LL - 1024) * 320000},
                   104000LL * 320000}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SysexPacingEdges, NothingToSendHasNoPieces)
{
    EXPECT_TRUE(sysexpacing::planPieces(0).empty());
    EXPECT_TRUE(sysexpacing::planPieces(-5).empty());
    EXPECT_EQ(sysexpacing::wireEndNs(0), 0);
}
} // namespace
