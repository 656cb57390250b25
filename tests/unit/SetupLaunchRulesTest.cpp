#include <gtest/gtest.h>

#include "app/InstallLogName.h"
#include "app/SetupExitCode.h"
#include "app/SetupParameters.h"

namespace {

TEST(SetupParameters, LogOptionFollowsPassThroughArguments)
{
    EXPECT_EQ(CSetupParameters::Build(L" A=1", false, L"C:\\T\\OvraLog\\x.log"),
              L" A=1 /v\"/lv \"C:\\T\\OvraLog\\x.log\"\"");
}

TEST(SetupParameters, QuietOptionsComeBeforeTheLogOption)
{
    EXPECT_EQ(CSetupParameters::Build(L" A=1", true, L"L"), L" A=1 /w /s /v/qn /v\"/lv \"L\"\"");
    EXPECT_EQ(std::wstring(CSetupParameters::kQuietOptions).size(), 12u);
}

TEST(SetupParameters, EmptyLogPathStillGivesTheOption)
{
    EXPECT_EQ(CSetupParameters::Build(L"", false, L""), L" /v\"/lv \"\"\"");
}

TEST(InstallLogName, StampsTheUtcTimeWithZeroPaddedFields)
{
    const CInstallLogName::CUtcTime time{2024, 3, 5, 8, 15, 2};
    EXPECT_EQ(CInstallLogName::Path(L"C:\\Temp\\", time), L"C:\\Temp\\OvraLog\\OvraMSI20240305_081502.log");
    EXPECT_EQ(CInstallLogName::Folder(L"C:\\Temp\\"), L"C:\\Temp\\OvraLog\\");
}

TEST(InstallLogName, YearIsPaddedWithBlanksLikePercentFourD)
{
    const CInstallLogName::CUtcTime time{999, 12, 31, 23, 59, 59};
    EXPECT_EQ(CInstallLogName::Path(L"T\\", time), L"T\\OvraLog\\OvraMSI 9991231_235959.log");
}

bool g_rebootAsked = false;
bool RebootPending()
{
    g_rebootAsked = true;
    return true;
}
bool NoRebootPending()
{
    g_rebootAsked = true;
    return false;
}

TEST(SetupExitCode, NotWaitedForGivesZeroWhateverTheSetupReturned)
{
    g_rebootAsked = false;
    EXPECT_EQ(CSetupExitCode::Settle({false, false, false}, 1603, &RebootPending), 0);
    EXPECT_FALSE(g_rebootAsked);
}

TEST(SetupExitCode, WaitedForGivesTheSetupCodeWithoutPendingReboot)
{
    EXPECT_EQ(CSetupExitCode::Settle({false, true, false}, 1603, &NoRebootPending), 1603);
    EXPECT_EQ(CSetupExitCode::Settle({true, false, false}, 1603, &NoRebootPending), 1603);
}

TEST(SetupExitCode, PendingRebootReplacesEveryCodeIncludingFailures)
{
    EXPECT_EQ(CSetupExitCode::Settle({false, true, false}, 1603, &RebootPending), 3010);
    EXPECT_EQ(CSetupExitCode::Settle({true, false, false}, 0, &RebootPending), 3010);
}

TEST(SetupExitCode, SkipRebootCheckKeepsTheSetupCodeAndNeverAsks)
{
    g_rebootAsked = false;
    EXPECT_EQ(CSetupExitCode::Settle({false, true, true}, 1603, &RebootPending), 1603);
    EXPECT_FALSE(g_rebootAsked);
}

} // namespace
