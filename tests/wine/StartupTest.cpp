#include <gtest/gtest.h>

#include <limits>

#include "ChildProcess.h"
#include "StubFixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr uint64_t kAllTheSpace = std::numeric_limits<uint64_t>::max();

void RequireBytes(CPatchBlockEditor& editor, uint64_t bytes)
{
    editor.SetRequiredBytes(bytes);
}

class Startup : public CStubFixture
{
protected:
    DWORD Run(const fs::path& stub, const std::wstring& arguments, const std::wstring& directory = L"",
              const std::map<std::wstring, std::wstring>& environment = {})
    {
        CChildProcess child;
        EXPECT_TRUE(child.Start(Quoted(stub) + L" " + arguments, directory, environment))
            << "CreateProcessW failed with error " << ::GetLastError();
        return child.WaitForExitClosingBoxes(L"Extraction failed");
    }
};

constexpr DWORD kExitExtractionFailed = 102;

// The checks pass and extraction starts; a stub without a payload then fails.
TEST_F(Startup, NoArgumentsPassesTheChecksAndAStubWithoutPayloadEndsWith102)
{
    const fs::path stub = MakeStub(nullptr);
    CChildProcess child;
    ASSERT_TRUE(child.Start(Quoted(stub)));
    EXPECT_EQ(child.WaitForExitClosingBoxes(L"Extraction failed"), kExitExtractionFailed);
}

TEST_F(Startup, PatchedSpaceRequirementStopsWith100AndNamesDriveAndSize)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    CChildProcess child;
    ASSERT_TRUE(child.Start(Quoted(stub) + L" /UFPATH=" + (m_folder / L"root").wstring()));
    const auto windows = child.WaitForWindows(30s);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].className, L"#32770");
    EXPECT_EQ(windows[0].title, L"OvraSFX");
    std::wstring text;
    for (const std::wstring& t : CChildProcess::ChildTexts(windows[0].hWnd, L"Static"))
        text += t;
    EXPECT_EQ(text, L"There is insufficient hard disk space left on drive S: to start the installation process. "
                    L"Please free up 17592186044416.00 MB hard disk space and restart the installation.");
    ::PostMessageW(windows[0].hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(child.WaitForExit(30s), 100u);
}

TEST_F(Startup, CaptionIsTheProgramsFileName)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); }, L"MySetup.exe");
    CChildProcess child;
    ASSERT_TRUE(child.Start(Quoted(stub)));
    const auto windows = child.WaitForWindows(30s);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, L"MySetup");
    ::PostMessageW(windows[0].hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(child.WaitForExit(30s), 100u);
}

TEST_F(Startup, QuietLackOfSpaceStopsWith100WithoutAWindow)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    CChildProcess child;
    ASSERT_TRUE(child.Start(Quoted(stub) + L" /q"));
    EXPECT_TRUE(child.WaitForWindows(10s).empty());
    EXPECT_EQ(child.WaitForExit(30s), 100u);
}

TEST_F(Startup, RootsThatCouldEscapeTheCleanupCommandStopWith101)
{
    const fs::path stub = MakeStub(nullptr);
    const std::wstring base = m_folder.wstring();
    for (const std::wstring& option : {L"/UFPATH=" + base + L"\\a\\\"b", L"/UFPATH=\"" + base + L"\\a<b\"",
                                       L"/UFPATH=" + base + L"\\%TEMP%", L"/UFPATH=" + base + L"\\a|b"})
        EXPECT_EQ(Run(stub, option + L" /CLEANUP /q"), 101u) << option;
    EXPECT_TRUE(fs::exists(m_folder / L"OvraSFX.exe"));
}

TEST_F(Startup, NoTemporaryFolderStopsWith101)
{
    const fs::path stub = MakeStub(nullptr);
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'x');
    EXPECT_EQ(Run(stub, L"/q", L"", {{L"TMP", tooLong}, {L"TEMP", tooLong}, {L"USERPROFILE", tooLong}}), 101u);
}

TEST_F(Startup, RelativeRootIsMeasuredOnTheVolumeThatHoldsIt)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, 1); });
    EXPECT_EQ(Run(stub, L"/UFPATH=rel\\sub /q", m_folder.wstring()), kExitExtractionFailed);
    const fs::path hungry = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); }, L"Hungry.exe");
    EXPECT_EQ(Run(hungry, L"/UFPATH=rel\\sub /q", m_folder.wstring()), 100u);
}

TEST_F(Startup, CleanupRemovesAnEmptyRootEvenAfterAnEarlyStop)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    fs::create_directories(m_folder / L"root");
    EXPECT_EQ(Run(stub, L"/UFPATH=" + (m_folder / L"root").wstring() + L" /CLEANUP /q"), 100u);
    EXPECT_FALSE(fs::exists(m_folder / L"root"));
    EXPECT_TRUE(fs::exists(stub));
}

TEST_F(Startup, CleanupNeverRemovesWhatAPopulatedRootAlreadyHeld)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    WriteFile(m_folder / L"root" / L"keep.txt", "precious");
    WriteFile(m_folder / L"root" / L"OVRA00000000000000000" / L"old.txt", "from an earlier run");
    EXPECT_EQ(Run(stub, L"/UFPATH=" + (m_folder / L"root").wstring() + L"\\ /CLEANUP /q"), 100u);
    EXPECT_TRUE(fs::exists(m_folder / L"root" / L"keep.txt"));
    EXPECT_TRUE(fs::exists(m_folder / L"root" / L"OVRA00000000000000000" / L"old.txt"));
}

TEST_F(Startup, CleanupNeverRemovesADriveRoot)
{
    const fs::path stub = MakeStub(nullptr);
    WriteFile(m_folder / L"sentinel.txt", "stays");
    EXPECT_EQ(Run(stub, L"/UFPATH=S:\\ /CLEANUP /q"), kExitExtractionFailed);
    EXPECT_EQ(Run(stub, L"/UFPATH=S: /CLEANUP /q"), kExitExtractionFailed);
    EXPECT_TRUE(fs::exists(m_folder / L"sentinel.txt"));
}

TEST_F(Startup, CleanupOfARelativeRootHappensWhereItWasResolved)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    fs::create_directories(m_folder / L"rel");
    WriteFile(m_folder / L"other.txt", "stays");
    EXPECT_EQ(Run(stub, L"/UFPATH=rel /CLEANUP /q", m_folder.wstring()), 100u);
    EXPECT_FALSE(fs::exists(m_folder / L"rel"));
    EXPECT_TRUE(fs::exists(m_folder / L"other.txt"));
}

TEST_F(Startup, CleanupOfAMissingRootTouchesNothingElse)
{
    const fs::path stub = MakeStub([](CPatchBlockEditor& e) { RequireBytes(e, kAllTheSpace); });
    WriteFile(m_folder / L"other.txt", "stays");
    EXPECT_EQ(Run(stub, L"/UFPATH=" + (m_folder / L"missing").wstring() + L" /CLEANUP /q"), 100u);
    EXPECT_TRUE(fs::exists(m_folder / L"other.txt"));
    EXPECT_FALSE(fs::exists(m_folder / L"missing"));
}

} // namespace
