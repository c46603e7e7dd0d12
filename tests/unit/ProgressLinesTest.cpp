#include "app/ProgressLines.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace
{
// One call on ProgressLines: start, a message sent (bytes and messages so
// far), or the end (outcome and status).
struct Step
{
    enum Kind
    {
        start,
        sent,
        end
    } kind;
    std::uint32_t bytes = 0;
    int messages = 0;
    const char* outcome = "";
    int status = 0;
};

Step started()
{
    return {Step::start};
}
Step sentSoFar(std::uint32_t bytes, int messages)
{
    return {Step::sent, bytes, messages};
}
Step ended(const char* outcome, int status)
{
    return {Step::end, 0, 0, outcome, status};
}

struct LinesCase
{
    const char* what;
    std::uint32_t totalBytes;
    int totalMessages;
    int bitsPerSecond;
    std::vector<Step> steps;
    const char*
        expected; // worked out by hand: 320 us a byte at 31250 bit/s, 300 ms a message, 5 s at the end
};

void PrintTo(const LinesCase& c, std::ostream* os)
{
    *os << c.what;
}

const LinesCase linesCases[] = {
    {"four equal messages at MIDI speed",
     1000,
     4,
     31250,
     {started(), sentSoFar(250, 1), sentSoFar(500, 2), sentSoFar(750, 3), sentSoFar(1000, 4),
      ended("completed", 0)},
     "start\t0\t0\t1000\t6.5\n"         // 0.32 + 1.2 + 5
     "progress\t25\t250\t1000\t6.1\n"   // 0.24 + 0.9 + 5
     "progress\t50\t500\t1000\t5.8\n"   // 0.16 + 0.6 + 5 = 5.76
     "progress\t75\t750\t1000\t5.4\n"   // 0.08 + 0.3 + 5 = 5.38
     "progress\t100\t1000\t1000\t5.0\n" // the completion pause alone
     "end\t100\t1000\t1000\t0.0\tcompleted\t0\n"},
    {"a line only when the whole percent rises",
     1000,
     200,
     0,
     {started(), sentSoFar(5, 1), sentSoFar(10, 2), sentSoFar(15, 3), sentSoFar(20, 4)},
     "start\t0\t0\t1000\t65.0\n"     // 200 x 0.3 + 5, no wire time
     "progress\t1\t10\t1000\t64.4\n" // 198 x 0.3 + 5
     "progress\t2\t20\t1000\t63.8\n"},
    {"a message over several percents gives one line",
     100,
     2,
     0,
     {started(), sentSoFar(60, 1), sentSoFar(100, 2), ended("completed", 0)},
     "start\t0\t0\t100\t5.6\n"
     "progress\t60\t60\t100\t5.3\n"
     "progress\t100\t100\t100\t5.0\n"
     "end\t100\t100\t100\t0.0\tcompleted\t0\n"},
    {"closed part way",
     100,
     2,
     0,
     {started(), sentSoFar(60, 1), ended("unfinished", 2)},
     "start\t0\t0\t100\t5.6\n"
     "progress\t60\t60\t100\t5.3\n"
     "end\t60\t60\t100\t0.0\tunfinished\t2\n"},
    {"a damaged image never starts",
     100,
     2,
     31250,
     {ended("damaged", 1)},
     "end\t0\t0\t100\t0.0\tdamaged\t1\n"},
};

class ProgressLinesTable : public ::testing::TestWithParam<LinesCase>
{
};

TEST_P(ProgressLinesTable, PrintsTheDocumentedLines)
{
    const auto& c = GetParam();
    std::ostringstream out;
    ProgressLines lines(out, c.totalBytes, c.totalMessages, c.bitsPerSecond);
    for (const auto& step : c.steps)
    {
        switch (step.kind)
        {
        case Step::start:
            lines.started();
            break;
        case Step::sent:
            lines.messageSent(step.bytes, step.messages);
            break;
        case Step::end:
            lines.ended(step.outcome, step.status);
            break;
        }
    }
    EXPECT_EQ(out.str(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressLinesTable, ::testing::ValuesIn(linesCases));

TEST(ProgressLines, TheBuiltInImageTakesItsLowerBound)
{
    // 270432 bytes x 320 us + 543 x 300 ms + 5000 ms = 254438.24 ms; the
    // benchmark's lower bound adds the 2000 ms automatic wait.
    EXPECT_EQ(ProgressLines::tenthsOfSecondsLeft(270432, 543, 31250), 2544);
}
} // namespace
