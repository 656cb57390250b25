// Runs the whole pipeline on the input as the compressed stream of a package: the
// result is one of the driver's codes, the error text stays inside its 256 bytes,
// and nothing is written outside the package folder.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "FuzzScratch.h"
#include "payload/ContainerLayout.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/NativePayloadHost.h"
#include "payload/PayloadExtraction.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

constexpr uint32_t kPrefix = 64;
constexpr uint64_t kMaxDictionary = 1u << 24;
constexpr uint64_t kMaxDecoded = 64u << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The stub allocates whatever window the header names; that is not what is fuzzed here.
    if (size >= ContainerLayout::kStreamHeaderSize) {
        const uint64_t decoded = LittleEndian::ReadU64(data + ContainerLayout::kStreamDecodedSizeField);
        const uint32_t dictionary = LittleEndian::ReadU32(data + ContainerLayout::kStreamDictionaryField);
        if (dictionary > kMaxDictionary || (decoded != ~0ull && decoded > kMaxDecoded))
            return 0;
    }
    const auto folder = FuzzScratchFolder("decode");
    const auto stub = folder / "Setup.exe";
    {
        std::ofstream out(stub, std::ios::binary);
        const std::string prefix(kPrefix, 'S');
        out.write(prefix.data(), static_cast<std::streamsize>(prefix.size()));
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto package = folder / "package";
    std::filesystem::create_directories(package);
    CNativePayloadHost host(package);
    char errorText[CErrorTextBuffer::kSize + 1] = {};
    errorText[CErrorTextBuffer::kSize] = 'G';
    const int result = ExtractPayload(stub, kPrefix, errorText, &host);
    Check(result == PayloadResult::kOk || result == 1);
    Check(errorText[CErrorTextBuffer::kSize] == 'G' && std::strlen(errorText) < CErrorTextBuffer::kSize);
    Check((result == PayloadResult::kOk) == (errorText[0] == '\0'));
    Check(OnlyInside(package));
    DestroyPayloadParser();
    return 0;
}
