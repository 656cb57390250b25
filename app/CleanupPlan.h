#pragma once

#include <string>

// Decides what "/CLEANUP" may remove. Facts about the root are taken before this
// run writes anything, so the removal never reaches what the run did not create.
class CCleanupPlan
{
public:
    // `fullRoot` and `packageFolder` are absolute and end with a backslash.
    void Capture(const std::wstring& fullRoot, const std::wstring& packageFolder, bool rootExisted,
                 bool rootHadEntries);
    // The package folder is this run's from the moment extraction into it begins.
    void MarkExtractionStarted() { m_bExtractionStarted = true; }

    // The folder to remove, or empty when nothing may be removed.
    std::wstring Target() const;

private:
    std::wstring m_strRoot;
    std::wstring m_strPackageFolder;
    bool m_bRootExisted = false;
    bool m_bRootHadEntries = false;
    bool m_bExtractionStarted = false;
};
