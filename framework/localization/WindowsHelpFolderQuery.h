#pragma once

#include "HelpFolderQuery.h"

// The help folder as Win32 sees it: the system matches the pattern, so a folder of
// thousands of other files is never read past the first help file.
class CWindowsHelpFolderQuery final : public IHelpFolderQuery
{
public:
    bool Exists(const std::wstring& path) const override;
    void ListMatching(const std::wstring& folder, const std::wstring& extension,
                      const EntryVisitor& visit) const override;
};
