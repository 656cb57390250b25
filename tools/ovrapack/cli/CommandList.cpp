#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "payload/CodePage1252.h"
#include "Commands.h"
#include "tools/ovrapack/io/PathText.h"
#include "tools/ovrapack/read/PackageReader.h"

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

namespace {

// What list shows besides the tables themselves.
struct SSummary
{
    std::vector<uint64_t> sizes;
    std::vector<size_t> chunkCount;
    std::vector<size_t> sharedCount;
    size_t nSharedChunks = 0;
    uint64_t nTotal = 0;

    explicit SSummary(const CContainerTables& tables)
        : sizes(tables.FileSizes()), chunkCount(tables.names.size(), 0), sharedCount(tables.names.size(), 0)
    {
        for (const auto& chunk : tables.chunks) {
            const bool shared = chunk.destinations.size() > 1;
            nSharedChunks += shared ? 1 : 0;
            for (const auto& destination : chunk.destinations) {
                ++chunkCount[destination.nFile];
                sharedCount[destination.nFile] += shared ? 1 : 0;
            }
        }
        for (const uint64_t size : sizes)
            nTotal += size;
    }
};

std::string Describe(const CContainerTables& tables, const CContainerTables::SDestination& destination)
{
    std::ostringstream text;
    text << CodePage1252::ToUtf8(tables.names[destination.nFile]) << " @" << destination.nTargetOffset;
    if (destination.bBlocked)
        text << " (blocked, position " << destination.nBlockPosition << ")";
    return text.str();
}

void PrintChunk(std::ostream& out, const CContainerTables& tables, size_t index, uint64_t dataPosition)
{
    const auto& chunk = tables.chunks[index];
    out << "  chunk " << index << " at " << dataPosition << ": " << chunk.nLength << " bytes -> "
        << chunk.destinations.size() << (chunk.destinations.size() == 1 ? " place" : " places") << "\n";
    for (const auto& destination : chunk.destinations)
        out << "    " << Describe(tables, destination) << "\n";
}

void PrintText(std::ostream& out, const CPackageReader& reader, const SSummary& summary, bool allChunks)
{
    const CContainerTables& tables = reader.Tables();
    const unsigned props = reader.Properties();
    const SPatchFields& fields = reader.Fields();
    out << "build id " << fields.strBuildId << ", setup \"" << CodePage1252::ToUtf8(fields.strSetupName)
        << "\", requires " << fields.nRequiredBytes << " bytes\n"
        << "stream at " << fields.nStreamOffset << ": lc " << props % 9 << " lp " << props / 9 % 5 << " pb "
        << props / 45 << ", dictionary " << reader.Dictionary() << ", container " << reader.DecodedSize()
        << " bytes\n"
        << tables.names.size() << " files, " << summary.nTotal << " bytes; " << tables.chunks.size() << " chunks ("
        << summary.nSharedChunks << " shared), data " << tables.nDataLength << " bytes\n\n"
        << std::setw(12) << "size" << std::setw(8) << "chunks" << std::setw(8) << "shared" << "  name\n";
    for (size_t i = 0; i < tables.names.size(); ++i)
        out << std::setw(12) << summary.sizes[i] << std::setw(8) << summary.chunkCount[i] << std::setw(8)
            << summary.sharedCount[i] << "  " << CodePage1252::ToUtf8(tables.names[i]) << "\n";

    out << "\n" << (allChunks ? "chunks:\n" : "shared chunks:\n");
    uint64_t position = 0;
    for (size_t c = 0; c < tables.chunks.size(); ++c) {
        if (allChunks || tables.chunks[c].destinations.size() > 1)
            PrintChunk(out, tables, c, position);
        position += tables.chunks[c].nLength;
    }
}

json ChunksJson(const CContainerTables& tables)
{
    json chunks = json::array();
    uint64_t position = 0;
    for (size_t c = 0; c < tables.chunks.size(); ++c) {
        const auto& chunk = tables.chunks[c];
        json destinations = json::array();
        for (const auto& destination : chunk.destinations) {
            json place = {{"file", destination.nFile},
                          {"name", CodePage1252::ToUtf8(tables.names[destination.nFile])},
                          {"target_offset", destination.nTargetOffset},
                          {"blocked", destination.bBlocked}};
            if (destination.bBlocked)
                place["block_position"] = destination.nBlockPosition;
            destinations.push_back(std::move(place));
        }
        chunks.push_back({{"index", c}, {"data_position", position}, {"length", chunk.nLength},
                          {"destinations", std::move(destinations)}});
        position += chunk.nLength;
    }
    return chunks;
}

json DocumentJson(const CPackageReader& reader, const SSummary& summary, bool allChunks)
{
    const CContainerTables& tables = reader.Tables();
    const SPatchFields& fields = reader.Fields();
    const unsigned props = reader.Properties();
    json files = json::array();
    for (size_t i = 0; i < tables.names.size(); ++i)
        files.push_back({{"name", CodePage1252::ToUtf8(tables.names[i])},
                         {"size", summary.sizes[i]},
                         {"chunks", summary.chunkCount[i]},
                         {"shared", summary.sharedCount[i]}});
    json document = {
        {"patch",
         {{"build_id", fields.strBuildId},
          {"stream_offset", fields.nStreamOffset},
          {"setup", CodePage1252::ToUtf8(fields.strSetupName)},
          {"required_bytes", fields.nRequiredBytes},
          {"picture_offset", fields.nPictureOffset}}},
        {"stream",
         {{"lc", props % 9},
          {"lp", props / 9 % 5},
          {"pb", props / 45},
          {"dictionary", reader.Dictionary()},
          {"container_size", reader.DecodedSize()}}},
        {"file_bytes", summary.nTotal},
        {"chunk_count", tables.chunks.size()},
        {"shared_chunks", summary.nSharedChunks},
        {"data_length", tables.nDataLength},
        {"files", std::move(files)}};
    if (allChunks)
        document["chunks"] = ChunksJson(tables);
    return document;
}

} // namespace

int RunListCommand(const SListOptions& options, std::ostream& out, std::ostream& err)
{
    CPackageReader reader;
    std::string error;
    const std::string& path = options.strPackage;
    if (!reader.Open(PathText::FromArgument(path), error)) {
        err << "ovrapack: " << path << ": " << error << "\n";
        return ExitCodes::kFailure;
    }
    const SSummary summary(reader.Tables());
    if (options.bJson)
        out << DocumentJson(reader, summary, options.bChunks).dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    else
        PrintText(out, reader, summary, options.bChunks);
    return ExitCodes::kOk;
}
