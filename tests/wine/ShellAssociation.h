#pragma once

#include <string>

// Sets the default value of a key under HKEY_CLASSES_ROOT of the test prefix, creating
// the key: how tests register a file type or URL class whose "open" records its use.
bool SetClassDefault(const std::wstring& subKey, const std::wstring& value);
