// Packages whose files lie deeper than the classic path limit: the installer extracts
// them under the default root and under "/UFPATH=", starts the setup program, removes
// them again with "/CLEANUP", and the Windows packaging tool packs and extracts them.
// Wine takes classic paths of any length, so what is checked here is that nothing in
// the way (folder creation, the clean-up, the tool's walk) stops at the limit; the
// native tests of the path maker prove the form Windows needs.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "InstallerRun.h"
#include "win32/Handle.h"

namespace {

constexpr DWORD kExitTimeoutMs = 120000;
constexpr size_t kDeepPathLength = 400;
const std::wstring kPackageFolderName = L"OVRA0123456789ABCDEF\\";
const std::wstring kDefaultRootName = L"OvraInstallFiles\\";

std::wstring DeviceForm(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

bool ReadAll(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    const CFileHandle file(::CreateFileW(DeviceForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    bytes.clear();
    uint8_t buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    return true;
}

// Relative name to full path of every file below `folder` (a full path ending in a
// backslash), found through the device form so that depth does not matter.
void CollectFiles(const std::wstring& folder, const std::wstring& relative, std::map<std::wstring, std::wstring>& files)
{
    WIN32_FIND_DATAW data{};
    const CFindHandle find(::FindFirstFileW(DeviceForm(folder + relative + L"*").c_str(), &data));
    if (!find)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            CollectFiles(folder, relative + name + L"\\", files);
        else
            files[relative + name] = folder + relative + name;
    } while (::FindNextFileW(find.Get(), &data));
}

// Empty when both trees hold the same files with the same bytes.
std::string CompareDeepTrees(const std::wstring& expected, const std::wstring& actual)
{
    std::map<std::wstring, std::wstring> wanted;
    std::map<std::wstring, std::wstring> found;
    CollectFiles(expected, L"", wanted);
    CollectFiles(actual, L"", found);
    if (wanted.empty())
        return "nothing to compare under " + Narrow(expected);
    for (const auto& [name, path] : wanted) {
        const auto it = found.find(name);
        if (it == found.end())
            return "missing: " + Narrow(name);
        std::vector<uint8_t> want;
        std::vector<uint8_t> got;
        if (!ReadAll(path, want) || !ReadAll(it->second, got))
            return "unreadable: " + Narrow(name);
        if (want != got)
            return "different bytes: " + Narrow(name);
    }
    for (const auto& entry : found) {
        if (wanted.count(entry.first) == 0)
            return "unexpected: " + Narrow(entry.first);
    }
    return std::string();
}

// The runtime's remove_all, which the scratch folders use, stops at the classic limit.
void RemoveDeepTree(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(DeviceForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(DeviceForm(path).c_str());
        return;
    }
    const std::wstring folder = path.back() == L'\\' ? path : path + L"\\";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    if (const CFindHandle find(::FindFirstFileW(DeviceForm(folder + L"*").c_str(), &data)); find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (::FindNextFileW(find.Get(), &data));
    }
    for (const std::wstring& name : names)
        RemoveDeepTree(folder + name);
    ::RemoveDirectoryW(DeviceForm(folder).c_str());
}

bool ExistsAtAnyDepth(const std::wstring& path)
{
    return ::GetFileAttributesW(DeviceForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring DeepSource()
{
    return CInstallerRun::PackagesFolder() + L"deep\\";
}

// The package's deepest file, relative to the package folder.
std::wstring DeepestName()
{
    std::map<std::wstring, std::wstring> files;
    CollectFiles(DeepSource(), L"", files);
    std::wstring deepest;
    for (const auto& entry : files) {
        if (entry.first.size() > deepest.size())
            deepest = entry.first;
    }
    return deepest;
}

// `prefix` followed by a folder name that makes the whole `length` units long, with a
// backslash at the end.
std::wstring PaddedFolder(const std::wstring& prefix, size_t length)
{
    EXPECT_GT(length, prefix.size() + 1) << Narrow(prefix);
    return prefix + std::wstring(length - prefix.size() - 1, L'p') + L"\\";
}

class LongPath : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        // Short, so that the roots below have room to be padded to their length.
        const std::wstring scratchName = L"lp-" + std::to_wstring(std::hash<std::string>()(name) % 100000);
        RemoveDeepTree(CInstallerRun::FreshScratch(scratchName));
        m_scratch = CInstallerRun::FreshScratch(scratchName);
        m_record = m_scratch + L"setup-record.txt";
        m_deepest = DeepestName();
        ASSERT_FALSE(m_deepest.empty()) << "no deep package to install";
        // The root that puts the deepest file at exactly kDeepPathLength units.
        m_rootLength = kDeepPathLength - kPackageFolderName.size() - m_deepest.size();
        m_environment[L"OVRA_SETUP_RECORD"] = m_record;
        m_environment[L"OVRA_SETUP_EXIT_CODE"] = L"5";
    }

    DWORD Run(const std::wstring& exe, const std::wstring& arguments)
    {
        CInstallerRun run;
        EXPECT_TRUE(run.Start(exe, arguments, m_scratch, m_environment)) << Narrow(exe);
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(run.WaitForExit(kExitTimeoutMs, code));
        return code;
    }

    DWORD Install(const std::wstring& arguments)
    {
        return Run(CInstallerRun::PackagesFolder() + L"Installer-deep.exe", arguments);
    }

    // A temporary folder whose default root has the length that gives the deep path.
    std::wstring UseTemporaryFolderForDefaultRoot()
    {
        const std::wstring temp = PaddedFolder(m_scratch + L"temp", m_rootLength - kDefaultRootName.size());
        EXPECT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
        m_environment[L"TMP"] = temp;
        m_environment[L"TEMP"] = temp;
        return temp + kDefaultRootName;
    }

    void ExpectInstalled(const std::wstring& root)
    {
        const std::wstring packageFolder = root + kPackageFolderName;
        ASSERT_EQ((packageFolder + m_deepest).size(), kDeepPathLength);
        EXPECT_EQ(CompareDeepTrees(DeepSource(), packageFolder), "");
        EXPECT_FALSE(ExistsAtAnyDepth(packageFolder + L"temp.htar"));
        EXPECT_NE(ReadTextFile(m_record).find("CommandLine: "), std::string::npos) << "the setup program did not run";
    }

    std::wstring m_scratch;
    std::wstring m_record;
    std::wstring m_deepest;
    size_t m_rootLength = 0;
    std::map<std::wstring, std::wstring> m_environment;
};

TEST_F(LongPath, DefaultRootTakesTheDeepFilesAndStartsTheSetup)
{
    const std::wstring root = UseTemporaryFolderForDefaultRoot();
    EXPECT_EQ(Install(L" /q"), 5u);
    ExpectInstalled(root);
}

TEST_F(LongPath, UFPathRootTakesTheDeepFilesAndStartsTheSetup)
{
    const std::wstring root = PaddedFolder(m_scratch + L"root", m_rootLength);
    EXPECT_EQ(Install(L" /UFPATH=" + root + L" /q"), 5u);
    ExpectInstalled(root);
}

// The system drops the dot from "root.\" in a classic path; files deep enough for the
// other form must land in the same folder as the shallow ones.
TEST_F(LongPath, ARootEndingInADotMeansTheSameFolderAtAnyDepth)
{
    const std::wstring root = PaddedFolder(m_scratch + L"dots", m_rootLength);
    const std::wstring dotted = root.substr(0, root.size() - 1) + L".\\";
    EXPECT_EQ(Install(L" /UFPATH=" + dotted + L" /q"), 5u);
    ExpectInstalled(root);
}

TEST_F(LongPath, CleanupRemovesTheDeepFilesUnderTheDefaultRoot)
{
    const std::wstring root = UseTemporaryFolderForDefaultRoot();
    EXPECT_EQ(Install(L" /CLEANUP /q"), 5u);
    EXPECT_NE(ReadTextFile(m_record).find("CommandLine: "), std::string::npos) << "the setup program did not run";
    EXPECT_FALSE(ExistsAtAnyDepth(root)) << "the root is still there";
}

TEST_F(LongPath, CleanupRemovesTheDeepFilesUnderAUFPathRoot)
{
    const std::wstring root = PaddedFolder(m_scratch + L"root", m_rootLength);
    EXPECT_EQ(Install(L" /UFPATH=" + root + L" /CLEANUP /w"), 5u);
    EXPECT_FALSE(ExistsAtAnyDepth(root)) << "the root is still there";
}

// The setup program starts in the package folder, which a classic path must reach.
TEST_F(LongPath, ARootTooLongForTheWorkingFolderIsRefusedBeforeExtraction)
{
    const std::wstring temp = m_scratch + L"temp\\";
    ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
    m_environment[L"TMP"] = temp;
    m_environment[L"TEMP"] = temp;
    const std::wstring root = PaddedFolder(m_scratch + L"long", 240);
    EXPECT_EQ(Install(L" /UFPATH=" + root + L" /q"), 101u);
    EXPECT_FALSE(ExistsAtAnyDepth(root)) << "something was extracted";
    EXPECT_FALSE(FileExists(m_record));
    const std::string log = ReadErrorLog(temp);
    EXPECT_NE(log.find("The extraction folder is too long"), std::string::npos) << log;
    EXPECT_NE(Lower(log).find(Lower(Narrow(root))), std::string::npos) << log;
}

TEST_F(LongPath, PackagingToolPacksAndExtractsTheDeepTree)
{
    const std::wstring tool = CInstallerRun::BuildFolder() + L"tools\\ovrapack\\ovrapack.exe";
    const std::wstring stub = CInstallerRun::BuildFolder() + L"app\\OvraSFX.exe";
    const std::wstring package = m_scratch + L"Repacked.exe";
    ASSERT_GT((DeepSource() + m_deepest).size(), MAX_PATH);
    // No backslash before a closing quote: the runtime would read it as an escaped quote.
    const std::wstring source = DeepSource().substr(0, DeepSource().size() - 1);
    EXPECT_EQ(Run(tool, L" pack \"" + source + L"\" --stub \"" + stub +
                            L"\" --setup setup --build-id 0123456789ABCDEF --out \"" + package + L"\""),
              0u);
    const std::wstring folder = PaddedFolder(m_scratch + L"out", m_rootLength) + kPackageFolderName;
    EXPECT_EQ(Run(tool, L" extract \"" + package + L"\" \"" + folder.substr(0, folder.size() - 1) + L"\""), 0u);
    ASSERT_EQ((folder + m_deepest).size(), kDeepPathLength);
    EXPECT_EQ(CompareDeepTrees(DeepSource(), folder), "");
}

} // namespace
