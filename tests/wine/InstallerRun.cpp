#include "InstallerRun.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "payload/PatchBlockEditor.h"

namespace {
std::wstring ParentOf(const std::wstring& folder)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool ReadBytes(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        return false;
    uint8_t buffer[65536];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    std::fclose(file);
    return true;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

std::wstring CInstallerRun::TestFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring CInstallerRun::BuildFolder()
{
    return ParentOf(ParentOf(TestFolder()));
}

std::wstring CInstallerRun::PackagesFolder()
{
    return TestFolder() + L"packages\\";
}

std::wstring CInstallerRun::SampleFolder()
{
    return PackagesFolder() + L"sample\\";
}

std::wstring CInstallerRun::FreshScratch(const std::wstring& name)
{
    const std::wstring folder = L"s:\\gui\\" + name + L"\\";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

bool CInstallerRun::PrepareStub(const std::wstring& stub, const std::wstring& target, const std::string& setupName)
{
    std::vector<uint8_t> image;
    if (!ReadBytes(stub, image))
        return false;
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    return editor && editor->SetSetupName(setupName, error) && WriteBytes(target, image);
}

bool CInstallerRun::Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory,
                          const std::map<std::wstring, std::wstring>& environment)
{
    return m_child.Start(L"\"" + exe + L"\"" + arguments, directory, environment);
}

bool CInstallerRun::WaitForExit(DWORD timeoutMs, DWORD& exitCode)
{
    return m_child.WaitForExit(std::chrono::milliseconds(timeoutMs), exitCode);
}

namespace {
std::map<std::wstring, std::filesystem::path> FilesUnder(const std::wstring& folder)
{
    std::map<std::wstring, std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file())
            files[std::filesystem::relative(it->path(), folder).wstring()] = it->path();
    }
    return files;
}

} // namespace

std::string CompareTrees(const std::wstring& expected, const std::wstring& actual)
{
    const auto wanted = FilesUnder(expected);
    const auto found = FilesUnder(actual);
    if (wanted.empty())
        return "nothing to compare under " + Narrow(expected);
    for (const auto& [name, path] : wanted) {
        const auto it = found.find(name);
        if (it == found.end())
            return "missing: " + Narrow(name);
        std::vector<uint8_t> want;
        std::vector<uint8_t> got;
        if (!ReadBytes(path.wstring(), want) || !ReadBytes(it->second.wstring(), got))
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

std::string ReadTextFile(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    if (!ReadBytes(path, bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    // Opening without sharing succeeds only once no writer holds the file.
    return WaitUntil(
        [&path] {
            const HANDLE file =
                ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                return false;
            ::CloseHandle(file);
            return true;
        },
        timeoutMs);
}

std::string ReadErrorLog(const std::wstring& tempFolder)
{
    WIN32_FIND_DATAW found{};
    const std::wstring folder = tempFolder + L"OvraLog\\";
    const HANDLE search = ::FindFirstFileW((folder + L"OvraSFX*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    ::FindClose(search);
    return ReadTextFile(folder + found.cFileName);
}

std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (const wchar_t c : text)
        result += static_cast<char>(c < 0x80 ? c : '?');
    return result;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
