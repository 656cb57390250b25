#include "PackageReader.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include <lzma/LzmaDec.h>

#include "PatchableImage.h"
#include "tools/ovrapack/pe/PeImage.h"
#include "payload/ContainerLayout.h"
#include "payload/LzmaHeapAllocator.h"
#include "tools/ovrapack/io/PathText.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kHeadSize = 64 * 1024;
constexpr size_t kInputSize = 64 * 1024;
constexpr size_t kGrowStep = 1 << 20;

using PathText::Display;

bool ReadAt(std::ifstream& file, uint64_t offset, std::vector<uint8_t>& bytes, size_t length)
{
    bytes.resize(length);
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return bytes.size() == length;
}

struct SDecoderOwner
{
    CLzmaDec decoder;
    SDecoderOwner() { LzmaDec_Construct(&decoder); }
    ~SDecoderOwner() { LzmaDec_FreeProbs(&decoder, LzmaHeapAllocator()); }
};

} // namespace

bool CPackageReader::Open(const fs::path& path, std::string& error)
{
    std::error_code ec;
    const uint64_t fileSize = fs::file_size(path, ec);
    if (ec) {
        error = "cannot read \"" + Display(path) + "\": " + ec.message();
        return false;
    }
    return ReadPatchBlock(path, fileSize, error) && ReadTables(path, error);
}

bool CPackageReader::ReadPatchBlock(const fs::path& path, uint64_t fileSize, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> head;
    if (!file) {
        error = "cannot open \"" + Display(path) + "\"";
        return false;
    }
    ReadAt(file, 0, head, static_cast<size_t>(std::min<uint64_t>(fileSize, kHeadSize)));
    const auto image = CPeImage::Parse(head, fileSize, error);
    if (!image)
        return false;
    // The block lies in the stub, which ends where the image's sections end.
    std::vector<uint8_t> stub;
    if (!ReadAt(file, 0, stub, static_cast<size_t>(image->RawEnd()))) {
        error = "cannot read \"" + Display(path) + "\"";
        return false;
    }
    CPatchableImage patchable;
    if (!patchable.Bind(std::move(stub), error))
        return false;
    m_fields = patchable.Fields();
    const uint32_t streamOffset = m_fields.nStreamOffset;
    if (streamOffset == 0 || streamOffset + ContainerLayout::kStreamHeaderSize > fileSize) {
        error = "no payload: the stream offset " + std::to_string(streamOffset) + " lies outside the file";
        return false;
    }
    return true;
}

bool CPackageReader::ReadTables(const fs::path& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> header;
    if (!file || !ReadAt(file, m_fields.nStreamOffset, header, ContainerLayout::kStreamHeaderSize)) {
        error = "cannot read the stream header";
        return false;
    }
    m_nProperties = header[0];
    m_nDictionary = LittleEndian::ReadU32(header.data() + ContainerLayout::kStreamDictionaryField);
    m_nDecodedSize = LittleEndian::ReadU64(header.data() + ContainerLayout::kStreamDecodedSizeField);

    SDecoderOwner owner;
    CLzmaDec& decoder = owner.decoder;
    if (LzmaDec_AllocateProbs(&decoder, header.data(), LZMA_PROPS_SIZE, LzmaHeapAllocator()) != SZ_OK) {
        error = "unsupported stream properties";
        return false;
    }
    LzmaDec_Init(&decoder);
    // The decoded head lives in a buffer that never wraps, so it also serves as the
    // decoder's window; it grows as the tables turn out larger.
    std::vector<uint8_t> decoded;
    std::vector<uint8_t> input(kInputSize);
    size_t inPos = 0;
    size_t inSize = 0;
    uint64_t filePos = m_fields.nStreamOffset + ContainerLayout::kStreamHeaderSize;
    file.clear();
    file.seekg(static_cast<std::streamoff>(filePos));
    while (true) {
        const uint64_t wanted =
            std::min(CContainerTables::BytesNeeded(decoded.data(), decoder.dicPos), m_nDecodedSize);
        if (decoder.dicPos >= wanted)
            break;
        const size_t limit = static_cast<size_t>(std::min<uint64_t>(wanted, decoder.dicPos + kGrowStep));
        if (decoded.size() < limit) {
            decoded.resize(limit);
            decoder.dic = decoded.data();
            decoder.dicBufSize = decoded.size();
        }
        if (inPos == inSize) {
            file.read(reinterpret_cast<char*>(input.data()), static_cast<std::streamsize>(input.size()));
            inSize = static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0));
            inPos = 0;
            if (inSize == 0) {
                error = "the stream ends before the container's tables";
                return false;
            }
        }
        SizeT inLength = inSize - inPos;
        ELzmaStatus status;
        const size_t before = decoder.dicPos;
        if (LzmaDec_DecodeToDic(&decoder, limit, input.data() + inPos, &inLength, LZMA_FINISH_ANY, &status) != SZ_OK) {
            error = "data error in the compressed stream";
            return false;
        }
        inPos += inLength;
        if (inLength == 0 && decoder.dicPos == before && inPos != inSize) {
            error = "the stream ends before the container's tables";
            return false;
        }
    }
    const auto tables = CContainerTables::Parse(decoded.data(), decoder.dicPos, error);
    if (!tables)
        return false;
    m_tables = *tables;
    return true;
}
