#include "LzmaStreamEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include <lzmamt/LzmaEnc.h>

#include "payload/ContainerLayout.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Three threads work on the encoder's state and the match finder's records inside it:
// started on a 128-byte boundary (a pair of cache lines), their fields fall on the lines
// as the SDK laid them out, not shifted by the heap's 16-byte alignment.
void* Allocate(ISzAllocPtr, size_t size)
{
    if (size == 0)
        return nullptr;
#if defined(__linux__)
    constexpr size_t kCacheLinePair = 128;
    void* address = nullptr;
    return ::posix_memalign(&address, kCacheLinePair, size) == 0 ? address : nullptr;
#else
    return std::malloc(size);
#endif
}

// The match finder walks its tables (about ten times the dictionary) at random, and
// with small pages most of its time went to address-translation misses: where the
// system has huge pages on request, the large blocks ask for them. A refused request
// only costs speed.
void* AllocateBig(ISzAllocPtr alloc, size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t kHugePage = size_t(2) << 20;
    if (size > kHugePage / 2) {
        const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
        void* address = nullptr;
        if (::posix_memalign(&address, kHugePage, rounded) == 0) {
            (void)::madvise(address, rounded, MADV_HUGEPAGE);
            return address;
        }
    }
#endif
    return Allocate(alloc, size);
}

void Release(ISzAllocPtr, void* address)
{
    std::free(address);
}

const ISzAlloc kHeap = {Allocate, Release};
const ISzAlloc kBigHeap = {AllocateBig, Release};

struct SInput
{
    ISeqInStream vtable;  // first, so the SDK's pointer is ours
    const CLzmaStreamEncoder::FRead* pRead;
    uint64_t nConsumed;
    std::string strError;
};

struct SOutput
{
    ISeqOutStream vtable;
    const CLzmaStreamEncoder::FWrite* pWrite;
    std::string strError;
};

struct SProgress
{
    ICompressProgress vtable;
    const CLzmaStreamEncoder::FProgress* pProgress;
};

SRes ReadInput(ISeqInStreamPtr p, void* buffer, size_t* size)
{
    auto* input = reinterpret_cast<SInput*>(const_cast<ISeqInStream*>(p));
    size_t got = 0;
    if (!(*input->pRead)(static_cast<uint8_t*>(buffer), *size, got, input->strError)) {
        *size = 0;
        return SZ_ERROR_READ;
    }
    *size = got;
    input->nConsumed += got;
    return SZ_OK;
}

size_t WriteOutput(ISeqOutStreamPtr p, const void* data, size_t size)
{
    auto* output = reinterpret_cast<SOutput*>(const_cast<ISeqOutStream*>(p));
    return (*output->pWrite)(static_cast<const uint8_t*>(data), size, output->strError) ? size : 0;
}

SRes ReportProgress(ICompressProgressPtr p, UInt64 inSize, UInt64)
{
    auto* progress = reinterpret_cast<SProgress*>(const_cast<ICompressProgress*>(p));
    if (*progress->pProgress && inSize != std::numeric_limits<UInt64>::max())
        (*progress->pProgress)(inSize);
    return SZ_OK;
}

CLzmaEncProps PropsOf(const CLzmaStreamEncoder::SSettings& settings, uint64_t size)
{
    CLzmaEncProps props;
    LzmaEncProps_Init(&props);
    props.level = 9;
    props.dictSize = settings.nDictionary;
    props.reduceSize = size;
    props.lc = settings.nLc;
    props.lp = settings.nLp;
    props.pb = settings.nPb;
    props.fb = settings.nFastBytes;
    props.numThreads = settings.nThreads;
    return props;
}

struct SEncoderOwner
{
    CLzmaEncHandle handle = LzmaEnc_Create(&kHeap);
    ~SEncoderOwner()
    {
        if (handle)
            LzmaEnc_Destroy(handle, &kHeap, &kBigHeap);
    }
};

} // namespace

uint32_t CLzmaStreamEncoder::MaximumDictionary()
{
    return sizeof(size_t) >= 8 ? (1u << 30) : (1u << 27);
}

uint32_t CLzmaStreamEncoder::EffectiveDictionary(const SSettings& settings, uint64_t size)
{
    SEncoderOwner encoder;
    CLzmaEncProps props = PropsOf(settings, size);
    Byte header[LZMA_PROPS_SIZE];
    SizeT headerSize = sizeof(header);
    if (!encoder.handle || LzmaEnc_SetProps(encoder.handle, &props) != SZ_OK ||
        LzmaEnc_WriteProperties(encoder.handle, header, &headerSize) != SZ_OK)
        return 0;
    static_assert(LZMA_PROPS_SIZE == ContainerLayout::kStreamPropertiesSize);
    return LittleEndian::ReadU32(header + ContainerLayout::kStreamDictionaryField);
}

bool CLzmaStreamEncoder::Encode(const SSettings& settings, uint64_t size, const FRead& read, const FWrite& write,
                                const FProgress& progress, std::string& error)
{
    SEncoderOwner encoder;
    if (!encoder.handle) {
        error = "out of memory for the LZMA encoder";
        return false;
    }
    CLzmaEncProps props = PropsOf(settings, size);
    if (LzmaEnc_SetProps(encoder.handle, &props) != SZ_OK) {
        error = "the LZMA encoder refuses these settings";
        return false;
    }
    Byte header[LZMA_PROPS_SIZE + 8];
    SizeT propsSize = LZMA_PROPS_SIZE;
    if (LzmaEnc_WriteProperties(encoder.handle, header, &propsSize) != SZ_OK) {
        error = "the LZMA encoder refuses these settings";
        return false;
    }
    for (int i = 0; i < 8; ++i)
        header[LZMA_PROPS_SIZE + i] = static_cast<Byte>(size >> (8 * i));
    if (!write(header, sizeof(header), error))
        return false;

    SInput input = {{ReadInput}, &read, 0, {}};
    SOutput output = {{WriteOutput}, &write, {}};
    SProgress reporter = {{ReportProgress}, &progress};
    const SRes result =
        LzmaEnc_Encode(encoder.handle, &output.vtable, &input.vtable, &reporter.vtable, &kHeap, &kBigHeap);
    if (result != SZ_OK) {
        if (!input.strError.empty())
            error = input.strError;
        else if (!output.strError.empty())
            error = output.strError;
        else if (result == SZ_ERROR_MEM)
            error = "out of memory while compressing (try a smaller --dict)";
        else
            error = "LZMA encoder failed with code " + std::to_string(result);
        return false;
    }
    if (input.nConsumed != size) {
        error = "the container came out at " + std::to_string(input.nConsumed) + " bytes instead of " +
                std::to_string(size);
        return false;
    }
    return true;
}
