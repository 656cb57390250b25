#include "LanguageSources.h"

#include <windows.h>

#include "HelpFiles.h"
#include "Language.h"
#include "framework/catalogue/CatalogRegistryKey.h"
#include "framework/catalogue/ProductCatalog.h"
#include "win32/Handle.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr wchar_t kFamilyLanguage[] = L"FamilyLanguage";
constexpr wchar_t kInstalledLanguages[] = L"InstalledLanguages";
constexpr DWORD kSectionBytes = 20;
constexpr std::size_t kSectionCharacters = kSectionBytes / sizeof(wchar_t);

CKernelHandle g_hPublishedLanguage;

std::wstring SectionName()
{
    return L"OvraAppLanguage_" + std::to_wstring(::GetCurrentProcessId());
}

struct SViewDeleter {
    void operator()(void* view) const { ::UnmapViewOfFile(view); }
};

bool ReadSharedString(int rootSelector, int productLineId, const wchar_t* valueName, std::wstring& value)
{
    CProductCatalog catalog(false);
    CCatalogRegistryKey key;
    return catalog.GetApplicationsSharedKey(rootSelector, KEY_READ, productLineId, key) == 0 &&
           key.QueryString(valueName, value) == 0;
}

void WriteSharedString(int rootSelector, int productLineId, const wchar_t* valueName, const std::wstring& value)
{
    CProductCatalog catalog(false);
    CCatalogRegistryKey key;
    if (catalog.GetApplicationsSharedKey(rootSelector, KEY_WRITE, productLineId, key) == 0)
        static_cast<void>(key.SetString(valueName, value));
}

// Product line 708 keeps its list in a "Languages" sub-key as "Installed".
std::wstring ReadInstalledList(int productLineId)
{
    CProductCatalog catalog(false);
    CCatalogRegistryKey installation;
    if (catalog.GetInstallationKey(1, KEY_READ, productLineId, installation) != 0)
        return {};
    std::wstring text;
    if (productLineId != CProductCatalog::kLineWithoutSharedAreas) {
        static_cast<void>(installation.QueryString(kInstalledLanguages, text));
        return text;
    }
    CCatalogRegistryKey languages;
    static_cast<void>(installation.OpenChild(L"Languages", languages));
    if (languages.Exists() != 0)
        languages = CCatalogRegistryKey(
            SCatalogKeyLocation{L"Software\\Ovra\\Families\\Ovra 7\\Languages", KEY_READ, 1});
    static_cast<void>(languages.QueryString(L"Installed", text));
    return text;
}

} // namespace

std::wstring GetFamilyLanguage(int productLineId)
{
    std::wstring value;
    if (ReadSharedString(2, productLineId, kFamilyLanguage, value) ||
        ReadSharedString(1, productLineId, kFamilyLanguage, value))
        return value;
    return {};
}

void SetFamilyLanguage(const std::wstring& value, int productLineId)
{
    WriteSharedString(2, productLineId, kFamilyLanguage, value);
    WriteSharedString(1, productLineId, kFamilyLanguage, value);
}

void GetInstalledLanguages(std::list<std::wstring>& out, int productLineId, bool addDefaults)
{
    out.clear();
    AppendLanguagePieces(out, ReadInstalledList(productLineId));
    if (!addDefaults)
        return;
    for (const std::wstring& code :
         {CLanguage::FromSystemDefaultLangID(false).GetCode(), CLanguage::FromCode(L"ENU", false).GetCode()}) {
        if (!code.empty() && std::find(out.begin(), out.end(), code) == out.end())
            out.push_back(code);
    }
}

void SetInstalledLanguages(const std::wstring& value, int productLineId)
{
    CProductCatalog catalog(false);
    CCatalogRegistryKey key;
    if (catalog.GetInstallationKey(1, KEY_WRITE, productLineId, key) == 0)
        static_cast<void>(key.SetString(kInstalledLanguages, value));
}

bool PublishAppLanguage(const std::wstring& language)
{
    ClosePublishedAppLanguage();
    CKernelHandle section(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSectionBytes,
                                               SectionName().c_str()));
    if (!section)
        return false;
    const std::unique_ptr<void, SViewDeleter> view(::MapViewOfFile(section.Get(), FILE_MAP_WRITE, 0, 0, kSectionBytes));
    if (!view)
        return false;
    std::memset(view.get(), 0, kSectionBytes);
    std::memcpy(view.get(), language.c_str(), std::min<std::size_t>(language.size() * sizeof(wchar_t), kSectionBytes));
    g_hPublishedLanguage = std::move(section);
    return true;
}

bool ReadAppLanguage(std::wstring& language)
{
    const CKernelHandle section(::OpenFileMappingW(FILE_MAP_READ, FALSE, SectionName().c_str()));
    if (!section)
        return false;
    const std::unique_ptr<void, SViewDeleter> view(::MapViewOfFile(section.Get(), FILE_MAP_READ, 0, 0, kSectionBytes));
    if (!view)
        return false;
    // A language of ten characters fills the section: no terminator follows it.
    const auto* text = static_cast<const wchar_t*>(view.get());
    std::size_t length = 0;
    while (length < kSectionCharacters && text[length] != L'\0')
        ++length;
    language.assign(text, length);
    return true;
}

void ClosePublishedAppLanguage()
{
    g_hPublishedLanguage.Reset();
}
