#pragma once

#include <functional>
#include <string>

// What the help-file search asks of the file system. Windows programs answer through
// Win32, the tools and the native tests through the standard library: the standard
// library's file system support would bring its locale machinery into the stub.
class IHelpFolderQuery
{
public:
    // Receives one entry name (not a path); false ends the listing.
    using EntryVisitor = std::function<bool(const std::wstring& name)>;

    virtual ~IHelpFolderQuery() = default;
    virtual bool Exists(const std::wstring& path) const = 0;
    // Lists the folder's entries for the pattern "*" + extension, in the file system's
    // order, until `visit` returns false. The system's pattern may pass names that do
    // not end with the extension (short-name matches): the visitor decides.
    virtual void ListMatching(const std::wstring& folder, const std::wstring& extension,
                              const EntryVisitor& visit) const = 0;
};

// The query of this build.
const IHelpFolderQuery& HelpFolderQuery();
