#include "upload/SysexFraming.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

struct LengthCase
{
    const char* name;
    Bytes bytes;
    std::size_t available;
    std::size_t length;
};

class SysexFramingLength : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(SysexFramingLength, RunsFromTheF0ThroughTheFirstF7WithinTheAvailableBytes)
{
    const auto& c = GetParam();
    EXPECT_EQ(nextMessageLength(c.bytes.data(), c.available), c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysexFramingLength,
    ::testing::Values(LengthCase{"Plain", {0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7}, 6, 3},
                      LengthCase{"Empty", {0xf0, 0xf7}, 2, 2},
                      LengthCase{"JoinsAMessageLackingItsF7", {0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7}, 6, 6},
                      LengthCase{"F7BeyondTheAvailableBytes", {0xf0, 0x01, 0xf7}, 2, 0},
                      LengthCase{"NoF7", {0xf0, 0x01, 0x02}, 3, 0},
                      LengthCase{"NotAnF0", {0x01, 0xf0, 0xf7}, 3, 0}, LengthCase{"LoneF7", {0xf7}, 1, 0},
                      LengthCase{"NothingAvailable", {0xf0, 0xf7}, 0, 0}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct ImageCase
{
    const char* name;
    Bytes bytes;
    bool clean;
};

class SysexFramingImage : public ::testing::TestWithParam<ImageCase>
{
};

TEST_P(SysexFramingImage, IsCleanOnlyWhenCompleteMessagesFillIt)
{
    const auto& c = GetParam();
    EXPECT_EQ(isCleanSysexImage(c.bytes.data(), c.bytes.size()), c.clean);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysexFramingImage,
    ::testing::Values(
        ImageCase{"OneMessage", {0xf0, 0x7e, 0xf7}, true},
        ImageCase{"ThreeMessages", {0xf0, 0x01, 0xf7, 0xf0, 0x02, 0x03, 0xf7, 0xf0, 0xf7}, true},
        ImageCase{"JoinedMessage", {0xf0, 0x01, 0x02, 0xf0, 0x03, 0xf7}, true},
        ImageCase{"StrayByteAtTheStart", {0x00, 0xf0, 0x01, 0xf7}, false},
        ImageCase{"StrayF7AtTheStart", {0xf7, 0xf0, 0x01, 0xf7}, false},
        ImageCase{"StrayByteBetweenMessages", {0xf0, 0x01, 0xf7, 0x55, 0xf0, 0x02, 0xf7}, false},
        ImageCase{"StrayByteAtTheEnd", {0xf0, 0x01, 0xf7, 0x00}, false},
        ImageCase{"SecondF7AtTheEnd", {0xf0, 0x01, 0xf7, 0xf7}, false},
        ImageCase{"TruncatedLastMessage", {0xf0, 0x01, 0xf7, 0xf0, 0x02, 0x03}, false},
        ImageCase{"LoneF0", {0xf0}, false}, ImageCase{"LoneF7", {0xf7}, false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(SysexFraming, NoDataIsNotAnImage)
{
    const std::uint8_t byte = 0xf0;
    EXPECT_FALSE(isCleanSysexImage(nullptr, 0));
    EXPECT_FALSE(isCleanSysexImage(&byte, 0));
    EXPECT_EQ(nextMessageLength(nullptr, 5), 0u);
}
} // namespace

namespace
{
TEST(SysexFramingCount, CountsTheWholeMessagesAnUploadSends)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int messages;
    };
    const std::vector<Case> cases = {
        {"none", {}, 0},
        {"one", {0xF0, 0x7D, 0xF7}, 1},
        {"three, one empty", {0xF0, 0x01, 0xF7, 0xF0, 0x02, 0x03, 0xF7, 0xF0, 0xF7}, 3},
        // An inner F0 belongs to the message it stands in.
        {"joined block", {0xF0, 0x7D, 0x01, 0xF7, 0xF0, 0x01, 0x02, 0xF0, 0x03, 0xF7}, 2},
        {"stops at a stray byte", {0xF0, 0x01, 0xF7, 0x55, 0xF0, 0x02, 0xF7}, 1},
        {"a last message without F7 is not one", {0xF0, 0x01, 0xF7, 0xF0, 0x02}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(countMessages(c.bytes.data(), c.bytes.size()), c.messages) << c.what;
}
} // namespace
