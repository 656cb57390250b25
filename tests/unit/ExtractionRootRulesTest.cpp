#include <gtest/gtest.h>

#include "app/ExtractionRootRules.h"

namespace {

TEST(ExtractionRootRules, AcceptsOrdinaryRoots)
{
    for (const wchar_t* root : {L"C:\\Temp\\OvraInstallFiles\\", L"D:\\My Files\\", L"\\\\server\\share\\dir\\",
                                L"relative\\dir\\", L"..\\up\\", L"C:/mixed/slashes/\\", L"C:\\caf\u00e9 & co (x86)\\"}) {
        EXPECT_TRUE(CExtractionRootRules::IsAcceptable(root, false)) << root;
        EXPECT_TRUE(CExtractionRootRules::IsAcceptable(root, true)) << root;
    }
}

// "%" is legal in Windows paths; only the clean-up command line would expand it.
TEST(ExtractionRootRules, PercentIsRefusedOnlyForCleanup)
{
    for (const wchar_t* root : {L"C:\\%TEMP%\\", L"C:\\100% done\\"}) {
        EXPECT_TRUE(CExtractionRootRules::IsAcceptable(root, false)) << root;
        EXPECT_FALSE(CExtractionRootRules::IsAcceptable(root, true)) << root;
    }
}

TEST(ExtractionRootRules, RefusesWhatCouldEscapeTheCleanupQuotes)
{
    for (const wchar_t* root : {L"", L"C:\\a\" & del C:\\x \"\\", L"C:\\a<b\\", L"C:\\a>b\\", L"C:\\a|b\\",
                                L"C:\\a*\\", L"C:\\a?\\", L"C:\\a\tb\\", L"C:\\a\nb\\",
                                L"C:\\a:b\\", L"1:\\x\\", L"\\\\?\\C:\\x\\"}) {
        EXPECT_FALSE(CExtractionRootRules::IsAcceptable(root, false)) << root;
        EXPECT_FALSE(CExtractionRootRules::IsAcceptable(root, true)) << root;
    }
}

TEST(ExtractionRootRules, DriveComponentIsLetterAndColonOnly)
{
    EXPECT_EQ(CExtractionRootRules::DriveComponent(L"C:\\Temp\\"), L"C:");
    EXPECT_EQ(CExtractionRootRules::DriveComponent(L"d:relative"), L"d:");
    EXPECT_EQ(CExtractionRootRules::DriveComponent(L"\\\\server\\share\\"), L"");
    EXPECT_EQ(CExtractionRootRules::DriveComponent(L"relative\\"), L"");
    EXPECT_EQ(CExtractionRootRules::DriveComponent(L"C"), L"");
}

TEST(ExtractionRootRules, VolumeRootsAreRecognised)
{
    EXPECT_TRUE(CExtractionRootRules::IsVolumeRoot(L"C:\\"));
    EXPECT_TRUE(CExtractionRootRules::IsVolumeRoot(L"C:"));
    EXPECT_TRUE(CExtractionRootRules::IsVolumeRoot(L"\\\\server\\share\\"));
    EXPECT_TRUE(CExtractionRootRules::IsVolumeRoot(L"\\\\server\\share"));
    EXPECT_FALSE(CExtractionRootRules::IsVolumeRoot(L"C:\\Temp\\"));
    EXPECT_FALSE(CExtractionRootRules::IsVolumeRoot(L"\\\\server\\share\\dir\\"));
    EXPECT_FALSE(CExtractionRootRules::IsVolumeRoot(L"relative\\"));
}

TEST(ExtractionRootRules, VolumeRootOfPaths)
{
    EXPECT_EQ(CExtractionRootRules::VolumeRootOf(L"C:\\a\\b\\"), L"C:\\");
    EXPECT_EQ(CExtractionRootRules::VolumeRootOf(L"\\\\srv\\share\\a\\b"), L"\\\\srv\\share\\");
    EXPECT_EQ(CExtractionRootRules::VolumeRootOf(L"a\\b"), L"");
}

TEST(ExtractionRootRules, ParentWalksUpAndStopsAtTheVolume)
{
    EXPECT_EQ(CExtractionRootRules::ParentOf(L"C:\\a\\b\\"), L"C:\\a\\");
    EXPECT_EQ(CExtractionRootRules::ParentOf(L"C:\\a\\"), L"C:\\");
    EXPECT_EQ(CExtractionRootRules::ParentOf(L"C:\\"), L"");
    EXPECT_EQ(CExtractionRootRules::ParentOf(L"\\\\srv\\share\\dir\\"), L"\\\\srv\\share\\");
    EXPECT_EQ(CExtractionRootRules::ParentOf(L"\\\\srv\\share\\"), L"");
}

TEST(ExtractionRootRules, TrailingBackslashIsAddedOnce)
{
    EXPECT_EQ(CExtractionRootRules::WithTrailingBackslash(L"D:\\Pkg"), L"D:\\Pkg\\");
    EXPECT_EQ(CExtractionRootRules::WithTrailingBackslash(L"D:\\Pkg\\"), L"D:\\Pkg\\");
    EXPECT_EQ(CExtractionRootRules::WithTrailingBackslash(L"D:/Pkg/"), L"D:/Pkg/\\");
}

} // namespace

namespace {

// A current directory and the program started in it stay classic paths.
TEST(ExtractionRootRules, PackageFolderMustBeAbleToBeTheSetupsWorkingFolder)
{
    const std::wstring base = L"C:\\Temp\\OvraInstallFiles\\OVRA0123456789ABCDEF\\";
    const std::wstring at259 = L"C:\\" + std::wstring(255, L'd') + L"\\";
    ASSERT_EQ(at259.size(), 259u);
    EXPECT_TRUE(CExtractionRootRules::FitsWorkingFolder(base, L"setup"));
    EXPECT_TRUE(CExtractionRootRules::FitsWorkingFolder(at259, L""));
    EXPECT_FALSE(CExtractionRootRules::FitsWorkingFolder(L"C:\\" + std::wstring(256, L'd') + L"\\", L""));
    EXPECT_FALSE(CExtractionRootRules::FitsWorkingFolder(L"C:\\" + std::wstring(256, L'd'), L""));
    // The shell finds "setup" as "setup.exe".
    const std::wstring folder = L"C:\\" + std::wstring(246, L'd') + L"\\";
    EXPECT_TRUE(CExtractionRootRules::FitsWorkingFolder(folder, L"setup"));
    EXPECT_FALSE(CExtractionRootRules::FitsWorkingFolder(folder, L"setup1"));
    EXPECT_TRUE(CExtractionRootRules::FitsWorkingFolder(folder, L"setup.exe"));
    EXPECT_FALSE(CExtractionRootRules::FitsWorkingFolder(folder, L"setup1.exe"));
}

} // namespace
