#pragma once

#include "Language.h"
#include "SerializableObject.h"

#include <map>
#include <string>

// An ordered map with unique keys that serializes itself. A reader keeps the
// first occurrence of a repeated key.
template <typename K, typename V>
class serializable_map : public std::map<K, V>, public ISerializableObject
{
public:
    void Serialize(IArchive& archive) override;
};

// One entry's translations, by language.
using CTranslationMap = serializable_map<CLanguage, std::string>;
// All entries, by English key.
using CEntryMap = serializable_map<std::string, CTranslationMap>;

template <>
void CTranslationMap::Serialize(IArchive& archive);
template <>
void CEntryMap::Serialize(IArchive& archive);
