#include "ErrorReporter.h"

#include "ErrorLogEntry.h"
#include "InstallLogPath.h"
#include "win32/Handle.h"
#include "win32/TextConversion.h"

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

} // namespace

void CErrorReporter::Configure(bool quiet, std::wstring package)
{
    m_bQuiet = quiet;
    m_strPackage = std::move(package);
    m_strLogPath.clear();
    if (!m_bQuiet)
        return;
    m_strTempPath = TemporaryFolder();
    if (!m_strTempPath.empty())
        m_strLogPath = CInstallLogName::ErrorLogPath(m_strTempPath, CurrentUtcTime());
}

void CErrorReporter::Report(HWND owner, const std::wstring& text, const std::wstring& caption) const
{
    if (m_bQuiet)
        AppendToLog(text, caption);
    else
        ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONERROR);
}

// Without a temporary folder, or when the log cannot be written, a quiet run says
// nothing but its exit code: still better than a box that waits for ever.
void CErrorReporter::AppendToLog(const std::wstring& text, const std::wstring& caption) const
{
    if (m_strLogPath.empty())
        return;
    ::CreateDirectoryW(CInstallLogName::Folder(m_strTempPath).c_str(), nullptr);
    const CFileHandle file(::CreateFileW(m_strLogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    std::string bytes = WideToAnsi(CErrorLogEntry::Format(CurrentUtcTime(), m_strPackage, caption, text), CP_UTF8);
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart == 0)
        bytes.insert(0, kUtf8Mark);
    static_cast<void>(WriteAll(file.Get(), bytes));
}
