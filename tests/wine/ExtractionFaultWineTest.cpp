// The packed installer where the system refuses what extraction needs: the package
// folder, the temporary data file or an output file cannot be created, or the
// decoder's dictionary does not fit the address space. Each run must end with exit
// 102 and say what failed (a log entry with "/q", a box otherwise), and "/CLEANUP"
// must leave nothing of the run behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "InstallerRun.h"
#include "UiDriver.h"

namespace {

constexpr DWORD kExitExtractionFailed = 102;
constexpr DWORD kExitTimeoutMs = 120000;
constexpr DWORD kWindowTimeoutMs = 60000;
const std::wstring kPackageFolderName = L"OVRA0123456789ABCDEF";
const std::wstring kDialogClass = L"#32770";

bool WriteText(const std::wstring& path, const char* text)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = std::fputs(text, file) >= 0;
    return std::fclose(file) == 0 && written;
}

// Every entry below `folder` as relative paths, one a line, folders ending in "\".
std::string Listing(const std::wstring& folder, const std::wstring& prefix = L"")
{
    std::string listing;
    WIN32_FIND_DATAW entry;
    const HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return listing;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing += Narrow(prefix + name) + "\\\n";
            listing += Listing(folder + name + L"\\", prefix + name + L"\\");
        } else {
            listing += Narrow(prefix + name) + "\n";
        }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return listing;
}

class ExtractionFault : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_scratch = CInstallerRun::FreshScratch(L"fault-" + std::wstring(name.begin(), name.end()));
        m_root = m_scratch + L"root\\";
        m_temp = m_scratch + L"temp\\";
        m_installer = CInstallerRun::PackagesFolder() + L"Installer.exe";
        ASSERT_TRUE(::CreateDirectoryW(m_root.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW(m_temp.c_str(), nullptr));
    }

    std::wstring PackageFolder() const { return m_root + kPackageFolderName + L"\\"; }

    // The package folder exists before the run, as after an earlier one.
    void PreparePackageFolder() { ASSERT_TRUE(::CreateDirectoryW(PackageFolder().c_str(), nullptr)); }

    bool Start(const std::wstring& options)
    {
        const std::map<std::wstring, std::wstring> environment = {
            {L"TMP", m_temp}, {L"TEMP", m_temp}, {L"OVRA_SETUP_RECORD", m_scratch + L"setup-record.txt"}};
        return m_run.Start(m_installer, L" /UFPATH=" + m_root + options, m_scratch, environment);
    }

    DWORD ExitCode()
    {
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(m_run.WaitForExit(kExitTimeoutMs, code));
        return code;
    }

    // A quiet run with clean-up: no window, exit 102, and the log's entry.
    std::string RunQuietly()
    {
        EXPECT_TRUE(Start(L" /q /CLEANUP"));
        while (::WaitForSingleObject(m_run.ProcessHandle(), 20) == WAIT_TIMEOUT) {
            const HWND shown = UiDriver::FindWindowOf(m_run.ProcessId(), L"", L"");
            EXPECT_EQ(shown, nullptr) << "a window became visible: \"" << Narrow(UiDriver::WindowText(shown)) << "\"";
            if (shown != nullptr)
                break;
        }
        EXPECT_EQ(ExitCode(), kExitExtractionFailed);
        EXPECT_FALSE(FileExists(m_scratch + L"setup-record.txt")) << "the setup program ran";
        return ReadErrorLog(m_temp);
    }

    // A run with the dialog: the error box holds `expected`; OK ends the run with 102.
    void RunWithBox(const std::wstring& expected)
    {
        ASSERT_TRUE(Start(L" /CLEANUP"));
        const HWND box = UiDriver::WaitForWindow(m_run.ProcessId(), kDialogClass, L"Extraction failed", kWindowTimeoutMs);
        ASSERT_NE(box, nullptr) << "no error box";
        std::wstring texts;
        for (const auto& text : UiDriver::ChildTexts(box))
            texts += text + L"\n";
        EXPECT_NE(texts.find(expected), std::wstring::npos) << Narrow(texts);
        // Every further box (the worker's own after the first) is answered the same way.
        for (HWND next = box; next != nullptr;
             next = UiDriver::WaitForWindow(m_run.ProcessId(), kDialogClass, L"Extraction failed", 3000)) {
            UiDriver::PressButton(next, IDOK);
            WaitUntil([next] { return !::IsWindow(next) || !::IsWindowVisible(next); }, kWindowTimeoutMs);
        }
        EXPECT_EQ(ExitCode(), kExitExtractionFailed);
    }

    std::wstring m_scratch;
    std::wstring m_root;
    std::wstring m_temp;
    std::wstring m_installer;
    CInstallerRun m_run;
};

TEST_F(ExtractionFault, PackageFolderBlockedByAFile)
{
    const std::wstring blocker = m_root + kPackageFolderName;
    ASSERT_TRUE(WriteText(blocker, "not a folder"));
    const std::string log = RunQuietly();
    EXPECT_NE(log.find("Unable to open the output file " + Narrow(PackageFolder()) + "temp.htar."), std::string::npos)
        << log;
    // The file was there before the run: clean-up keeps it, and the run added nothing.
    EXPECT_EQ(ReadTextFile(blocker), "not a folder");
    EXPECT_EQ(Listing(m_root), Narrow(kPackageFolderName) + "\n");
}

TEST_F(ExtractionFault, PackageFolderBlockedByAFileShowsTheBox)
{
    ASSERT_TRUE(WriteText(m_root + kPackageFolderName, "not a folder"));
    RunWithBox(L"Unable to open the output file " + PackageFolder() + L"temp.htar.");
    EXPECT_EQ(Listing(m_root), Narrow(kPackageFolderName) + "\n");
}

// A folder marked read-only takes new files on Windows and under Wine alike, so the
// temporary data file is refused the ways a file system refuses it: a read-only file
// or a folder already holds its name.
//
// Windows refuses to open the read-only file. Wine running as root opens and writes
// it, and refuses only to delete it: then every file is complete, but the run must
// still fail, since the temporary data file stays behind.
TEST_F(ExtractionFault, TemporaryDataFileThatIsReadOnly)
{
    PreparePackageFolder();
    const std::wstring temporary = PackageFolder() + L"temp.htar";
    ASSERT_TRUE(WriteText(temporary, "old"));
    ASSERT_TRUE(::SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string log = RunQuietly();
    const std::string text = Lower(log);
    const std::string path = Lower(Narrow(temporary));
    const bool refused = text.find("unable to open the output file " + path + ".") != std::string::npos;
    const bool kept = text.find("error: can not delete the temporary data file\r\n" + path + "\r\n") != std::string::npos;
    EXPECT_TRUE(refused || kept) << log;
    EXPECT_EQ(Listing(m_root), "") << "clean-up left the package folder";
}

TEST_F(ExtractionFault, TemporaryDataFileNameTakenByAFolder)
{
    PreparePackageFolder();
    const std::wstring temporary = PackageFolder() + L"temp.htar";
    ASSERT_TRUE(::CreateDirectoryW(temporary.c_str(), nullptr));
    const std::string log = RunQuietly();
    EXPECT_NE(log.find("Unable to open the output file " + Narrow(temporary) + "."), std::string::npos) << log;
    EXPECT_EQ(Listing(m_root), "") << "clean-up left the package folder";
}

// A read-only output file is no case here: Wine running as root overwrites it. The
// native fault sweep refuses the opening of every output file in turn instead.
//
// The root held the package folder before the run, so clean-up removes only that.
TEST_F(ExtractionFault, OutputFileNameTakenByAFolder)
{
    PreparePackageFolder();
    const std::wstring readme = PackageFolder() + L"readme.txt";
    ASSERT_TRUE(::CreateDirectoryW(readme.c_str(), nullptr));
    const std::string log = RunQuietly();
    EXPECT_NE(log.find("Unable to open the output file " + Narrow(readme) + "."), std::string::npos) << log;
    EXPECT_EQ(Listing(m_root), "") << "clean-up left the package folder";
}

TEST_F(ExtractionFault, OutputFileNameTakenByAFolderShowsTheBox)
{
    PreparePackageFolder();
    const std::wstring readme = PackageFolder() + L"readme.txt";
    ASSERT_TRUE(::CreateDirectoryW(readme.c_str(), nullptr));
    RunWithBox(L"Unable to open the output file " + readme + L".");
    EXPECT_EQ(Listing(m_root), "");
}

// The header asks for a 1.5 GiB dictionary. A 32-bit process has no room for it and
// must say so; a 64-bit one allocates it and extracts the package, whose stream
// needs far less.
TEST_F(ExtractionFault, DictionaryLargerThanTheAddressSpaceAllows)
{
    m_installer = CInstallerRun::PackagesFolder() + L"Installer-huge-dictionary.exe";
    if (sizeof(void*) > 4) {
        ASSERT_TRUE(Start(L" /q /u"));
        EXPECT_EQ(ExitCode(), 0u);
        EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), PackageFolder()), "");
        return;
    }
    const std::string log = RunQuietly();
    EXPECT_NE(log.find("Error: Can not allocate memory\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("not enough memory for the decoder and its dictionary of 1536 MiB\r\n"), std::string::npos) << log;
    EXPECT_EQ(Listing(m_root), "") << "clean-up left the package folder";
}

} // namespace
