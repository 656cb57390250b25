#include <gtest/gtest.h>

#include "app/CleanupPlan.h"

namespace {

const wchar_t kRoot[] = L"C:\\Temp\\OvraInstallFiles\\";
const wchar_t kPackage[] = L"C:\\Temp\\OvraInstallFiles\\OVRA1\\";

CCleanupPlan Plan(const std::wstring& root, const std::wstring& package, bool existed, bool hadEntries)
{
    CCleanupPlan plan;
    plan.Capture(root, package, existed, hadEntries);
    return plan;
}

TEST(CleanupPlan, RootThisRunCreatedIsRemovedWhole)
{
    EXPECT_EQ(Plan(kRoot, kPackage, false, false).Target(), kRoot);
}

TEST(CleanupPlan, EmptyPreexistingRootIsRemovedWhole)
{
    EXPECT_EQ(Plan(kRoot, kPackage, true, false).Target(), kRoot);
}

TEST(CleanupPlan, PopulatedRootLosesOnlyThisRunsPackageFolder)
{
    CCleanupPlan plan = Plan(kRoot, kPackage, true, true);
    EXPECT_EQ(plan.Target(), L"") << "nothing of this run's exists before extraction";
    plan.MarkExtractionStarted();
    EXPECT_EQ(plan.Target(), kPackage);
}

TEST(CleanupPlan, VolumeRootsAreNeverRemoved)
{
    for (const wchar_t* root : {L"C:\\", L"\\\\server\\share\\"}) {
        for (bool hadEntries : {false, true}) {
            CCleanupPlan plan = Plan(root, std::wstring(root) + L"OVRA1\\", true, hadEntries);
            EXPECT_EQ(plan.Target(), L"") << root;
            plan.MarkExtractionStarted();
            EXPECT_EQ(plan.Target(), std::wstring(root) + L"OVRA1\\") << root;
        }
    }
}

TEST(CleanupPlan, NoRootNoTarget)
{
    EXPECT_EQ(CCleanupPlan().Target(), L"");
}

} // namespace
