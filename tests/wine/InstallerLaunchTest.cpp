// The installer end to end: installers packed on the host with the packaging tool
// (the sample setup program inside) are extracted for real, the installer starts the
// sample, and the sample writes down how it was started.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "InstallerRun.h"
#include "UiDriver.h"

namespace {

constexpr DWORD kExitTimeoutMs = 60000;
constexpr DWORD kRecordTimeoutMs = 30000;
const std::wstring kPackageFolderName = L"OVRA0123456789ABCDEF\\";
constexpr wchar_t kRebootKey[] = L"SOFTWARE\\Ovra\\Setup\\Reboot";
constexpr wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

std::wstring Package(const wchar_t* name)
{
    return CInstallerRun::PackagesFolder() + name;
}

std::string RecordLine(const std::string& record, const std::string& key)
{
    const size_t at = record.find(key + ": ");
    if (at == std::string::npos)
        return std::string();
    const size_t start = at + key.size() + 2;
    return record.substr(start, record.find("\r\n", start) - start);
}

std::wstring TempPath()
{
    wchar_t path[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

// Sets a registry value for one test and puts the previous state back afterwards.
class CRegistryValueScope
{
public:
    CRegistryValueScope(const wchar_t* key, const wchar_t* name, DWORD type, const std::vector<uint8_t>& data)
        : m_key(key), m_name(name)
    {
        HKEY handle = nullptr;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
        DWORD size = 0;
        m_existed = ::RegQueryValueExW(handle, name, nullptr, &m_oldType, nullptr, &size) == ERROR_SUCCESS;
        if (m_existed) {
            m_oldData.resize(size);
            ::RegQueryValueExW(handle, name, nullptr, &m_oldType, m_oldData.data(), &size);
        }
        m_set = ::RegSetValueExW(handle, name, 0, type, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
        ::RegCloseKey(handle);
    }
    ~CRegistryValueScope()
    {
        HKEY handle = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
            return;
        if (m_existed)
            ::RegSetValueExW(handle, m_name, 0, m_oldType, m_oldData.data(), static_cast<DWORD>(m_oldData.size()));
        else
            ::RegDeleteValueW(handle, m_name);
        ::RegCloseKey(handle);
    }
    bool IsSet() const { return m_set; }

private:
    const wchar_t* m_key;
    const wchar_t* m_name;
    bool m_existed = false;
    bool m_set = false;
    DWORD m_oldType = 0;
    std::vector<uint8_t> m_oldData;
};

std::vector<uint8_t> MultiString(const std::vector<std::wstring>& entries)
{
    std::vector<uint8_t> bytes;
    auto put = [&bytes](wchar_t c) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    };
    for (const auto& entry : entries) {
        for (const wchar_t c : entry)
            put(c);
        put(L'\0');
    }
    put(L'\0');
    return bytes;
}

class InstallerLaunch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_scratch = CInstallerRun::FreshScratch(L"launch-" + std::wstring(name.begin(), name.end()));
        m_root = m_scratch + L"root\\";
        m_record = m_scratch + L"setup-record.txt";
        m_installer = Package(L"Installer.exe");
    }

    // Runs to the end and returns the full exit code. No window may show with "/q".
    DWORD Run(const std::wstring& arguments, DWORD setupExitCode = 0, bool expectNoWindow = false)
    {
        std::map<std::wstring, std::wstring> environment = m_environment;
        environment[L"OVRA_SETUP_RECORD"] = m_record;
        environment[L"OVRA_SETUP_EXIT_CODE"] = std::to_wstring(setupExitCode);
        const std::wstring root =
            arguments.find(L"/UFPATH=") == std::wstring::npos ? L" /UFPATH=" + m_root : std::wstring();
        CInstallerRun run;
        EXPECT_TRUE(run.Start(m_installer, root + arguments, m_scratch, environment));
        if (expectNoWindow) {
            while (::WaitForSingleObject(run.ProcessHandle(), 20) == WAIT_TIMEOUT) {
                const HWND shown = UiDriver::FindWindowOf(run.ProcessId(), L"", L"");
                EXPECT_EQ(shown, nullptr) << "a window became visible: \"" << Narrow(UiDriver::WindowText(shown))
                                          << "\"";
                if (shown != nullptr)
                    break;
            }
        }
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(run.WaitForExit(kExitTimeoutMs, code));
        return code;
    }

    std::string Record() { return WaitForFile(m_record, kRecordTimeoutMs) ? ReadTextFile(m_record) : std::string(); }

    std::wstring PackageFolder() const { return m_root + kPackageFolderName; }

    std::wstring m_scratch;
    std::wstring m_root;
    std::wstring m_record;
    std::wstring m_installer;
    std::map<std::wstring, std::wstring> m_environment;
};

TEST_F(InstallerLaunch, WithoutOptionsThePackedBytesLandAndTheSetupIsNotWaitedFor)
{
    EXPECT_EQ(Run(L" A=1", 1603), 0u);
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), PackageFolder()), "");
    const std::string record = Record();
    ASSERT_FALSE(record.empty()) << "the setup program did not run";
    const std::string commandLine = RecordLine(record, "CommandLine");
    const std::string logPrefix = Narrow(L" A=1 /v\"/lv \"" + TempPath() + L"OvraLog\\OvraMSI");
    EXPECT_NE(commandLine.find(logPrefix), std::string::npos) << commandLine;
    EXPECT_EQ(commandLine.substr(commandLine.size() - 6), ".log\"\"") << commandLine;
    EXPECT_EQ(commandLine.find("/qn"), std::string::npos);
    std::wstring folder = PackageFolder();
    folder.pop_back();
    EXPECT_EQ(Lower(RecordLine(record, "WorkingDirectory")), Lower(Narrow(folder)));
}

TEST_F(InstallerLaunch, WaitReturnsTheSetupExitCode)
{
    EXPECT_EQ(Run(L" /w", 1603), 1603u);
}

TEST_F(InstallerLaunch, RebootMarkerTurnsTheCodeInto3010UnlessSkipped)
{
    const CRegistryValueScope marker(kRebootKey, L"RebootNeeded", REG_SZ, {});
    ASSERT_TRUE(marker.IsSet());
    EXPECT_EQ(Run(L" /w", 1603), 3010u);
    EXPECT_EQ(Run(L" /w /s", 1603), 1603u);
}

TEST_F(InstallerLaunch, PendingRenamesInsideTheTemporaryFolderDoNotCount)
{
    const std::wstring temp = TempPath();
    const CRegistryValueScope renames(kSessionManagerKey, kPendingRenames, REG_MULTI_SZ,
                                      MultiString({L"\\??\\" + temp + L"a.tmp", L"", L"\\??\\" + temp + L"b.tmp", L""}));
    ASSERT_TRUE(renames.IsSet());
    EXPECT_EQ(Run(L" /w", 1603), 1603u);
}

TEST_F(InstallerLaunch, APendingRenameOutsideTheTemporaryFolderCounts)
{
    const std::wstring temp = TempPath();
    const CRegistryValueScope renames(
        kSessionManagerKey, kPendingRenames, REG_MULTI_SZ,
        MultiString({L"\\??\\" + temp + L"a.tmp", L"", L"\\??\\C:\\windows\\ovra-test.dll", L""}));
    ASSERT_TRUE(renames.IsSet());
    EXPECT_EQ(Run(L" /w", 1603), 3010u);
}

TEST_F(InstallerLaunch, QuietRunShowsNothingWaitsAndPassesTheSilentOptions)
{
    EXPECT_EQ(Run(L" A=1 /q", 5, true), 5u);
    const std::string commandLine = RecordLine(Record(), "CommandLine");
    EXPECT_NE(commandLine.find(" A=1 /w /s /v/qn /v\"/lv \""), std::string::npos) << commandLine;
}

TEST_F(InstallerLaunch, ExtractOnlyStartsNothing)
{
    EXPECT_EQ(Run(L" /u /w", 1603), 0u);
    EXPECT_FALSE(FileExists(m_record));
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), PackageFolder()), "");
}

TEST_F(InstallerLaunch, EmptySetupNameStartsNothing)
{
    m_installer = m_scratch + L"Installer.exe";
    ASSERT_TRUE(CInstallerRun::PrepareStub(Package(L"Installer.exe"), m_installer, ""));
    EXPECT_EQ(Run(L" /w", 1603), 0u);
    EXPECT_FALSE(FileExists(m_record));
    EXPECT_TRUE(FileExists(PackageFolder() + L"setup.exe"));
}

TEST_F(InstallerLaunch, RelativeRootIsResolvedAgainstTheStartingDirectory)
{
    // The installer lives elsewhere, so only the resolved path can lead to the setup program.
    EXPECT_EQ(Run(L" /UFPATH=rel /w", 1603), 1603u);
    const std::wstring folder = m_scratch + L"rel\\" + kPackageFolderName;
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), folder), "");
    EXPECT_EQ(Lower(RecordLine(Record(), "WorkingDirectory")), Lower(Narrow(folder.substr(0, folder.size() - 1))));
}

TEST_F(InstallerLaunch, QuotedRootAndQuotedPassThroughArgumentsArriveIntact)
{
    const std::wstring root = m_scratch + L"my root";
    EXPECT_EQ(Run(L" /UFPATH=\"" + root + L"\" /v\"INSTALLDIR=\\\"C:\\Program Files\\Ovra\\\"\" /w", 3), 3u);
    EXPECT_TRUE(FileExists(root + L"\\" + kPackageFolderName + L"setup.exe"));
    const std::string commandLine = RecordLine(Record(), "CommandLine");
    EXPECT_NE(commandLine.find(" /v\"INSTALLDIR=\\\"C:\\Program Files\\Ovra\\\"\" /v\"/lv \""), std::string::npos)
        << commandLine;
}

TEST_F(InstallerLaunch, CleanupRemovesTheRootThisRunCreated)
{
    EXPECT_EQ(Run(L" /CLEANUP /w", 7), 7u);
    EXPECT_FALSE(Record().empty());
    EXPECT_FALSE(FileExists(m_root));
}

TEST_F(InstallerLaunch, CleanupOfAPopulatedRootRemovesOnlyThePackageFolder)
{
    ::CreateDirectoryW(m_root.c_str(), nullptr);
    const std::wstring keep = m_root + L"keep.txt";
    FILE* file = _wfopen(keep.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not ours", file);
    std::fclose(file);
    EXPECT_EQ(Run(L" /CLEANUP /w", 0), 0u);
    EXPECT_FALSE(Record().empty());
    EXPECT_FALSE(FileExists(PackageFolder()));
    EXPECT_EQ(ReadTextFile(keep), "not ours");
}

// Quiet: neither the shell nor we may show a box about it; the log names the program.
TEST_F(InstallerLaunch, SetupThatCannotBeStartedEndsWith103AndIsLogged)
{
    m_installer = m_scratch + L"Installer.exe";
    ASSERT_TRUE(CInstallerRun::PrepareStub(Package(L"Installer.exe"), m_installer, "missing"));
    const std::wstring temp = m_scratch + L"temp\\";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    m_environment = {{L"TMP", temp}, {L"TEMP", temp}};
    EXPECT_EQ(Run(L" /q", 1603, true), 103u);
    EXPECT_FALSE(FileExists(m_record));
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), PackageFolder()), "");
    const std::string log = ReadErrorLog(temp);
    EXPECT_NE(log.find("The setup program could not be started\r\n"), std::string::npos) << log;
    EXPECT_NE(Lower(log).find(Lower(Narrow(PackageFolder() + L"missing\r\n"))), std::string::npos) << log;
}

// An interrupted download, installed unattended: no box waits for a click, the log
// says what happened and what to do, and "/CLEANUP" leaves nothing of the run behind.
TEST_F(InstallerLaunch, TruncatedPackageInAQuietCleanupRunIsLoggedAndLeavesNothing)
{
    m_installer = Package(L"Installer-truncated.exe");
    const std::wstring temp = m_scratch + L"temp\\";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    m_environment = {{L"TMP", temp}, {L"TEMP", temp}};
    EXPECT_EQ(Run(L" /CLEANUP /q", 0, true), 102u);
    EXPECT_FALSE(FileExists(m_root)) << "the run's root is still there";
    EXPECT_FALSE(FileExists(m_record));
    const std::string log = ReadErrorLog(temp);
    EXPECT_NE(Lower(log).find(Lower("Package: " + Narrow(m_installer) + "\r\n")), std::string::npos) << log;
    EXPECT_NE(log.find("Extraction failed\r\nError: Data error\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("The installer file is damaged or incomplete: download it again.\r\n"), std::string::npos)
        << log;
}

// A bare "cmd.exe" may be found beside the installer (a Downloads folder) first.
TEST_F(InstallerLaunch, CleanupStartsTheSystemCommandInterpreterNotOneBesideTheInstaller)
{
    m_installer = m_scratch + L"Installer.exe";
    ASSERT_TRUE(::CopyFileW(Package(L"Installer.exe").c_str(), m_installer.c_str(), FALSE));
    const std::wstring planted = CInstallerRun::BuildFolder() + L"tests\\tools\\SampleSetup.exe";
    ASSERT_TRUE(::CopyFileW(planted.c_str(), (m_scratch + L"cmd.exe").c_str(), FALSE));
    EXPECT_EQ(Run(L" /u /CLEANUP"), 0u);
    EXPECT_FALSE(FileExists(m_record)) << "the planted cmd.exe ran";
    EXPECT_FALSE(FileExists(m_root));
}

// "%" is legal in paths; only the clean-up command line would expand it.
TEST_F(InstallerLaunch, PercentInTheRootIsRefusedOnlyWithCleanup)
{
    const std::wstring root = m_scratch + L"100%done\\";
    EXPECT_EQ(Run(L" /UFPATH=" + root + L" /u"), 0u);
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), root + kPackageFolderName), "");
    const std::wstring other = m_scratch + L"%TEMP%\\";
    EXPECT_EQ(Run(L" /UFPATH=" + other + L" /u /CLEANUP"), 101u);
    EXPECT_FALSE(FileExists(other));
}

TEST_F(InstallerLaunch, SignedPackageInstallsLikeTheUnsignedOne)
{
    m_installer = Package(L"Installer-signed.exe");
    EXPECT_EQ(Run(L" /w", 1603), 1603u);
    EXPECT_EQ(CompareTrees(CInstallerRun::SampleFolder(), PackageFolder()), "");
}

} // namespace
