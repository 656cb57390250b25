#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Sets the default value of a key under HKEY_CLASSES_ROOT of the test prefix, creating
// the key: how tests register a file type or URL class whose "open" records its use.
// `type` is REG_SZ or REG_EXPAND_SZ.
bool SetClassDefault(const std::wstring& subKey, const std::wstring& value, unsigned long type = 1);

// The command line a recording handler wrote to its record ("CommandLine: ..."), split as
// programs split it; empty when the record holds none.
std::vector<std::wstring> ReadRecordedArguments(const std::filesystem::path& record);
