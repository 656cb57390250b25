// Reads the input as a stub given to the packaging tool. The reader accepts it or
// says why not. An accepted image ends inside the file; cut at that end it reads
// again to the same end, and the cut clears only the two pointers past it. Reading
// from a head of the file with the whole size agrees with reading the whole file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "tools/ovrapack/pe/PeImage.h"

namespace {

// Bytes of the cut that may differ from the file: the COFF symbol-table pointer and
// count, and the certificate directory entry; both lie in the headers.
size_t ChangedBytes(const std::vector<uint8_t>& file, const std::vector<uint8_t>& cut)
{
    size_t changed = 0;
    for (size_t i = 0; i < cut.size(); ++i)
        changed += file[i] != cut[i] ? 1 : 0;
    return changed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> file(data, data + size);
    std::string error;
    const auto image = CPeImage::Parse(file, error);
    Check(image.has_value() == error.empty());

    const size_t headLength = size < 2 ? size : (data[size - 1] | (data[size - 2] << 8)) % (size + 1);
    const std::vector<uint8_t> head(data, data + headLength);
    std::string headError;
    const auto fromHead = CPeImage::Parse(head, size, headError);
    Check(fromHead.has_value() == headError.empty());
    if (fromHead)
        Check(image && fromHead->RawEnd() == image->RawEnd() && fromHead->IsPe32Plus() == image->IsPe32Plus());
    if (!image)
        return 0;

    Check(image->RawEnd() <= size);
    std::vector<uint8_t> cut = file;
    image->CutAtRawEnd(cut);
    Check(cut.size() == image->RawEnd());
    Check(ChangedBytes(file, cut) <= 16);
    std::string cutError;
    const auto again = CPeImage::Parse(cut, cutError);
    Check(again && again->RawEnd() == image->RawEnd() && cutError.empty());
    return 0;
}
