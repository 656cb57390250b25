#include "LocalizedString.h"

#include "Localization.h"
#include "LocalizationDictionary.h"
#include "win32/WinApp.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kStringsPerBlock = 16;

bool LoadFromModule(HINSTANCE module, UINT id, std::wstring& text)
{
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr)
        return false;
    text.assign(resource, static_cast<size_t>(length));
    return true;
}

// The resource module first (a language library may replace the program's
// strings), then the program itself.
bool LoadFromResourceModules(UINT id, std::wstring& text)
{
    const HINSTANCE resources = AfxGetResourceHandle();
    if (LoadFromModule(resources, id, text))
        return true;
    const HINSTANCE program = AfxGetInstanceHandle();
    return program != resources && LoadFromModule(program, id, text);
}

} // namespace

BOOL LoadLocalizedString(std::wstring& text, UINT id)
{
    std::wstring loaded;
    if (!LoadFromResourceModules(id, loaded))
        return FALSE;
    text = std::move(loaded);
    if (GetLocalization() == nullptr || GetLocalizationKind() > kMUILocalization)
        return FALSE;
    if (GetLocalizationKind() == kDictionaryLocalization) {
        std::wstring translated;
        if (GetDictionary().Translate(text.c_str(), translated))
            text = std::move(translated);
    }
    return TRUE;
}

std::wstring LoadText(UINT id)
{
    std::wstring text;
    // Missing: the text stays empty, which is all a caller can show.
    static_cast<void>(LoadLocalizedString(text, id));
    return text;
}

int LoadStringLocalized(HINSTANCE module, UINT id, wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0)
        return 0;
    // The whole English text is looked up: a small buffer would cut the key.
    std::wstring text;
    if (!LoadFromModule(module, id, text))
        return 0;
    std::wstring translated;
    if (GetDictionary().Translate(text.c_str(), translated))
        text = std::move(translated);
    const size_t copied = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, text.data(), copied * sizeof(wchar_t));
    buffer[copied] = L'\0';
    return static_cast<int>(copied);
}

bool LoadTableString(HINSTANCE module, UINT id, std::wstring& text)
{
    const HRSRC block = ::FindResourceW(module, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), RT_STRING);
    if (block == nullptr)
        return false;
    const HGLOBAL loaded = ::LoadResource(module, block);
    const auto* units = static_cast<const WCHAR*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
    if (units == nullptr)
        return false;
    // Each entry is a 16-bit length and that many units; walk them within the block.
    const size_t total = ::SizeofResource(module, block) / sizeof(WCHAR);
    size_t position = 0;
    for (UINT entry = 0; entry < id % kStringsPerBlock; ++entry) {
        if (position >= total)
            return false;
        position += 1 + units[position];
    }
    if (position >= total || units[position] == 0 || position + 1 + units[position] > total)
        return false;
    text.assign(units + position + 1, units[position]);
    std::wstring translated;
    if (!GetDictionary().Translate(text.c_str(), translated))
        return false;
    text = std::move(translated);
    return true;
}

bool TranslateText(const wchar_t* text, std::wstring& out)
{
    if (GetDictionary().Translate(text, out))
        return true;
    out = text != nullptr ? text : L"";
    return false;
}
