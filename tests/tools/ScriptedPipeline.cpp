#include "ScriptedPipeline.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "payload/CancelFlag.h"
#include "payload/PayloadHost.h"

namespace {

std::map<std::wstring, std::wstring> ReadScript()
{
    std::map<std::wstring, std::wstring> script;
    wchar_t buffer[4096] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"OVRA_SCRIPT", buffer, 4096);
    if (length == 0 || length >= 4096)
        return script;
    std::wstring text(buffer, length);
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L';', pos);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring item = text.substr(pos, end - pos);
        const size_t equals = item.find(L'=');
        if (equals != std::wstring::npos)
            script[item.substr(0, equals)] = item.substr(equals + 1);
        pos = end + 1;
    }
    return script;
}

unsigned Number(const std::map<std::wstring, std::wstring>& script, const wchar_t* key, unsigned fallback)
{
    const auto it = script.find(key);
    return it == script.end() ? fallback : static_cast<unsigned>(std::wcstoul(it->second.c_str(), nullptr, 10));
}

void Record(const std::map<std::wstring, std::wstring>& script, const char* outcome)
{
    const auto it = script.find(L"record");
    if (it == script.end())
        return;
    FILE* file = _wfopen(it->second.c_str(), L"wb");
    if (file != nullptr) {
        std::fputs(outcome, file);
        std::fclose(file);
    }
}

void Append(char* errorText, const std::string& text)
{
    std::strncat(errorText, text.c_str(), 255 - std::strlen(errorText));
}

} // namespace

int ScriptedExtractPayload(const CPayloadPath& /*stubPath*/, uint32_t /*streamOffset*/, char* errorText,
                           IPayloadHost* host)
{
    const auto script = ReadScript();
    const unsigned steps = Number(script, L"steps", 20);
    const unsigned delay = Number(script, L"delay", 20);

    host->PostProgress(0);
    for (unsigned i = 1; i <= steps; ++i) {
        ::Sleep(delay);
        if (g_bCancelExtraction != 0) {
            Record(script, "cancelled");
            return 13;
        }
        unsigned value = static_cast<unsigned>(uint64_t{i} * 500 / (steps + 1));
        if (i == steps)
            value = 499;
        host->PostProgress(value);
    }

    const std::filesystem::path folder = host->PackageFolder().ToFilesystemPath();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (const auto it = script.find(L"openfail"); it != script.end()) {
        host->ReportOutputFileError(folder / host->NameToPath(std::string(it->second.begin(), it->second.end())).ToFilesystemPath());
        Append(errorText, "\nError code: 23\n");
        Record(script, "failed");
        return 1;
    }
    if (const auto it = script.find(L"fail"); it != script.end()) {
        Append(errorText, "\nError: " + std::string(it->second.begin(), it->second.end()) + "\n");
        Record(script, "failed");
        return 1;
    }
    if (const auto it = script.find(L"setup"); it != script.end())
        ::CopyFileW(it->second.c_str(), (folder / L"setup.exe").c_str(), FALSE);
    Record(script, "done");
    return 0;
}
