#pragma once

#include "HelpFolderQuery.h"

// The help folder through the standard library, for hosts other than Windows. It
// lists every entry and leaves the match to the visitor.
class CPortableHelpFolderQuery final : public IHelpFolderQuery
{
public:
    bool Exists(const std::wstring& path) const override;
    void ListMatching(const std::wstring& folder, const std::wstring& extension,
                      const EntryVisitor& visit) const override;
};
