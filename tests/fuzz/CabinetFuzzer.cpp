// Reads the input as a cabinet found in a source tree. A layout is found or not;
// when found, every folder's blocks lie inside the file and every member's bytes
// map to file offsets inside the file, which is what packing reads through it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "tools/ovrapack/pack/CabinetLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = [data, size](uint64_t offset, void* buffer, size_t length) {
        if (offset > size || length > size - offset)
            return false;
        std::memcpy(buffer, data + offset, length);
        return true;
    };
    const auto layout = CCabinetLayout::Parse(size, read);
    if (!layout)
        return 0;
    for (const CCabinetLayout::SFolder& folder : layout->Folders()) {
        if (folder.nContentLength == 0) {
            Check(folder.members.empty());
            continue;
        }
        Check(CCabinetLayout::FileOffsetOf(folder, folder.nContentLength - 1) < size);
        for (const CCabinetLayout::SMember& member : folder.members) {
            Check(member.nLength > 0 && member.nStart + uint64_t(member.nLength) <= folder.nContentLength);
            const uint64_t first = CCabinetLayout::FileOffsetOf(folder, member.nStart);
            const uint64_t last = CCabinetLayout::FileOffsetOf(folder, member.nStart + member.nLength - 1);
            Check(first <= last && last < size);
        }
    }
    return 0;
}
