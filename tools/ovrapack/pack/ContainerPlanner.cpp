#include "ContainerPlanner.h"

#include <algorithm>
#include <limits>

#include "ChunkCutter.h"
#include "tools/ovrapack/cli/TerminalProgress.h"

namespace {

constexpr size_t kReadSize = 1 << 20;
constexpr uint64_t kMaximum32 = std::numeric_limits<uint32_t>::max();

} // namespace

bool CContainerPlanner::Plan(CContainerPlan& plan, std::string& error)
{
    if (m_pProgress)
        m_pProgress->Begin("reading files", m_tree.TotalSize());
    for (const uint32_t file : ScanOrder()) {
        if (!AddFile(file, error))
            return false;
    }
    if (m_pProgress)
        m_pProgress->End();
    return BuildChunks(plan, error);
}

std::vector<uint32_t> CContainerPlanner::ScanOrder() const
{
    const auto& entries = m_tree.Entries();
    std::vector<uint32_t> order(entries.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (!m_options.bGroupByType)
        return order;
    // Files of one type, and files of one name in different folders, compress
    // better next to each other.
    struct SKey
    {
        std::string strExtension;
        std::string strBaseName;
    };
    std::vector<SKey> keys(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string name = entries[i].strName.substr(entries[i].strName.rfind('\\') + 1);
        for (char& c : name)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        const size_t dot = name.rfind('.');
        keys[i].strExtension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
        keys[i].strBaseName = std::move(name);
    }
    std::stable_sort(order.begin(), order.end(), [&keys](uint32_t a, uint32_t b) {
        if (keys[a].strExtension != keys[b].strExtension)
            return keys[a].strExtension < keys[b].strExtension;
        return keys[a].strBaseName < keys[b].strBaseName;
    });
    return order;
}

bool CContainerPlanner::AddFile(uint32_t file, std::string& error)
{
    const uint64_t size = m_tree.Entries()[file].nSize;
    if (size == 0)
        return true;
    uint8_t signature[4] = {};
    if (m_options.bCabinets && size >= 36) {
        if (!m_reader.ReadFile(file, 0, signature, sizeof(signature), error))
            return false;
        if (signature[0] == 'M' && signature[1] == 'S' && signature[2] == 'C' && signature[3] == 'F') {
            std::string readError;
            const auto cabinet = CCabinetLayout::Parse(size, [&](uint64_t offset, void* buffer, size_t length) {
                return m_reader.ReadFile(file, offset, buffer, length, readError);
            });
            if (!readError.empty()) {
                error = readError;
                return false;
            }
            if (cabinet)
                return AddCabinet(file, *cabinet, error);
        }
    }
    m_streams.push_back({file, false, 0, static_cast<uint32_t>(size)});
    return ScanStream(static_cast<uint32_t>(m_streams.size() - 1), {0, static_cast<uint32_t>(size)}, error);
}

bool CContainerPlanner::AddCabinet(uint32_t file, const CCabinetLayout& cabinet, std::string& error)
{
    ++m_nCabinets;
    // File ranges that hold folder content; everything else travels as plain stretches.
    std::vector<std::pair<uint64_t, uint64_t>> content;
    for (const auto& folder : cabinet.Folders()) {
        if (folder.nContentLength == 0)
            continue;
        std::vector<uint32_t> boundaries = {0, folder.nContentLength};
        for (const auto& member : folder.members) {
            boundaries.push_back(member.nStart);
            boundaries.push_back(member.nStart + member.nLength);
        }
        std::sort(boundaries.begin(), boundaries.end());
        boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());
        m_streams.push_back({file, true, folder.nFirstBlock, folder.nContentLength});
        if (!ScanStream(static_cast<uint32_t>(m_streams.size() - 1), boundaries, error))
            return false;
        for (uint32_t start = 0; start < folder.nContentLength; start += CCabinetLayout::kBlockSize) {
            const uint32_t length = std::min(CCabinetLayout::kBlockSize, folder.nContentLength - start);
            const uint64_t at = CCabinetLayout::FileOffsetOf(folder, start);
            content.emplace_back(at, at + length);
        }
    }
    std::sort(content.begin(), content.end());
    uint64_t position = 0;
    const uint64_t size = m_tree.Entries()[file].nSize;
    content.emplace_back(size, size);
    for (const auto& [start, end] : content) {
        if (start > position) {
            const auto length = static_cast<uint32_t>(start - position);
            m_streams.push_back({file, false, static_cast<uint32_t>(position), length});
            if (!ScanStream(static_cast<uint32_t>(m_streams.size() - 1), {0, length}, error))
                return false;
        }
        position = std::max(position, end);
    }
    return true;
}

bool CContainerPlanner::ScanStream(uint32_t stream, const std::vector<uint32_t>& boundaries, std::string& error)
{
    const SSourceStream source = m_streams[stream];
    std::vector<uint8_t> buffer(kReadSize);
    CChunkCutter cutter(m_options.nAverageChunk == 0 ? 64 * 1024 : m_options.nAverageChunk);
    for (size_t region = 0; region + 1 < boundaries.size(); ++region) {
        uint32_t segmentStart = boundaries[region];
        const uint32_t regionEnd = boundaries[region + 1];
        uint32_t position = segmentStart;
        CContentHash hash;
        cutter.Restart();
        while (position < regionEnd) {
            const auto length = static_cast<size_t>(std::min<uint64_t>(buffer.size(), regionEnd - position));
            if (!m_reader.ReadStream(source, position, buffer.data(), length, error))
                return false;
            size_t used = 0;
            while (used < length) {
                size_t take = length - used;
                const bool cut = m_options.nAverageChunk != 0 && cutter.Scan(buffer.data() + used, take, take);
                hash.Update(buffer.data() + used, take);
                used += take;
                const uint32_t end = position + static_cast<uint32_t>(used);
                if (cut && end < regionEnd) {
                    if (!AddSegment(stream, segmentStart, end - segmentStart, hash.Final(), error))
                        return false;
                    segmentStart = end;
                    hash = CContentHash();
                }
            }
            position += static_cast<uint32_t>(length);
            m_nScanned += length;
            if (m_pProgress)
                m_pProgress->Update(m_nScanned);
        }
        if (regionEnd > segmentStart && !AddSegment(stream, segmentStart, regionEnd - segmentStart, hash.Final(), error))
            return false;
    }
    return true;
}

bool CContainerPlanner::AddSegment(uint32_t stream, uint32_t offset, uint32_t length,
                                   const CContentHash::SDigest& digest, std::string& error)
{
    const auto segment = static_cast<uint32_t>(m_segments.size());
    std::vector<uint32_t>& candidates = m_byDigest[digest];
    uint32_t content = UINT32_MAX;
    for (const uint32_t candidate : candidates) {
        const SContent& known = m_contents[candidate];
        if (known.nLength != length)
            continue;
        const SSegment& first = m_segments[known.occurrences.front()];
        bool equal = false;
        if (!m_reader.Equal(m_streams[first.nStream], first.nOffset, m_streams[stream], offset, length, equal, error))
            return false;
        if (equal) {
            content = candidate;
            break;
        }
    }
    if (content == UINT32_MAX) {
        content = static_cast<uint32_t>(m_contents.size());
        m_contents.push_back({digest, length, {}});
        candidates.push_back(content);
    }
    m_contents[content].occurrences.push_back(segment);
    m_segments.push_back({stream, offset, length, content});
    return true;
}

bool CContainerPlanner::Continues(uint32_t previous, uint32_t next) const
{
    const auto& before = m_contents[m_segments[previous].nContent].occurrences;
    const auto& after = m_contents[m_segments[next].nContent].occurrences;
    if (before.size() != after.size())
        return false;
    for (size_t k = 0; k < before.size(); ++k) {
        if (after[k] != before[k] + 1 || m_segments[after[k]].nStream != m_segments[before[k]].nStream)
            return false;
    }
    return true;
}

CContainerTables::SDestination CContainerPlanner::DestinationOf(const SSegment& segment) const
{
    const SSourceStream& stream = m_streams[segment.nStream];
    CContainerTables::SDestination destination;
    destination.nFile = static_cast<uint16_t>(stream.nFile);
    destination.bBlocked = stream.bBlocked;
    if (!stream.bBlocked) {
        destination.nTargetOffset = stream.nBase + segment.nOffset;
        return destination;
    }
    // A chunk that starts a block is placed from that block's gap on; one that starts
    // inside a block is placed at its first byte.
    const uint32_t position = segment.nOffset % CCabinetLayout::kBlockSize;
    const uint64_t block = segment.nOffset / CCabinetLayout::kBlockSize;
    uint64_t target = stream.nBase + block * (CCabinetLayout::kBlockSize + CCabinetLayout::kBlockHeaderSize);
    if (position != 0)
        target += CCabinetLayout::kBlockHeaderSize + position;
    destination.nBlockPosition = static_cast<uint16_t>(position);
    destination.nTargetOffset = static_cast<uint32_t>(target);
    return destination;
}

bool CContainerPlanner::BuildChunks(CContainerPlan& plan, std::string& error)
{
    plan = CContainerPlan();
    for (const auto& entry : m_tree.Entries()) {
        plan.tables.names.push_back(entry.strName);
        plan.nTotalFileBytes += entry.nSize;
    }
    std::vector<bool> stored(m_contents.size(), false);
    CContentHash digest;
    uint64_t dataLength = 0;
    for (uint32_t first = 0; first < m_segments.size(); ++first) {
        if (stored[m_segments[first].nContent])
            continue;
        uint64_t length = m_segments[first].nLength;
        stored[m_segments[first].nContent] = true;
        CContentHash chunkContent;
        chunkContent.UpdateNumber(m_contents[m_segments[first].nContent].digest.nLow);
        chunkContent.UpdateNumber(m_contents[m_segments[first].nContent].digest.nHigh);
        for (uint32_t next = first + 1; next < m_segments.size(); ++next) {
            const uint32_t content = m_segments[next].nContent;
            if (stored[content] || !Continues(next - 1, next) ||
                length + m_segments[next].nLength > kMaximum32)
                break;
            stored[content] = true;
            length += m_segments[next].nLength;
            chunkContent.UpdateNumber(m_contents[content].digest.nLow);
            chunkContent.UpdateNumber(m_contents[content].digest.nHigh);
        }
        const auto& occurrences = m_contents[m_segments[first].nContent].occurrences;
        if (occurrences.size() > 1)
            plan.nSharedBytes += length * (occurrences.size() - 1);
        const CContentHash::SDigest content = chunkContent.Final();
        // A record names at most 255 places; more places repeat the bytes.
        for (size_t group = 0; group < occurrences.size(); group += ContainerLayout::kMaximumDestinations) {
            CContainerTables::SChunk chunk;
            chunk.nLength = static_cast<uint32_t>(length);
            const size_t end = std::min(occurrences.size(), group + ContainerLayout::kMaximumDestinations);
            for (size_t k = group; k < end; ++k)
                chunk.destinations.push_back(DestinationOf(m_segments[occurrences[k]]));
            plan.tables.chunks.push_back(std::move(chunk));
            plan.sources.push_back({m_segments[first].nStream, m_segments[first].nOffset});
            dataLength += length;
            digest.UpdateNumber(content.nLow);
            digest.UpdateNumber(content.nHigh);
        }
    }
    if (dataLength > kMaximum32) {
        error = "the packed data would take " + std::to_string(dataLength) +
                " bytes; the container's data section holds at most 4294967295";
        return false;
    }
    plan.tables.nDataLength = static_cast<uint32_t>(dataLength);
    plan.streams = m_streams;
    plan.nCabinets = m_nCabinets;
    std::vector<uint8_t> tables;
    if (!plan.tables.Serialize(tables, error))
        return false;
    digest.Update(tables.data(), tables.size());
    plan.digest = digest.Final();
    return true;
}
