#include "CleanupPlan.h"

#include "ExtractionRootRules.h"

void CCleanupPlan::Capture(const std::wstring& fullRoot, const std::wstring& packageFolder, bool rootExisted,
                           bool rootHadEntries)
{
    m_strRoot = fullRoot;
    m_strPackageFolder = packageFolder;
    m_bRootExisted = rootExisted;
    m_bRootHadEntries = rootHadEntries;
}

std::wstring CCleanupPlan::Target() const
{
    if (m_strRoot.empty())
        return std::wstring();
    // A root this run created, or an empty one, holds nothing but this run's files.
    const bool rootIsOurs = !m_bRootExisted || !m_bRootHadEntries;
    if (rootIsOurs && !CExtractionRootRules::IsVolumeRoot(m_strRoot))
        return m_strRoot;
    return m_bExtractionStarted ? m_strPackageFolder : std::wstring();
}
