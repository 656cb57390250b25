#include "SourceReader.h"

#include <algorithm>
#include <cstring>

#include "CabinetLayout.h"
#include "payload/PayloadPath.h"
#include "tools/ovrapack/io/PathText.h"

namespace {

using PathText::Display;

} // namespace

std::ifstream* CSourceReader::Open(uint32_t file, std::string& error)
{
    for (auto& slot : m_slots) {
        if (slot.nFile == file) {
            slot.nUse = ++m_nUses;
            return &slot.stream;
        }
    }
    SSlot& slot = m_slots[0].nUse <= m_slots[1].nUse ? m_slots[0] : m_slots[1];
    slot.stream.close();
    slot.stream.clear();
    slot.nFile = UINT32_MAX;
    slot.stream.open(CPayloadPath(m_paths[file]).ForSystem().ToFilesystemPath(), std::ios::binary);
    if (!slot.stream) {
        error = "cannot open \"" + Display(m_paths[file]) + "\": " + std::strerror(errno);
        return nullptr;
    }
    slot.nFile = file;
    slot.nUse = ++m_nUses;
    return &slot.stream;
}

bool CSourceReader::ReadFile(uint32_t file, uint64_t offset, void* buffer, size_t length, std::string& error)
{
    std::ifstream* stream = Open(file, error);
    if (!stream)
        return false;
    stream->clear();
    stream->seekg(static_cast<std::streamoff>(offset));
    stream->read(static_cast<char*>(buffer), static_cast<std::streamsize>(length));
    if (!*stream || static_cast<size_t>(stream->gcount()) != length) {
        stream->clear();
        error = "cannot read \"" + Display(m_paths[file]) + "\" (did it change while packing?)";
        return false;
    }
    return true;
}

bool CSourceReader::ReadStream(const SSourceStream& source, uint64_t offset, void* buffer, size_t length,
                               std::string& error)
{
    if (!source.bBlocked)
        return ReadFile(source.nFile, source.nBase + offset, buffer, length, error);
    auto* out = static_cast<uint8_t*>(buffer);
    constexpr uint32_t kBlock = CCabinetLayout::kBlockSize;
    while (length > 0) {
        const uint64_t block = offset / kBlock;
        const size_t step = static_cast<size_t>(std::min<uint64_t>(length, kBlock - offset % kBlock));
        const uint64_t at = source.nBase + block * (kBlock + CCabinetLayout::kBlockHeaderSize) +
                            CCabinetLayout::kBlockHeaderSize + offset % kBlock;
        if (!ReadFile(source.nFile, at, out, step, error))
            return false;
        out += step;
        offset += step;
        length -= step;
    }
    return true;
}

bool CSourceReader::Equal(const SSourceStream& a, uint64_t offsetA, const SSourceStream& b, uint64_t offsetB,
                          uint64_t length, bool& equal, std::string& error)
{
    std::vector<uint8_t> left(1 << 16);
    std::vector<uint8_t> right(1 << 16);
    equal = true;
    for (uint64_t done = 0; done < length;) {
        const size_t step = static_cast<size_t>(std::min<uint64_t>(left.size(), length - done));
        if (!ReadStream(a, offsetA + done, left.data(), step, error) ||
            !ReadStream(b, offsetB + done, right.data(), step, error))
            return false;
        if (std::memcmp(left.data(), right.data(), step) != 0) {
            equal = false;
            return true;
        }
        done += step;
    }
    return true;
}
