#include "AppendedPicture.h"

#include <windows.h>

#include <new>

#include "PictureRegion.h"
#include "win32/Handle.h"

std::vector<uint8_t> ReadAppendedPicture(const std::wstring& path, uint32_t pictureOffset, uint32_t streamOffset)
{
    if (pictureOffset == 0)
        return {};
    const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return {};
    const auto length = PictureRegion::Length(pictureOffset, streamOffset, static_cast<uint64_t>(size.QuadPart));
    if (!length)
        return {};
    std::vector<uint8_t> buffer;
    try {
        buffer.assign(*length, 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    LARGE_INTEGER position{};
    position.QuadPart = pictureOffset;
    if (!::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN))
        return {};
    size_t filled = 0;
    while (filled < buffer.size()) {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(buffer.size() - filled);
        if (!::ReadFile(file.Get(), buffer.data() + filled, wanted, &read, nullptr))
            return {};
        if (read == 0)
            break;
        filled += read;
    }
    return buffer;
}
