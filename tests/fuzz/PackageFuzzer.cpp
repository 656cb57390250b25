// Takes the input as an installer downloaded from anywhere and does what listing and
// extracting it do: the reader either describes it or says why not, and every index
// the listing follows lies inside its tables; extraction ends in one of its result
// codes, with a reason on failure, and writes only inside its folder. The input is
// also read as the decoded tables themselves, which a mutated stream rarely yields.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzScratch.h"
#include "payload/CodePage1252.h"
#include "payload/ContainerLayout.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/NativePayloadHost.h"
#include "payload/PayloadExtraction.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"
#include "tools/ovrapack/read/PackageReader.h"
#include "tools/ovrapack/read/PatchBlockScanner.h"

namespace {

// The stub allocates the window the stream header names; the decode driver's fuzzer
// covers that, here it would only hit the memory limit.
constexpr uint32_t kMaxDictionary = 1u << 22;
constexpr uint64_t kMaxDecoded = 32u << 20;

void CheckList(const std::filesystem::path& path)
{
    CPackageReader reader;
    std::string error;
    if (!reader.Open(path, error)) {
        Check(!error.empty());
        return;
    }
    const CContainerTables& tables = reader.Tables();
    for (const auto& chunk : tables.chunks) {
        Check(!chunk.destinations.empty());
        for (const auto& destination : chunk.destinations)
            Check(destination.nFile < tables.names.size());
    }
    Check(tables.FileSizes().size() == tables.names.size());
    for (const std::string& name : tables.names)
        Check(CodePage1252::ToUtf8(name).size() >= name.size());
}

// The tables as the reader finds them once decoded: what parses is sized as the
// reader asked for it and, when its chunks fill the data section, writes back the same.
void CheckTables(const uint8_t* data, size_t size)
{
    std::string error;
    const auto tables = CContainerTables::Parse(data, size, error);
    Check(tables.has_value() == error.empty());
    if (!tables)
        return;
    const uint64_t length = tables->SerializedSize();
    Check(CContainerTables::BytesNeeded(data, size) == length && length <= size);
    Check(tables->FileSizes().size() == tables->names.size());
    uint64_t dataLength = 0;
    for (const auto& chunk : tables->chunks)
        dataLength += chunk.nLength;
    std::vector<uint8_t> bytes;
    const bool written = tables->Serialize(bytes, error);
    Check(written == (dataLength == tables->nDataLength));
    if (written)
        Check(bytes.size() == length && std::equal(bytes.begin(), bytes.end(), data));
}

bool WindowIsSmall(const uint8_t* data, size_t size, uint32_t streamOffset)
{
    if (streamOffset > size || size - streamOffset < ContainerLayout::kStreamHeaderSize)
        return true;
    const uint8_t* header = data + streamOffset;
    const uint64_t decoded = LittleEndian::ReadU64(header + ContainerLayout::kStreamDecodedSizeField);
    return LittleEndian::ReadU32(header + ContainerLayout::kStreamDictionaryField) <= kMaxDictionary &&
           (decoded == ~0ull || decoded <= kMaxDecoded);
}

void CheckExtract(const std::filesystem::path& path, const std::filesystem::path& folder, const uint8_t* data,
                  size_t size)
{
    std::string error;
    const auto found = CPatchBlockScanner::Scan(path, error);
    if (!found) {
        Check(!error.empty());
        return;
    }
    const uint32_t streamOffset = CPatchBlock(found->block.data()).StreamOffset();
    if (streamOffset >= found->nFileSize || !WindowIsSmall(data, size, streamOffset))
        return;
    std::filesystem::create_directories(folder);
    CNativePayloadHost host(folder);
    char errorText[CErrorTextBuffer::kSize + 1] = {};
    errorText[CErrorTextBuffer::kSize] = 'G';
    const int result = ExtractPayload(path, streamOffset, errorText, &host);
    DestroyPayloadParser();
    Check(result == PayloadResult::kOk || result == 1);
    Check(errorText[CErrorTextBuffer::kSize] == 'G');
    Check((result == PayloadResult::kOk) == (errorText[0] == '\0'));
    Check(OnlyInside(folder));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto scratch = FuzzScratchFolder("package");
    const auto path = scratch / "Setup.exe";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CheckTables(data, size);
    CheckList(path);
    CheckExtract(path, scratch / "out", data, size);
    return 0;
}
