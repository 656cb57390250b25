#include <gtest/gtest.h>

#include "app/ErrorLogEntry.h"
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
    const CInstallLogName::SUtcTime time{2024, 3, 5, 8, 15, 2};
    EXPECT_EQ(CInstallLogName::Path(L"C:\\Temp\\", time), L"C:\\Temp\\OvraLog\\OvraMSI20240305_081502.log");
    EXPECT_EQ(CInstallLogName::Folder(L"C:\\Temp\\"), L"C:\\Temp\\OvraLog\\");
}

TEST(InstallLogName, YearIsPaddedWithBlanksLikePercentFourD)
{
    const CInstallLogName::SUtcTime time{999, 12, 31, 23, 59, 59};
    EXPECT_EQ(CInstallLogName::Path(L"T\\", time), L"T\\OvraLog\\OvraMSI 9991231_235959.log");
}

TEST(ErrorLog, LiesBesideTheInstallLogWithAZeroPaddedStamp)
{
    const CInstallLogName::SUtcTime time{2026, 1, 2, 3, 4, 5};
    EXPECT_EQ(CInstallLogName::ErrorLogPath(L"C:\\Temp\\", time), L"C:\\Temp\\OvraLog\\OvraSFX20260102_030405.log");
    EXPECT_EQ(CInstallLogName::Stamp(time), L"2026-01-02 03:04:05 UTC");
}

// The payload's text arrives as "\nError: ...\n<detail>\n<advice>\n": the entry keeps
// every line, drops the empty ones and ends each with CR LF.
TEST(ErrorLog, EntryNamesTimePackageCaptionAndEveryLineOfTheText)
{
    const CInstallLogName::SUtcTime time{2026, 12, 9, 17, 5, 9};
    const std::wstring entry =
        CErrorLogEntry::Format(time, L"C:\\Downloads\\Setup.exe", L"Extraction failed",
                               L"\nError: Data error\nthe package ends inside the data of chunk 3\r\nDownload it again.\n");
    EXPECT_EQ(entry, L"2026-12-09 17:05:09 UTC\r\n"
                     L"Package: C:\\Downloads\\Setup.exe\r\n"
                     L"Extraction failed\r\n"
                     L"Error: Data error\r\n"
                     L"the package ends inside the data of chunk 3\r\n"
                     L"Download it again.\r\n"
                     L"\r\n");
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
