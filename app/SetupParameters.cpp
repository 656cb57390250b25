#include "SetupParameters.h"

std::wstring CSetupParameters::Build(const std::wstring& setupArgs, bool quiet, const std::wstring& logPath)
{
    std::wstring parameters = setupArgs;
    if (quiet)
        parameters += kQuietOptions;
    parameters += L" /v\"/lv \"" + logPath + L"\"\"";
    return parameters;
}
