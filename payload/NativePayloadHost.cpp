#include "NativePayloadHost.h"

#include "CodePage1252.h"

std::filesystem::path CNativePayloadHost::NameToPath(const std::string& name)
{
    std::string utf8 = CodePage1252::ToUtf8(name);
    for (char& c : utf8) {
        if (c == '\\')
            c = '/';
    }
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
