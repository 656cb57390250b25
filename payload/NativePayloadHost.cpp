#include "NativePayloadHost.h"

#include "CodePage1252.h"

CPayloadPath CNativePayloadHost::NameToPath(const std::string& name)
{
    std::string utf8 = CodePage1252::ToUtf8(name);
    for (char& c : utf8) {
        if (c == '\\')
            c = '/';
    }
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string CNativePayloadHost::PathToText(const CPayloadPath& path)
{
    const std::u8string text = path.ToFilesystemPath().u8string();
    return std::string(text.begin(), text.end());
}

void CNativePayloadHost::CreateFolders(const CPayloadPath& folder)
{
    // A folder that cannot be made shows when its first file cannot be opened.
    (void)folder.CreateFolders();
}

bool CNativePayloadHost::RemoveFile(const CPayloadPath& path)
{
    std::error_code ec;
    std::filesystem::remove(path.ForSystem().ToFilesystemPath(), ec);
    return !ec;
}
