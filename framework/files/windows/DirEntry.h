#pragma once

#include "framework/files/BasicString.h"
#include "framework/files/PortableTime.h"

#include <cstdint>
#include <memory>

class CPortableFile;

// What an enumeration knows of its current entry.
struct SDirEntryInfo
{
    CPathString name;
    std::uint32_t nAttributes = 0;
    CPortableTime creationTime;
    CPortableTime lastAccessTime;
    CPortableTime lastWriteTime;
    // All bits set for a directory.
    std::uint64_t nSize = 0;
    // The last search call found something.
    bool bValid = false;
    // The system recorded none; the creation time then holds the last access.
    bool bHasCreationTime = true;
};

// Entry options of an enumeration.
namespace DirEntryOption {
// Present an entry by its short name when its long name cannot be used.
inline constexpr std::uint32_t kShortNameFallback = 2;
// Present an all-capitals name of an entry without creation time as "Readme.txt".
inline constexpr std::uint32_t kCaseFix = 4;
// Apply the case fix to entries with a creation time as well.
inline constexpr std::uint32_t kCaseFixAlways = 8;
} // namespace DirEntryOption

// A cursor over the entries of a directory that match a pattern and an attribute filter.
// It stands on an entry while HasEntry is true; Next moves on.
class CDirEntry
{
public:
    // No entry; its file object is the empty one.
    CDirEntry();
    CDirEntry(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue, std::uint32_t nRequired,
              std::uint32_t nExcluded, std::uint32_t nOptions);
    virtual ~CDirEntry();
    CDirEntry(const CDirEntry&) = delete;
    CDirEntry& operator=(const CDirEntry&) = delete;

    virtual bool HasEntry() const { return m_bMore; }
    // The current entry's file, made on first request.
    virtual CPortableFile& GetEntryFile();
    virtual const SDirEntryInfo& GetEntryInfo() const = 0;
    virtual CPortableFile& MakeEntryFile();
    // The file made so far; none before the first request.
    virtual CPortableFile* PeekEntryFile() const { return m_pFile.get(); }
    virtual void Next();

protected:
    virtual void Advance() = 0;

    const CPathString& Pattern() const { return m_pattern; }
    const CPathString& Directory() const { return m_directory; }
    std::uint32_t Required() const { return m_nRequired; }
    std::uint32_t Excluded() const { return m_nExcluded; }
    std::uint32_t Options() const { return m_nOptions; }
    void SetMore(bool bMore) { m_bMore = bMore; }
    std::unique_ptr<CPortableFile>& File() { return m_pFile; }

private:
    CPathString m_pattern;
    // Kept for the caller; the enumeration does not use it.
    std::intptr_t m_nValue = 0;
    std::uint32_t m_nRequired = 0;
    std::uint32_t m_nExcluded = 0;
    std::uint32_t m_nOptions = 0;
    bool m_bMore = false;
    std::unique_ptr<CPortableFile> m_pFile;
    CPathString m_directory;
};
