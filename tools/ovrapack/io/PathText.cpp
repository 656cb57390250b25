#include "PathText.h"

namespace PathText {

std::filesystem::path FromArgument(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Display(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* Open(const std::filesystem::path& path, const char* mode)
{
#ifdef _WIN32
    const std::string narrow(mode);
    const std::wstring wide(narrow.begin(), narrow.end());
    return _wfopen(path.c_str(), wide.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

} // namespace PathText
