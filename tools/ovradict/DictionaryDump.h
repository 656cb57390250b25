#pragma once

#include "framework/localization/MergedLocalizationDictionary.h"

#include <string>

// The merged dictionary as readable UTF-8 text: each key, then one line per
// language with the text decoded from the language's code page.
namespace DictionaryDump {
std::string Text(const CMergedLocalizationDictionary& dictionary);
} // namespace DictionaryDump
