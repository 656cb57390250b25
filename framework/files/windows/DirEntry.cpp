#include "DirEntry.h"

#include "framework/files/windows/PortableInvalidFile.h"

CDirEntry::CDirEntry() : m_pFile(std::make_unique<CPortableInvalidFile>())
{
}

CDirEntry::CDirEntry(CPathString::View directory, CPathString::View pattern, std::intptr_t nValue,
                     std::uint32_t nRequired, std::uint32_t nExcluded, std::uint32_t nOptions)
    : m_pattern(pattern), m_nValue(nValue), m_nRequired(nRequired), m_nExcluded(nExcluded), m_nOptions(nOptions),
      m_bMore(true), m_directory(directory)
{
}

CDirEntry::~CDirEntry() = default;

CPortableFile& CDirEntry::GetEntryFile()
{
    return MakeEntryFile();
}

CPortableFile& CDirEntry::MakeEntryFile()
{
    if (!m_pFile)
        m_pFile = std::make_unique<CPortableInvalidFile>();
    return *m_pFile;
}

void CDirEntry::Next()
{
    if (!m_bMore)
        return;
    m_pFile.reset();
    Advance();
}
