#include "app/ExitPolicy.h"

#include <gtest/gtest.h>

namespace
{
using Outcome = BasicSysexProtocolClass::Outcome;

struct ExitCase
{
    const char* name;
    bool automatic;
    Outcome outcome;
    bool closedEarly;
    int status;
};

class ExitPolicy : public ::testing::TestWithParam<ExitCase>
{
};

TEST_P(ExitPolicy, GivesTheStatusOfTheReadmeTable)
{
    const auto& c = GetParam();
    EXPECT_EQ(exitStatusFor(c.automatic, c.outcome, c.closedEarly), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitPolicy,
    ::testing::Values(ExitCase{"Completed", true, Outcome::completed, false, 0},
                      ExitCase{"DamagedImage", true, Outcome::damagedImage, false, 1},
                      ExitCase{"ClosedBeforeTheEnd", true, Outcome::stopped, true, 2},
                      ExitCase{"ClosedBeforeAnyRun", true, Outcome::none, true, 2},
                      ExitCase{"ClosedInTheCompletionPause", true, Outcome::stopped, false, 0},
                      ExitCase{"SendFailed", true, Outcome::sendFailed, false, 3},
                      ExitCase{"ClosedAfterAFailedSend", true, Outcome::sendFailed, false, 3},
                      // Without --autoupdate nobody reads the status: closing is success.
                      ExitCase{"ClosedByHandMidUpload", false, Outcome::stopped, true, 0},
                      ExitCase{"ByHandAfterAFailedSend", false, Outcome::sendFailed, false, 0}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
} // namespace
