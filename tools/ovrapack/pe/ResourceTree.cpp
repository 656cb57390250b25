#include "ResourceTree.h"

#include <algorithm>

#include "payload/ContainerLayout.h"

namespace {

constexpr uint32_t kHighBit = 0x80000000;
constexpr int kLanguageLevel = 2;
// A tree whose entries share subdirectories could name far more resources than its
// bytes hold; no executable has anywhere near this many.
constexpr size_t kMaximumResources = 1 << 16;

bool Before(const CResourceTree::SKey& a, const CResourceTree::SKey& b)
{
    if (a.IsName() != b.IsName())
        return a.IsName();
    return a.IsName() ? a.name < b.name : a.nId < b.nId;
}

// -1, 0 or 1 as `r` lies before, at or after the place of (type, name, language).
int Compare(const CResourceTree::SResource& r, const CResourceTree::SKey& type, const CResourceTree::SKey& name,
            uint16_t language)
{
    if (!(r.type == type))
        return Before(r.type, type) ? -1 : 1;
    if (!(r.name == name))
        return Before(r.name, name) ? -1 : 1;
    return r.nLanguage < language ? -1 : r.nLanguage > language ? 1 : 0;
}

bool Fits(const std::vector<uint8_t>& section, uint64_t offset, uint64_t length)
{
    return offset <= section.size() && length <= section.size() - offset;
}

size_t StringSize(const CResourceTree::SKey& key)
{
    return key.IsName() ? 2 + 2 * key.name.size() : 0;
}

struct SNameGroup
{
    size_t nFirst = 0;  // index of its first resource
    size_t nCount = 0;
    size_t nDirectory = 0;
    size_t nString = 0;
};

struct STypeGroup
{
    std::vector<SNameGroup> names;
    size_t nDirectory = 0;
    size_t nString = 0;
};

std::vector<STypeGroup> Group(const std::vector<CResourceTree::SResource>& resources)
{
    std::vector<STypeGroup> types;
    for (size_t i = 0; i < resources.size(); ++i) {
        const bool newType = i == 0 || !(resources[i].type == resources[i - 1].type);
        if (newType)
            types.emplace_back();
        auto& names = types.back().names;
        if (newType || !(resources[i].name == resources[i - 1].name))
            names.push_back(SNameGroup{i, 0, 0, 0});
        ++names.back().nCount;
    }
    return types;
}

size_t CountNames(const std::vector<CResourceTree::SKey>& keys)
{
    return static_cast<size_t>(std::count_if(keys.begin(), keys.end(), [](const auto& k) { return k.IsName(); }));
}

void PutString(std::vector<uint8_t>& bytes, size_t offset, const std::u16string& text)
{
    LittleEndian::WriteU16(bytes.data() + offset, static_cast<uint16_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i)
        LittleEndian::WriteU16(bytes.data() + offset + 2 + 2 * i, text[i]);
}

void PutEntry(std::vector<uint8_t>& bytes, size_t offset, const CResourceTree::SKey& key, size_t string, uint32_t target)
{
    LittleEndian::WriteU32(bytes.data() + offset, key.IsName() ? kHighBit | static_cast<uint32_t>(string) : key.nId);
    LittleEndian::WriteU32(bytes.data() + offset + 4, target);
}

} // namespace

bool CResourceTree::ParseKey(const std::vector<uint8_t>& section, uint32_t field, SKey& key, std::string& error)
{
    key = SKey();
    if ((field & kHighBit) == 0) {
        if (field > 0xFFFF) {
            error = "a resource number above 65535";
            return false;
        }
        key.nId = static_cast<uint16_t>(field);
        return true;
    }
    const size_t offset = field & ~kHighBit;
    if (!Fits(section, offset, 2) || !Fits(section, offset + 2, 2 * uint64_t(LittleEndian::ReadU16(&section[offset])))) {
        error = "a resource name lies outside the section";
        return false;
    }
    const size_t length = LittleEndian::ReadU16(&section[offset]);
    if (length == 0) {
        error = "an empty resource name";
        return false;
    }
    for (size_t i = 0; i < length; ++i)
        key.name.push_back(static_cast<char16_t>(LittleEndian::ReadU16(&section[offset + 2 + 2 * i])));
    return true;
}

bool CResourceTree::ParseDirectory(const std::vector<uint8_t>& section, uint32_t sectionRva, size_t offset,
                                   SResource& path, int level, std::string& error)
{
    if (!Fits(section, offset, kDirectorySize)) {
        error = "a resource directory lies outside the section";
        return false;
    }
    const uint8_t* directory = &section[offset];
    const size_t count = size_t(LittleEndian::ReadU16(directory + 12)) + LittleEndian::ReadU16(directory + 14);
    if (!Fits(section, offset + kDirectorySize, count * kEntrySize)) {
        error = "a resource directory's entries lie outside the section";
        return false;
    }
    if (level == 0) {
        m_header = {LittleEndian::ReadU32(directory), LittleEndian::ReadU32(directory + 4),
                    LittleEndian::ReadU16(directory + 8), LittleEndian::ReadU16(directory + 10)};
    }
    std::vector<SKey> seen;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = directory + kDirectorySize + i * kEntrySize;
        SKey key;
        if (!ParseKey(section, LittleEndian::ReadU32(entry), key, error))
            return false;
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            error = "a resource directory names one entry twice";
            return false;
        }
        seen.push_back(key);
        const uint32_t target = LittleEndian::ReadU32(entry + 4);
        if (((target & kHighBit) != 0) != (level < kLanguageLevel) || (level == kLanguageLevel && key.IsName())) {
            error = "the resource tree is not made of types, names and languages";
            return false;
        }
        if (level == 0)
            path.type = key;
        else if (level == 1)
            path.name = key;
        else
            path.nLanguage = key.nId;
        if (level < kLanguageLevel) {
            if (!ParseDirectory(section, sectionRva, target & ~kHighBit, path, level + 1, error))
                return false;
            continue;
        }
        if (!Fits(section, target, kDataEntrySize)) {
            error = "a resource data entry lies outside the section";
            return false;
        }
        const uint32_t rva = LittleEndian::ReadU32(&section[target]);
        const uint32_t size = LittleEndian::ReadU32(&section[target + 4]);
        if (rva < sectionRva || !Fits(section, uint64_t(rva) - sectionRva, size)) {
            error = "a resource's data lies outside the resource section";
            return false;
        }
        if (m_resources.size() == kMaximumResources) {
            error = "more than " + std::to_string(kMaximumResources) + " resources";
            return false;
        }
        path.nCodePage = LittleEndian::ReadU32(&section[target + 8]);
        const auto begin = section.begin() + static_cast<std::ptrdiff_t>(rva - sectionRva);
        path.data.assign(begin, begin + size);
        m_resources.push_back(path);
    }
    return true;
}

std::optional<CResourceTree> CResourceTree::Parse(const std::vector<uint8_t>& section, uint32_t sectionRva,
                                                  std::string& error)
{
    CResourceTree tree;
    SResource path;
    if (!tree.ParseDirectory(section, sectionRva, 0, path, 0, error))
        return std::nullopt;
    return tree;
}

void CResourceTree::WriteDirectory(std::vector<uint8_t>& bytes, size_t offset, size_t named, size_t numbered) const
{
    uint8_t* p = bytes.data() + offset;
    LittleEndian::WriteU32(p, m_header.nCharacteristics);
    LittleEndian::WriteU32(p + 4, m_header.nTimeDateStamp);
    LittleEndian::WriteU16(p + 8, m_header.nMajorVersion);
    LittleEndian::WriteU16(p + 10, m_header.nMinorVersion);
    LittleEndian::WriteU16(p + 12, static_cast<uint16_t>(named));
    LittleEndian::WriteU16(p + 14, static_cast<uint16_t>(numbered));
}

// Layout: the directories level by level, the data entries, the names, then the data,
// each datum on an 8-byte boundary.
std::vector<uint8_t> CResourceTree::Serialize(uint32_t sectionRva) const
{
    std::vector<STypeGroup> types = Group(m_resources);
    size_t cursor = kDirectorySize + kEntrySize * types.size();
    for (STypeGroup& type : types) {
        type.nDirectory = cursor;
        cursor += kDirectorySize + kEntrySize * type.names.size();
    }
    for (STypeGroup& type : types) {
        for (SNameGroup& name : type.names) {
            name.nDirectory = cursor;
            cursor += kDirectorySize + kEntrySize * name.nCount;
        }
    }
    const size_t dataEntries = cursor;
    cursor += kDataEntrySize * m_resources.size();
    for (STypeGroup& type : types) {
        type.nString = cursor;
        cursor += StringSize(m_resources[type.names.front().nFirst].type);
        for (SNameGroup& name : type.names) {
            name.nString = cursor;
            cursor += StringSize(m_resources[name.nFirst].name);
        }
    }
    std::vector<size_t> dataOffsets;
    for (const SResource& resource : m_resources) {
        cursor = (cursor + kDataAlignment - 1) / kDataAlignment * kDataAlignment;
        dataOffsets.push_back(cursor);
        cursor += resource.data.size();
    }

    std::vector<uint8_t> bytes(cursor, 0);
    std::vector<SKey> typeKeys;
    for (const STypeGroup& type : types)
        typeKeys.push_back(m_resources[type.names.front().nFirst].type);
    WriteDirectory(bytes, 0, CountNames(typeKeys), typeKeys.size() - CountNames(typeKeys));
    for (size_t t = 0; t < types.size(); ++t) {
        const STypeGroup& type = types[t];
        PutEntry(bytes, kDirectorySize + kEntrySize * t, typeKeys[t], type.nString,
                 kHighBit | static_cast<uint32_t>(type.nDirectory));
        if (typeKeys[t].IsName())
            PutString(bytes, type.nString, typeKeys[t].name);
        std::vector<SKey> nameKeys;
        for (const SNameGroup& name : type.names)
            nameKeys.push_back(m_resources[name.nFirst].name);
        WriteDirectory(bytes, type.nDirectory, CountNames(nameKeys), nameKeys.size() - CountNames(nameKeys));
        for (size_t n = 0; n < type.names.size(); ++n) {
            const SNameGroup& name = type.names[n];
            PutEntry(bytes, type.nDirectory + kDirectorySize + kEntrySize * n, nameKeys[n], name.nString,
                     kHighBit | static_cast<uint32_t>(name.nDirectory));
            if (nameKeys[n].IsName())
                PutString(bytes, name.nString, nameKeys[n].name);
            WriteDirectory(bytes, name.nDirectory, 0, name.nCount);
            for (size_t l = 0; l < name.nCount; ++l) {
                const size_t index = name.nFirst + l;
                const SResource& resource = m_resources[index];
                const size_t dataEntry = dataEntries + kDataEntrySize * index;
                PutEntry(bytes, name.nDirectory + kDirectorySize + kEntrySize * l, SKey::Id(resource.nLanguage), 0,
                         static_cast<uint32_t>(dataEntry));
                LittleEndian::WriteU32(&bytes[dataEntry], sectionRva + static_cast<uint32_t>(dataOffsets[index]));
                LittleEndian::WriteU32(&bytes[dataEntry + 4], static_cast<uint32_t>(resource.data.size()));
                LittleEndian::WriteU32(&bytes[dataEntry + 8], resource.nCodePage);
                std::copy(resource.data.begin(), resource.data.end(),
                          bytes.begin() + static_cast<std::ptrdiff_t>(dataOffsets[index]));
            }
        }
    }
    return bytes;
}

const CResourceTree::SResource* CResourceTree::Find(const SKey& type, const SKey& name, uint16_t language) const
{
    for (const SResource& resource : m_resources) {
        if (Compare(resource, type, name, language) == 0)
            return &resource;
    }
    return nullptr;
}

void CResourceTree::Put(SResource resource)
{
    auto place = m_resources.begin();
    while (place != m_resources.end() && Compare(*place, resource.type, resource.name, resource.nLanguage) < 0)
        ++place;
    if (place != m_resources.end() && Compare(*place, resource.type, resource.name, resource.nLanguage) == 0)
        *place = std::move(resource);
    else
        m_resources.insert(place, std::move(resource));
}

size_t CResourceTree::Remove(const SKey& type, const SKey& name)
{
    const size_t before = m_resources.size();
    std::erase_if(m_resources, [&](const SResource& r) { return r.type == type && r.name == name; });
    return before - m_resources.size();
}
