#include "XNamedColors.h"

#include <cwchar>

namespace {
wchar_t AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualIgnoringCase(const std::wstring& text, const wchar_t* name)
{
    size_t i = 0;
    for (; i < text.size() && name[i] != L'\0'; ++i) {
        if (AsciiLower(text[i]) != AsciiLower(name[i]))
            return false;
    }
    return i == text.size() && name[i] == L'\0';
}

// Only the low byte counts: 300 is 44.
unsigned LowByteOf(const wchar_t* number)
{
    return static_cast<unsigned>(std::wcstol(number, nullptr, 10)) & 0xFFu;
}

unsigned HexGroup(const std::wstring& text, size_t at)
{
    const std::wstring group = text.substr(at, 2);
    return static_cast<unsigned>(std::wcstoul(group.c_str(), nullptr, 16)) & 0xFFu;
}
} // namespace

const CXNamedColors::SNamedColor CXNamedColors::kNames[kNameCount] = {
    {MakeColorRef(0xF0, 0xF8, 0xFF), L"AliceBlue"},
    {MakeColorRef(0xFA, 0xEB, 0xD7), L"AntiqueWhite"},
    {MakeColorRef(0x00, 0xFF, 0xFF), L"Aqua"},
    {MakeColorRef(0x7F, 0xFF, 0xD4), L"Aquamarine"},
    {MakeColorRef(0xF0, 0xFF, 0xFF), L"Azure"},
    {MakeColorRef(0xF5, 0xF5, 0xDC), L"Beige"},
    {MakeColorRef(0xFF, 0xE4, 0xC4), L"Bisque"},
    {MakeColorRef(0x00, 0x00, 0x00), L"Black"},
    {MakeColorRef(0xFF, 0xEB, 0xCD), L"BlanchedAlmond"},
    {MakeColorRef(0x00, 0x00, 0xFF), L"Blue"},
    {MakeColorRef(0x8A, 0x2B, 0xE2), L"BlueViolet"},
    {MakeColorRef(0xA5, 0x2A, 0x2A), L"Brown"},
    {MakeColorRef(0xDE, 0xB8, 0x87), L"Burlywood"},
    {MakeColorRef(0x5F, 0x9E, 0xA0), L"CadetBlue"},
    {MakeColorRef(0x7F, 0xFF, 0x00), L"Chartreuse"},
    {MakeColorRef(0xD2, 0x69, 0x1E), L"Chocolate"},
    {MakeColorRef(0xFF, 0x7F, 0x50), L"Coral"},
    {MakeColorRef(0x64, 0x95, 0xED), L"CornflowerBlue"},
    {MakeColorRef(0xFF, 0xF8, 0xDC), L"Cornsilk"},
    {MakeColorRef(0xDC, 0x14, 0x3C), L"Crimson"},
    {MakeColorRef(0x00, 0xFF, 0xFF), L"Cyan"},
    {MakeColorRef(0x00, 0x00, 0x8B), L"DarkBlue"},
    {MakeColorRef(0x00, 0x8B, 0x8B), L"DarkCyan"},
    {MakeColorRef(0xB8, 0x86, 0x0B), L"DarkGoldenRod"},
    {MakeColorRef(0xA9, 0xA9, 0xA9), L"DarkGray"},
    {MakeColorRef(0x00, 0x64, 0x00), L"DarkGreen"},
    {MakeColorRef(0xBD, 0xB7, 0x6B), L"DarkKhaki"},
    {MakeColorRef(0x8B, 0x00, 0x8B), L"DarkMagenta"},
    {MakeColorRef(0x55, 0x6B, 0x2F), L"DarkOliveGreen"},
    {MakeColorRef(0xFF, 0x8C, 0x00), L"DarkOrange"},
    {MakeColorRef(0x99, 0x32, 0xCC), L"DarkOrchid"},
    {MakeColorRef(0x8B, 0x00, 0x00), L"DarkRed"},
    {MakeColorRef(0xE9, 0x96, 0x7A), L"DarkSalmon"},
    {MakeColorRef(0x8F, 0xBC, 0x8F), L"DarkSeaGreen"},
    {MakeColorRef(0x48, 0x3D, 0x8B), L"DarkSlateBlue"},
    {MakeColorRef(0x2F, 0x4F, 0x4F), L"DarkSlateGray"},
    {MakeColorRef(0x00, 0xCE, 0xD1), L"DarkTurquoise"},
    {MakeColorRef(0x94, 0x00, 0xD3), L"DarkViolet"},
    {MakeColorRef(0xFF, 0x14, 0x93), L"DeepPink"},
    {MakeColorRef(0x00, 0xBF, 0xFF), L"DeepSkyBlue"},
    {MakeColorRef(0x69, 0x69, 0x69), L"DimGray"},
    {MakeColorRef(0x1E, 0x90, 0xFF), L"DodgerBlue"},
    {MakeColorRef(0xB2, 0x22, 0x22), L"FireBrick"},
    {MakeColorRef(0xFF, 0xFA, 0xF0), L"FloralWhite"},
    {MakeColorRef(0x22, 0x8B, 0x22), L"ForestGreen"},
    {MakeColorRef(0xFF, 0x00, 0xFF), L"Fuchsia"},
    {MakeColorRef(0xDC, 0xDC, 0xDC), L"Gainsboro"},
    {MakeColorRef(0xF8, 0xF8, 0xFF), L"GhostWhite"},
    {MakeColorRef(0xFF, 0xD7, 0x00), L"Gold"},
    {MakeColorRef(0xDA, 0xA5, 0x20), L"GoldenRod"},
    {MakeColorRef(0x80, 0x80, 0x80), L"Gray"},
    {MakeColorRef(0x00, 0x80, 0x00), L"Green"},
    {MakeColorRef(0xAD, 0xFF, 0x2F), L"GreenYellow"},
    {MakeColorRef(0xF0, 0xFF, 0xF0), L"HoneyDew"},
    {MakeColorRef(0xFF, 0x69, 0xB4), L"HotPink"},
    {MakeColorRef(0xCD, 0x5C, 0x5C), L"IndianRed"},
    {MakeColorRef(0x4B, 0x00, 0x82), L"Indigo"},
    {MakeColorRef(0xFF, 0xFF, 0xF0), L"Ivory"},
    {MakeColorRef(0xF0, 0xE6, 0x8C), L"Khaki"},
    {MakeColorRef(0xE6, 0xE6, 0xFA), L"Lavender"},
    {MakeColorRef(0xFF, 0xF0, 0xF5), L"LavenderBlush"},
    {MakeColorRef(0x7C, 0xFC, 0x00), L"Lawngreen"},
    {MakeColorRef(0xFF, 0xFA, 0xCD), L"LemonChiffon"},
    {MakeColorRef(0xAD, 0xD8, 0xE6), L"LightBlue"},
    {MakeColorRef(0xF0, 0x80, 0x80), L"LightCoral"},
    {MakeColorRef(0xE0, 0xFF, 0xFF), L"LightCyan"},
    {MakeColorRef(0xFA, 0xFA, 0xD2), L"LightGoldenRodYellow"},
    {MakeColorRef(0x90, 0xEE, 0x90), L"LightGreen"},
    {MakeColorRef(0xD3, 0xD3, 0xD3), L"LightGrey"},
    {MakeColorRef(0xFF, 0xB6, 0xC1), L"LightPink"},
    {MakeColorRef(0xFF, 0xA0, 0x7A), L"LightSalmon"},
    {MakeColorRef(0x20, 0xB2, 0xAA), L"LightSeaGreen"},
    {MakeColorRef(0x87, 0xCE, 0xFA), L"LightSkyBlue"},
    {MakeColorRef(0x77, 0x88, 0x99), L"LightSlateGray"},
    {MakeColorRef(0xB0, 0xC4, 0xDE), L"LightSteelBlue"},
    {MakeColorRef(0xFF, 0xFF, 0xE0), L"LightYellow"},
    {MakeColorRef(0x00, 0xFF, 0x00), L"Lime"},
    {MakeColorRef(0x32, 0xCD, 0x32), L"LimeGreen"},
    {MakeColorRef(0xFA, 0xF0, 0xE6), L"Linen"},
    {MakeColorRef(0xFF, 0x00, 0xFF), L"Magenta"},
    {MakeColorRef(0x80, 0x00, 0x00), L"Maroon"},
    {MakeColorRef(0x66, 0xCD, 0xAA), L"MediumAquamarine"},
    {MakeColorRef(0x00, 0x00, 0xCD), L"MediumBlue"},
    {MakeColorRef(0xBA, 0x55, 0xD3), L"MediumOrchid"},
    {MakeColorRef(0x93, 0x70, 0xDB), L"MediumPurple"},
    {MakeColorRef(0x3C, 0xB3, 0x71), L"MediumSeaGreen"},
    {MakeColorRef(0x7B, 0x68, 0xEE), L"MediumSlateBlue"},
    {MakeColorRef(0x00, 0xFA, 0x9A), L"MediumSpringGreen"},
    {MakeColorRef(0x48, 0xD1, 0xCC), L"MediumTurquoise"},
    {MakeColorRef(0xC7, 0x15, 0x85), L"MediumVioletRed"},
    {MakeColorRef(0x19, 0x19, 0x70), L"MidnightBlue"},
    {MakeColorRef(0xF5, 0xFF, 0xFA), L"MintCream"},
    {MakeColorRef(0xFF, 0xE4, 0xE1), L"MistyRose"},
    {MakeColorRef(0xFF, 0xE4, 0xB5), L"Moccasin"},
    {MakeColorRef(0xFF, 0xDE, 0xAD), L"NavajoWhite"},
    {MakeColorRef(0x00, 0x00, 0x80), L"Navy"},
    {MakeColorRef(0xFD, 0xF5, 0xE6), L"OldLace"},
    {MakeColorRef(0x80, 0x80, 0x00), L"Olive"},
    {MakeColorRef(0x6B, 0x8E, 0x23), L"OliveDrab"},
    {MakeColorRef(0xFF, 0xA5, 0x00), L"Orange"},
    {MakeColorRef(0xFF, 0x45, 0x00), L"OrangeRed"},
    {MakeColorRef(0xDA, 0x70, 0xD6), L"Orchid"},
    {MakeColorRef(0xEE, 0xE8, 0xAA), L"PaleGoldenRod"},
    {MakeColorRef(0x98, 0xFB, 0x98), L"PaleGreen"},
    {MakeColorRef(0xAF, 0xEE, 0xEE), L"PaleTurquoise"},
    {MakeColorRef(0xDB, 0x70, 0x93), L"PaleVioletRed"},
    {MakeColorRef(0xFF, 0xEF, 0xD5), L"PapayaWhip"},
    {MakeColorRef(0xFF, 0xDA, 0xB9), L"PeachPuff"},
    {MakeColorRef(0xCD, 0x85, 0x3F), L"Peru"},
    {MakeColorRef(0xFF, 0xC0, 0xCB), L"Pink"},
    {MakeColorRef(0xDD, 0xA0, 0xDD), L"Plum"},
    {MakeColorRef(0xB0, 0xE0, 0xE6), L"PowderBlue"},
    {MakeColorRef(0x80, 0x00, 0x80), L"Purple"},
    {MakeColorRef(0xFF, 0x00, 0x00), L"Red"},
    {MakeColorRef(0xBC, 0x8F, 0x8F), L"RosyBrown"},
    {MakeColorRef(0x41, 0x69, 0xE1), L"RoyalBlue"},
    {MakeColorRef(0x8B, 0x45, 0x13), L"SaddleBrown"},
    {MakeColorRef(0xFA, 0x80, 0x72), L"Salmon"},
    {MakeColorRef(0xF4, 0xA4, 0x60), L"SandyBrown"},
    {MakeColorRef(0x2E, 0x8B, 0x57), L"SeaGreen"},
    {MakeColorRef(0xFF, 0xF5, 0xEE), L"SeaShell"},
    {MakeColorRef(0xA0, 0x52, 0x2D), L"Sienna"},
    {MakeColorRef(0xC0, 0xC0, 0xC0), L"Silver"},
    {MakeColorRef(0x87, 0xCE, 0xEB), L"SkyBlue"},
    {MakeColorRef(0x6A, 0x5A, 0xCD), L"SlateBlue"},
    {MakeColorRef(0x70, 0x80, 0x90), L"SlateGray"},
    {MakeColorRef(0xFF, 0xFA, 0xFA), L"Snow"},
    {MakeColorRef(0x00, 0xFF, 0x7F), L"SpringGreen"},
    {MakeColorRef(0x46, 0x82, 0xB4), L"SteelBlue"},
    {MakeColorRef(0xD2, 0xB4, 0x8C), L"Tan"},
    {MakeColorRef(0x00, 0x80, 0x80), L"Teal"},
    {MakeColorRef(0xD8, 0xBF, 0xD8), L"Thistle"},
    {MakeColorRef(0xFF, 0x63, 0x47), L"Tomato"},
    {MakeColorRef(0x40, 0xE0, 0xD0), L"Turquoise"},
    {MakeColorRef(0xEE, 0x82, 0xEE), L"Violet"},
    {MakeColorRef(0xF5, 0xDE, 0xB3), L"Wheat"},
    {MakeColorRef(0xFF, 0xFF, 0xFF), L"White"},
    {MakeColorRef(0xF5, 0xF5, 0xF5), L"WhiteSmoke"},
    {MakeColorRef(0xFF, 0xFF, 0x00), L"Yellow"},
    {MakeColorRef(0x9A, 0xCD, 0x32), L"YellowGreen"},
};

CXNamedColors::CXNamedColors(const std::wstring& text)
{
    if (text.find(L',') != std::wstring::npos)
        m_color = FromTriple(text);
    else if (text.find(L'#') != std::wstring::npos)
        m_color = FromHash(text);
    else
        m_color = FromName(text);
}

CXNamedColors::~CXNamedColors() = default;

ColorRef CXNamedColors::FromTriple(const std::wstring& text)
{
    const size_t first = text.find(L',');
    const size_t second = text.find(L',', first + 1);
    const unsigned red = LowByteOf(text.c_str());
    const unsigned green = LowByteOf(text.c_str() + first + 1);
    const unsigned blue = second == std::wstring::npos ? 0 : LowByteOf(text.c_str() + second + 1);
    return MakeColorRef(red, green, blue);
}

ColorRef CXNamedColors::FromHash(const std::wstring& text)
{
    if (text.size() != 7)
        return 0;
    const size_t hash = text.find(L'#');
    if (hash + 7 > text.size())
        return 0;
    return MakeColorRef(HexGroup(text, hash + 1), HexGroup(text, hash + 3), HexGroup(text, hash + 5));
}

ColorRef CXNamedColors::FromName(const std::wstring& text)
{
    for (const SNamedColor& entry : kNames) {
        if (EqualIgnoringCase(text, entry.name))
            return entry.color;
    }
    return 0;
}
