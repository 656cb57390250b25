#include "LzmaTestEncoder.h"

#include <cstdlib>
#include <stdexcept>

#include <lzmamt/LzmaEnc.h>

namespace {

void* Allocate(ISzAllocPtr, size_t size)
{
    return size == 0 ? nullptr : std::malloc(size);
}

void Release(ISzAllocPtr, void* address)
{
    std::free(address);
}

const ISzAlloc kHeap = {Allocate, Release};

} // namespace

std::vector<uint8_t> CompressForPayload(const std::vector<uint8_t>& data, const SLzmaTestSettings& settings)
{
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 5;
    props.dictSize = settings.nDictionary;
    props.lc = settings.nLc;
    props.lp = settings.nLp;
    props.pb = settings.nPb;
    props.numThreads = 1;
    props.writeEndMark = settings.bUnknownSize ? 1 : 0;

    std::vector<uint8_t> out(13 + data.size() + data.size() / 2 + 1024);
    SizeT destLen = out.size() - 13;
    SizeT propsSize = LZMA_PROPS_SIZE;
    const SRes res = LzmaEncode(out.data() + 13, &destLen, data.data(), data.size(), &props, out.data(), &propsSize,
                                settings.bUnknownSize ? 1 : 0, nullptr, &kHeap, &kHeap);
    if (res != SZ_OK || propsSize != LZMA_PROPS_SIZE)
        throw std::runtime_error("LzmaEncode failed");
    const uint64_t size = settings.bUnknownSize ? ~0ull : data.size();
    for (int i = 0; i < 8; ++i)
        out[5 + i] = static_cast<uint8_t>(size >> (8 * i));
    out.resize(13 + destLen);
    return out;
}
