#pragma once

#include <windows.h>

#include "CatalogKeyLocation.h"
#include "CatalogResult.h"
#include "win32/Handle.h"

#include <string>

// A registry key the catalogue hands out: a path below a root with an access mask,
// opened (or created) on first use. Its root is resolved once per object. Public
// operations answer with HRESULTs; no failure is shown.
class CCatalogRegistryKey
{
public:
    CCatalogRegistryKey() = default;
    explicit CCatalogRegistryKey(SCatalogKeyLocation location);
    ~CCatalogRegistryKey();
    // Takes the other's place, never its handles: the copy opens its own.
    CCatalogRegistryKey(const CCatalogRegistryKey& other);
    CCatalogRegistryKey& operator=(const CCatalogRegistryKey& other);

    [[nodiscard]] CatalogHResult Create();
    [[nodiscard]] CatalogHResult QueryString(const std::wstring& valueName, std::wstring& out);
    [[nodiscard]] CatalogHResult SetString(const std::wstring& valueName, const std::wstring& value);
    [[nodiscard]] CatalogHResult OpenChild(const std::wstring& subPath, CCatalogRegistryKey& out) const;
    // S_OK when the key can be opened, E_HANDLE whatever stops it.
    [[nodiscard]] CatalogHResult Exists();
    void Close();

    const std::wstring& GetPath() const { return m_location.path; }
    std::uint32_t GetAccessMask() const { return m_location.accessMask; }
    int GetRootSelector() const { return m_location.rootSelector; }
    // The open key, null while closed.
    HKEY GetHandle() const { return m_hKey.Get(); }

private:
    HKEY Root();
    void Open();

    SCatalogKeyLocation m_location;
    CRegKeyHandle m_hKey;
    // Only the current user's hive is opened for us; the predefined roots are not owned.
    CRegKeyHandle m_hOpenedRoot;
    HKEY m_hRoot = nullptr;
};
