// Runs one command line exactly as written in a file, waits for it and reports its
// full 32-bit exit code (a shell under Wine sees only the low 8 bits, and Wine's
// own start-up re-quotes arguments).
//
//   ovrarun.exe COMMAND-FILE                    the file holds the command line, UTF-8, one line
//   ovrarun.exe COMMAND-FILE OUT-FILE ERR-FILE  the program's standard output and error go
//                                               to these files (created or emptied)
//   ovrarun.exe --console COMMAND-FILE SCREEN-FILE
//                                               the program writes to a console of its own;
//                                               what it shows at the end is saved, UTF-8, a
//                                               line of text per row
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool ReadCommandLine(const wchar_t* path, std::vector<wchar_t>& commandLine)
{
    FILE* file = _wfopen(path, L"rb");
    if (file == nullptr)
        return false;
    std::string bytes;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, read);
    std::fclose(file);
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        bytes.pop_back();
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    commandLine.assign(static_cast<size_t>(length) + 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), commandLine.data(), length);
    return true;
}

HANDLE CreateOutput(const wchar_t* path)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The console's rows, trailing blanks and blank rows at the end dropped.
bool SaveScreen(const wchar_t* path)
{
    const HANDLE screen = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (screen == INVALID_HANDLE_VALUE || !::GetConsoleScreenBufferInfo(screen, &info))
        return false;
    std::wstring text;
    std::vector<wchar_t> row(static_cast<size_t>(info.dwSize.X));
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD got = 0;
        ::ReadConsoleOutputCharacterW(screen, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &got);
        std::wstring line(row.data(), got);
        while (!line.empty() && line.back() == L' ')
            line.pop_back();
        text += line + L"\n";
    }
    ::CloseHandle(screen);
    while (text.size() >= 2 && text[text.size() - 1] == L'\n' && text[text.size() - 2] == L'\n')
        text.pop_back();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                          nullptr);
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool console = argc == 4 && std::wstring(argv[1]) == L"--console";
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: ovrarun COMMAND-FILE [OUT-FILE ERR-FILE] | --console COMMAND-FILE SCREEN-FILE\n");
        return 2;
    }
    std::vector<wchar_t> commandLine;
    if (!ReadCommandLine(argv[console ? 2 : 1], commandLine)) {
        std::fprintf(stderr, "ovrarun: cannot open the command file\n");
        return 2;
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    HANDLE out = INVALID_HANDLE_VALUE;
    HANDLE err = INVALID_HANDLE_VALUE;
    if (console) {
        // A console of our own, which the program shares and which outlives it.
        ::FreeConsole();
        if (!::AllocConsole()) {
            std::fprintf(stderr, "ovrarun: cannot make a console (error %lu)\n",
                         static_cast<unsigned long>(::GetLastError()));
            return 2;
        }
    } else if (argc == 4) {
        out = CreateOutput(argv[2]);
        err = CreateOutput(argv[3]);
        if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "ovrarun: cannot create the output files\n");
            return 2;
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = out;
        startup.hStdError = err;
    }
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, argc == 4 && !console, 0, nullptr, nullptr,
                          &startup, &process)) {
        std::fprintf(stderr, "ovrarun: cannot start the command (error %lu)\n",
                     static_cast<unsigned long>(::GetLastError()));
        return 2;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    if (out != INVALID_HANDLE_VALUE)
        ::CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE)
        ::CloseHandle(err);
    if (console && !SaveScreen(argv[3])) {
        std::fprintf(stderr, "ovrarun: cannot read the console back\n");
        return 2;
    }
    std::printf("exit code: %lu\n", static_cast<unsigned long>(exitCode));
    std::fflush(stdout);
    return static_cast<int>(exitCode);
}
