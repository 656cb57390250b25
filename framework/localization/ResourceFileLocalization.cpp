#include "ResourceFileLocalization.h"

#include "win32/FileSystemPath.h"
#include "win32/WinApp.h"

#include <vector>

namespace {

std::wstring LongPathOf(const std::wstring& path)
{
    const DWORD units = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (units == 0)
        return path;
    std::wstring longPath(units, L'\0');
    const DWORD copied = ::GetLongPathNameW(path.c_str(), longPath.data(), units);
    if (copied == 0 || copied >= units)
        return path;
    longPath.resize(copied);
    return longPath;
}

} // namespace

CResourceFileLocalization::~CResourceFileLocalization()
{
    if (m_hLanguageLibrary != nullptr) {
        if (AfxGetResourceHandle() == m_hLanguageLibrary)
            AfxSetResourceHandle(nullptr);
        ::FreeLibrary(m_hLanguageLibrary);
    }
}

std::array<std::wstring, 2> CResourceFileLocalization::CandidateNames(const std::wstring& modulePath,
                                                                      const CLanguage& language)
{
    const size_t slash = modulePath.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : modulePath.substr(0, slash + 1);
    std::wstring base = slash == std::wstring::npos ? modulePath : modulePath.substr(slash + 1);
    base = base.substr(0, base.find(L'.'));
    return {folder + base + L"_" + language.GetCultureName() + L".NLS",
            folder + base + L"-" + language.GetCode() + L".NLS"};
}

CResourceFileLocalization::Version CResourceFileLocalization::ProductVersionOf(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return {HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
            LOWORD(info->dwProductVersionLS)};
}

HMODULE CResourceFileLocalization::LoadLanguageLibrary(const CLanguage& language) const
{
    const CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return nullptr;
    const std::wstring modulePath = LongPathOf(FileSystemPath::ModulePath(app->m_hInstance));
    if (modulePath.empty())
        return nullptr;
    const Version programVersion = ProductVersionOf(modulePath);
    for (const std::wstring& candidate : CandidateNames(modulePath, language)) {
        if (::GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (ProductVersionOf(candidate) != programVersion)
            continue;
        // A resource-only library: nothing of it runs.
        const HMODULE library = ::LoadLibraryExW(candidate.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (library != nullptr)
            return library;
    }
    return nullptr;
}

int CResourceFileLocalization::ApplyLanguage(const CLanguage& language)
{
    if (language.IsNeutral()) {
        AfxSetResourceHandle(nullptr);
        return TRUE;
    }
    const HMODULE library = LoadLanguageLibrary(language);
    if (library == nullptr)
        return FALSE;
    if (m_hLanguageLibrary != nullptr)
        ::FreeLibrary(m_hLanguageLibrary);
    m_hLanguageLibrary = library;
    AfxSetResourceHandle(library);
    return TRUE;
}

int CResourceFileLocalization::IsLanguageAvailable(const CLanguage& language)
{
    if (language.IsNeutral())
        return TRUE;
    if (!language.IsValid())
        return FALSE;
    const HMODULE library = LoadLanguageLibrary(language);
    if (library == nullptr)
        return FALSE;
    ::FreeLibrary(library);
    return TRUE;
}
