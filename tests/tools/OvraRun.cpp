// Runs one command line exactly as written in a file, waits for it and reports its
// full 32-bit exit code (a shell under Wine sees only the low 8 bits, and Wine's
// own start-up re-quotes arguments).
//
//   ovrarun.exe COMMAND-FILE      the file holds the command line, UTF-8, one line
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ovrarun COMMAND-FILE\n");
        return 2;
    }
    FILE* file = _wfopen(argv[1], L"rb");
    if (file == nullptr) {
        std::fprintf(stderr, "ovrarun: cannot open the command file\n");
        return 2;
    }
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
    std::vector<wchar_t> commandLine(static_cast<size_t>(length) + 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), commandLine.data(), length);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        std::fprintf(stderr, "ovrarun: cannot start the command (error %lu)\n",
                     static_cast<unsigned long>(::GetLastError()));
        return 2;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    std::printf("exit code: %lu\n", static_cast<unsigned long>(exitCode));
    std::fflush(stdout);
    return static_cast<int>(exitCode);
}
