#pragma once

#include <string>

// Conversions between Windows code pages and the host's wide and UTF-8 text,
// through iconv. Only for hosts other than Windows.
class CCodePageConverter
{
public:
    // False when the code page is unknown to iconv or the text does not convert.
    [[nodiscard]] static bool ToWide(const std::string& text, unsigned codePage, std::wstring& wide);
    [[nodiscard]] static bool ToUtf8(const std::string& text, unsigned codePage, std::string& utf8);
    [[nodiscard]] static bool FromUtf8(const std::string& utf8, unsigned codePage, std::string& text);

private:
    [[nodiscard]] static bool Convert(const std::string& from, const char* fromCharset, const char* toCharset,
                                      std::string& to);
};
