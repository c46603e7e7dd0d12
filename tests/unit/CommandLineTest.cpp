#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace
{
struct CommandLineCase
{
    const char* line;
    bool fileGiven;
    const char* path;
    bool autoUpdate;
    int input;
    int output;
};

class CommandLineTable : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLineTable, FollowsTheSwitchRules)
{
    const auto& c = GetParam();
    const auto options = interpretCommandLine(juce::String::fromUTF8(c.line));
    EXPECT_EQ(options.fileGiven, c.fileGiven);
    EXPECT_EQ(options.filePath, juce::String(c.path));
    EXPECT_EQ(options.autoUpdate, c.autoUpdate);
    EXPECT_EQ(options.nInputid, c.input);
    EXPECT_EQ(options.nOutputid, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTable,
    ::testing::Values(
        CommandLineCase{"", false, "", false, 1, 1}, CommandLineCase{"--autoupdate", false, "", true, 1, 1},
        CommandLineCase{"--autoupdate --outputid 3", false, "", true, 1, 3},
        CommandLineCase{"--autoupdate --outputid 0", false, "", true, 1, 1},
        CommandLineCase{"--autoupdate --outputid -4", false, "", true, 1, 1},
        CommandLineCase{"--autoupdate --outputid x", false, "", true, 1, 1},
        CommandLineCase{"--autoupdate --outputid 99", false, "", true, 1, 99},
        CommandLineCase{"--outputid 2", false, "", false, 1, 1},
        CommandLineCase{"--outputid 2 --inputid 3", false, "", false, 1, 1},
        CommandLineCase{"--autoupdate --inputid 3 --outputid 2", false, "", true, 3, 2},
        CommandLineCase{"--inputid=2 --autoupdate", false, "", true, 1, 1},
        CommandLineCase{"--AUTOUPDATE --outputid   5x", false, "", true, 1, 5},
        CommandLineCase{"--autoupdate --file C:\\fw.syx", true, "C:\\fw.syx", true, 1, 1},
        CommandLineCase{"--file C:\\fw.syx --autoupdate", true, "C:\\fw.syx --autoupdate", true, 1, 1},
        CommandLineCase{"--FILE fw.syx", true, "", false, 1, 1},
        CommandLineCase{"--files fw.syx", false, "", false, 1, 1},
        CommandLineCase{"--autoupdatex", false, "", false, 1, 1},
        // Letters of any script join a word; other characters do not.
        CommandLineCase{"\xc3\xa9--autoupdate", false, "", false, 1, 1},
        CommandLineCase{"--autoupdate\xc3\xa9", false, "", false, 1, 1},
        CommandLineCase{"--AUTOUPDATE\xd0\xb6", false, "", false, 1, 1},
        CommandLineCase{"\xc3\xa9--file fw.syx", false, "", false, 1, 1},
        CommandLineCase{"\xc2\xab--autoupdate\xc2\xbb", false, "", true, 1, 1},
        CommandLineCase{"\xe2\x82\xac--autoupdate --outputid 2", false, "", true, 1, 2},
        // Past 32 bits is no port's id, not a wrapped-around one.
        CommandLineCase{"--autoupdate --outputid 4294967298", false, "", true, 1, 2147483647},
        CommandLineCase{"--autoupdate --inputid 4294967297 --outputid 2", false, "", true, 2147483647, 2},
        CommandLineCase{"--autoupdate --outputid 2147483647", false, "", true, 1, 2147483647},
        CommandLineCase{"--autoupdate --outputid 2147483648", false, "", true, 1, 2147483647},
        CommandLineCase{"--autoupdate --outputid 99999999999999999999999", false, "", true, 1, 2147483647},
        CommandLineCase{"--autoupdate --outputid -4294967295", false, "", true, 1, 1},
        CommandLineCase{"--autoupdate --OUTPUTID 3", false, "", true, 1, 1},
        CommandLineCase{"--file \"/tmp/a b.syx\"", true, "\"/tmp/a b.syx\"", false, 1, 1},
        CommandLineCase{"--file    /home/me/My Firmware.syx   ", true, "/home/me/My Firmware.syx", false, 1,
                        1}));

TEST(JoinArguments, KeepsBlanksInsideAnArgumentWithoutQuoting)
{
    EXPECT_EQ(joinArguments({"--file", "/home/me/My Firmware.syx"}), "--file /home/me/My Firmware.syx");
    EXPECT_EQ(joinArguments({}), "");
    EXPECT_EQ(joinArguments({"--autoupdate", "--outputid", "2"}), "--autoupdate --outputid 2");
    // Joined and read back, the path is exactly what the shell handed over.
    EXPECT_EQ(
        interpretCommandLine(joinArguments({"--autoupdate", "--file", "/home/me/My Firmware.syx"})).filePath,
        "/home/me/My Firmware.syx");
}
// Found by fuzzing: JUCE stepped over a 0xFF "lead byte" past the end of the text.
TEST(CommandLine, MalformedUtf8BecomesReplacementCharactersBeforeJuceReadsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"plain --file", "plain --file"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
        {"\xff", "\xef\xbf\xbd"},
        {"caf\xe9.syx", "caf\xef\xbf\xbd.syx"},                                   // Latin-1
        {"\xe2\x82", "\xef\xbf\xbd\xef\xbf\xbd"},                                 // cut short
        {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},                                 // overlong
        {"\xf5\x80\x80\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"}, // beyond U+10FFFF
        {"\xff\xff\xff\x02\xf7", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\x02\xef\xbf\xbd"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(toValidUtf8(in), std::string(out)) << in;

    // A malformed string that reached JUCE as raw bytes is read safely too.
    const char raw[] = "--autoupdate --file /tmp/caf\xe9 \xff\xff.syx";
    const auto options = interpretCommandLine(juce::String::fromUTF8(raw, static_cast<int>(sizeof(raw) - 1)));
    EXPECT_TRUE(options.autoUpdate);
    EXPECT_EQ(options.filePath, juce::String::fromUTF8("/tmp/caf\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd.syx"));
}
} // namespace
