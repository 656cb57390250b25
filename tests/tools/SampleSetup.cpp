// A stand-in for a package's setup program. It writes down how it was started
// (command line and working directory) and returns a chosen exit code, so the
// installer's launch can be checked from outside.
//
//   record file: %OVRA_SETUP_RECORD%, else %TEMP%\OvraSampleSetup.txt
//   exit code:   %OVRA_SETUP_EXIT_CODE%, else the number in "exitcode.txt" beside
//                the program, else 0
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    const size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

DWORD ChosenExitCode()
{
    std::wstring text = Environment(L"OVRA_SETUP_EXIT_CODE");
    if (text.empty()) {
        FILE* file = _wfopen((OwnFolder() + L"exitcode.txt").c_str(), L"rb");
        if (file != nullptr) {
            char buffer[32] = {};
            const size_t read = std::fread(buffer, 1, sizeof(buffer) - 1, file);
            std::fclose(file);
            buffer[read] = '\0';
            return static_cast<DWORD>(std::strtoul(buffer, nullptr, 10));
        }
        return 0;
    }
    return static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    std::wstring recordPath = Environment(L"OVRA_SETUP_RECORD");
    if (recordPath.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, temp);
        recordPath = std::wstring(temp) + L"OvraSampleSetup.txt";
    }
    wchar_t directory[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, directory);
    const DWORD exitCode = ChosenExitCode();

    const std::string record = "CommandLine: " + Utf8(::GetCommandLineW()) + "\r\nWorkingDirectory: " +
                               Utf8(directory) + "\r\nExitCode: " + std::to_string(exitCode) + "\r\n";
    FILE* file = _wfopen(recordPath.c_str(), L"wb");
    if (file != nullptr) {
        std::fwrite(record.data(), 1, record.size(), file);
        std::fclose(file);
    }
    return static_cast<int>(exitCode);
}
