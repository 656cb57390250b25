#include "ShowHelp.h"

#include "framework/localization/FrameworkResources.h"
#include "framework/localization/HelpFiles.h"
#include "framework/localization/LocalizedString.h"
#include "OfcWinApp.h"
#include "framework/controls/OfcConditionalMessageBox.h"
#include "win32/Handle.h"

#include <shellapi.h>

const wchar_t kOfcVendorHelpAddress[] = L"https://www.ovra.example/help";

namespace {

constexpr wchar_t kEnglishHelpValue[] = L"OfcEnglishHelpFile";
constexpr wchar_t kWebLinkPlaceholder[] = L"<a weblinkid=%i>";

bool EndsWithHlp(const std::wstring& path)
{
    return path.size() >= 4 && ::CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".hlp", 4, TRUE) == CSTR_EQUAL;
}

bool TargetExists(const std::wstring& helpPath)
{
    return ::GetFileAttributesW(helpPath.c_str()) != INVALID_FILE_ATTRIBUTES || IsHelpAddress(helpPath);
}

void ShowEnglishHelpNotice(int productLineId)
{
    std::wstring text;
    static_cast<void>(LoadLocalizedString(text, IDS_OFC_ENGLISH_HELP_ONLY));
    const std::wstring anchor = std::wstring(L"<a href=\"") + kOfcVendorHelpAddress + L"\">";
    const std::wstring placeholder = kWebLinkPlaceholder;
    for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + anchor.size()))
        text.replace(at, placeholder.size(), anchor);
    COfcConditionalMessageBox notice(kEnglishHelpValue, 2, productLineId,
                                     COfcConditionalMessageBox::kWithCheckBox | COfcConditionalMessageBox::kMarkup);
    static_cast<void>(notice.Show(text, MB_ICONINFORMATION, 0));
}

std::wstring SystemMessage(DWORD number)
{
    wchar_t buffer[256] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, number,
                                          MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 255, nullptr);
    return std::wstring(buffer, length);
}

// String 2500 with the system's text as its "%1"; the system's text alone where the
// program has no such string.
std::wstring OpenFailureText(DWORD number)
{
    const std::wstring reason = SystemMessage(number);
    // Without a provider the loader answers FALSE but still gives the English text.
    std::wstring format;
    static_cast<void>(LoadLocalizedString(format, IDS_OFC_HELP_OPEN_FAILED));
    if (format.empty())
        return reason;
    // A translation may name inserts the English text does not have: only "%1" reads
    // the one argument.
    const std::wstring safeFormat = OneArgumentMessageFormat(format);
    const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(reason.c_str())};
    CLocalHandle formatted;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                              FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                          safeFormat.c_str(), 0, 0, reinterpret_cast<wchar_t*>(formatted.Put()), 0,
                                          reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    return length != 0 && formatted ? std::wstring(static_cast<const wchar_t*>(formatted.Get()), length) : reason;
}

void OpenHelpTarget(const std::wstring& helpPath)
{
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, nullptr, helpPath.c_str(), nullptr,
                                                                   nullptr, SW_SHOW));
    if (result < 32)
        AfxMessageBox(OpenFailureText(static_cast<DWORD>(result)), MB_OK);
}

} // namespace

void ShowHelp(CWinApp* app, const std::wstring& helpPath, DWORD_PTR data, UINT command, const std::wstring& uiCulture,
              int productLineId, const std::wstring& message)
{
    if (!TargetExists(helpPath)) {
        std::wstring text = message;
        if (text.empty())
            static_cast<void>(LoadLocalizedString(text, IDS_OFC_NO_HELP));
        COfcConditionalMessageBox box(kEnglishHelpValue, 2, productLineId, COfcConditionalMessageBox::kMarkup);
        static_cast<void>(box.Show(text, MB_ICONINFORMATION, 0));
        return;
    }
    if (EndsWithHlp(helpPath)) {
        auto* ofcApp = dynamic_cast<COfcWinApp*>(app);
        if (ofcApp != nullptr && ofcApp->m_pMainWnd != nullptr)
            ofcApp->WinHelpInternal(data, command);
        return;
    }
    const CLanguage helpLanguage = HelpFileLanguage(helpPath);
    const CLanguage uiLanguage = CLanguage::FromString(uiCulture.c_str(), false);
    if (!(helpLanguage == uiLanguage) && helpLanguage.IsValid() && helpLanguage.IsDefault())
        ShowEnglishHelpNotice(productLineId);
    OpenHelpTarget(helpPath);
}

void EnableHelpDisplay()
{
    COfcWinApp::SetHelpDisplay(&ShowHelp);
}
