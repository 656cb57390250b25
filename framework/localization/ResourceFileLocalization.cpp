#include "ResourceFileLocalization.h"

#include "win32/FileSystemPath.h"
#include "win32/Handle.h"
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

// The version functions, loaded from the system folder only when needed: a static
// import of version.dll would be looked up beside the program first.
class CVersionLibrary
{
public:
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

    CVersionLibrary() : m_module(::LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    {
        if (m_module) {
            m_size = Function<SizeFn>("GetFileVersionInfoSizeW");
            m_info = Function<InfoFn>("GetFileVersionInfoW");
            m_query = Function<QueryFn>("VerQueryValueW");
        }
    }

    bool IsUsable() const { return m_size != nullptr && m_info != nullptr && m_query != nullptr; }

    SizeFn m_size = nullptr;
    InfoFn m_info = nullptr;
    QueryFn m_query = nullptr;

private:
    template <typename Fn>
    Fn Function(const char* name) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_module.Get(), name)));
    }

    CModuleHandle m_module;
};

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
    const CVersionLibrary library;
    if (!library.IsUsable())
        return {};
    DWORD ignored = 0;
    const DWORD size = library.m_size(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!library.m_info(path.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!library.m_query(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
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
