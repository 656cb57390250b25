#pragma once

#include "DirEntry.h"

#include "win32/Handle.h"

// Directory entries through the system's search.
class CWindowsDirEntry final : public CDirEntry
{
public:
    // Stands on the first accepted entry at once, or has none.
    CWindowsDirEntry(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue,
                     std::uint32_t nRequired, std::uint32_t nExcluded, std::uint32_t nOptions);
    ~CWindowsDirEntry() override;

    const SDirEntryInfo& GetEntryInfo() const override { return m_info; }
    CPortableFile& MakeEntryFile() override;

    // "README.TXT" becomes "Readme.txt"; names with any lower-case letter stay.
    static CPathString FixCase(CPathString::View name);

protected:
    void Advance() override;

private:
    bool Search();
    bool Accepts() const;
    void ApplyOptions();
    bool IsReachable() const;

    CFindHandle m_search;
    SDirEntryInfo m_info;
    CPathString m_shortName;
};
