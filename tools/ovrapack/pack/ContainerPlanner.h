#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ContainerPlan.h"
#include "CabinetLayout.h"
#include "ContentHash.h"
#include "SourceReader.h"
#include "SourceTree.h"

class CTerminalProgress;

// Decides the chunks of a container. Every file (and every folder of an
// uncompressed cabinet) is cut into content-defined pieces; identical pieces are
// found by digest and confirmed byte by byte; runs of pieces that recur together
// become one chunk with one destination per place, so every distinct content is
// stored once.
class CContainerPlanner
{
public:
    struct SOptions
    {
        size_t nAverageChunk = 64 * 1024;  // 0: whole files and cabinet members only
        bool bCabinets = true;
        bool bGroupByType = true;  // data in order of extension and file name rather than path
    };

    CContainerPlanner(const CSourceTree& tree, CSourceReader& reader, SOptions options, CTerminalProgress* progress)
        : m_tree(tree), m_reader(reader), m_options(options), m_pProgress(progress)
    {
    }

    [[nodiscard]] bool Plan(CContainerPlan& plan, std::string& error);

private:
    struct SSegment
    {
        uint32_t nStream = 0;
        uint32_t nOffset = 0;
        uint32_t nLength = 0;
        uint32_t nContent = 0;
    };

    struct SContent
    {
        CContentHash::SDigest digest;
        uint32_t nLength = 0;
        std::vector<uint32_t> occurrences;  // segment indices, in scan order
    };

    struct SDigestHash
    {
        size_t operator()(const CContentHash::SDigest& d) const { return static_cast<size_t>(d.nLow); }
    };

    std::vector<uint32_t> ScanOrder() const;
    [[nodiscard]] bool AddFile(uint32_t file, std::string& error);
    [[nodiscard]] bool AddCabinet(uint32_t file, const CCabinetLayout& cabinet, std::string& error);
    [[nodiscard]] bool ScanStream(uint32_t stream, const std::vector<uint32_t>& boundaries, std::string& error);
    [[nodiscard]] bool AddSegment(uint32_t stream, uint32_t offset, uint32_t length,
                                  const CContentHash::SDigest& digest, std::string& error);
    [[nodiscard]] bool BuildChunks(CContainerPlan& plan, std::string& error);
    bool Continues(uint32_t previous, uint32_t next) const;
    CContainerTables::SDestination DestinationOf(const SSegment& segment) const;

    const CSourceTree& m_tree;
    CSourceReader& m_reader;
    SOptions m_options;
    CTerminalProgress* m_pProgress;

    std::vector<SSourceStream> m_streams;
    std::vector<SSegment> m_segments;
    std::vector<SContent> m_contents;
    std::unordered_map<CContentHash::SDigest, std::vector<uint32_t>, SDigestHash> m_byDigest;
    uint64_t m_nScanned = 0;
    uint32_t m_nCabinets = 0;
};
