#include "CatalogRegistryKey.h"

#include "OvraSXSError.h"
#include "ToHResult.h"

#include <vector>

namespace {

using namespace CatalogErrors;

void ThrowOnFailure(LSTATUS result)
{
    if (result != ERROR_SUCCESS)
        throw COvraSXSError(static_cast<std::uint32_t>(result), kOriginRegistry);
}

} // namespace

CCatalogRegistryKey::CCatalogRegistryKey(SCatalogKeyLocation location) : m_location(std::move(location))
{
}

CCatalogRegistryKey::~CCatalogRegistryKey() = default;

CCatalogRegistryKey::CCatalogRegistryKey(const CCatalogRegistryKey& other) : m_location(other.m_location)
{
}

CCatalogRegistryKey& CCatalogRegistryKey::operator=(const CCatalogRegistryKey& other)
{
    if (this != &other) {
        m_hKey.Reset();
        m_hOpenedRoot.Reset();
        m_hRoot = nullptr;
        m_location = other.m_location;
    }
    return *this;
}

HKEY CCatalogRegistryKey::Root()
{
    if (m_hRoot != nullptr)
        return m_hRoot;
    switch (m_location.rootSelector) {
    case SCatalogKeyLocation::kLocalMachine:
        m_hRoot = HKEY_LOCAL_MACHINE;
        break;
    case SCatalogKeyLocation::kClassesRoot:
        m_hRoot = HKEY_CLASSES_ROOT;
        break;
    case SCatalogKeyLocation::kCurrentUser: {
        ThrowOnFailure(::RegOpenCurrentUser(KEY_ALL_ACCESS, m_hOpenedRoot.Put()));
        m_hRoot = m_hOpenedRoot.Get();
        break;
    }
    default:
        throw COvraSXSError(kInvalidAccess, kOriginRegistry);
    }
    return m_hRoot;
}

void CCatalogRegistryKey::Open()
{
    if (m_hKey)
        return;
    ThrowOnFailure(::RegOpenKeyExW(Root(), m_location.path.c_str(), 0, m_location.accessMask, m_hKey.Put()));
}

CatalogHResult CCatalogRegistryKey::Create()
{
    try {
        if (m_hKey)
            return CatalogHResults::kOk;
        ThrowOnFailure(::RegCreateKeyExW(Root(), m_location.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         m_location.accessMask, nullptr, m_hKey.Put(), nullptr));
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

CatalogHResult CCatalogRegistryKey::QueryString(const std::wstring& valueName, std::wstring& out)
{
    try {
        Open();
        DWORD type = 0;
        DWORD size = 0;
        ThrowOnFailure(::RegQueryValueExW(m_hKey.Get(), valueName.c_str(), nullptr, &type, nullptr, &size));
        if (type != REG_SZ)
            throw COvraSXSError(kDatatypeMismatch, kOriginRegistry);
        // One spare character beyond the stored bytes: a value stored without its
        // terminator still ends in a zero here.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        DWORD read = size;
        ThrowOnFailure(::RegQueryValueExW(m_hKey.Get(), valueName.c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(buffer.data()), &read));
        out = buffer.data();
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

CatalogHResult CCatalogRegistryKey::SetString(const std::wstring& valueName, const std::wstring& value)
{
    try {
        Open();
        ThrowOnFailure(::RegSetValueExW(m_hKey.Get(), valueName.c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

CatalogHResult CCatalogRegistryKey::OpenChild(const std::wstring& subPath, CCatalogRegistryKey& out) const
{
    try {
        SCatalogKeyLocation child = m_location;
        child.path = JoinKeyPath(m_location.path, subPath);
        out = CCatalogRegistryKey(std::move(child));
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

CatalogHResult CCatalogRegistryKey::Exists()
{
    try {
        Open();
        return CatalogHResults::kOk;
    } catch (...) {
        return CatalogHResults::kHandle;
    }
}

void CCatalogRegistryKey::Close()
{
    m_hKey.Reset();
    m_hOpenedRoot.Reset();
    m_hRoot = nullptr;
    m_location.path.clear();
}
