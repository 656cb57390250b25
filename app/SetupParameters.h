#pragma once

#include <string>

// The parameter text the setup program receives. Portable.
class CSetupParameters
{
public:
    // Options that make the setup program run silently and wait for its installer.
    static constexpr const wchar_t* kQuietOptions = L" /w /s /v/qn";

    // The pass-through arguments, the quiet options with "/q", then the log option
    // ` /v"/lv "<log path>""`, which is there even for an empty path.
    static std::wstring Build(const std::wstring& setupArgs, bool quiet, const std::wstring& logPath);
};
