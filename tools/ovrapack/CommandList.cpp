#include <filesystem>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "payload/CodePage1252.h"
#include "Commands.h"
#include "PackageReader.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] = "usage: ovrapack list FILE.exe [--chunks]\n";

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

} // namespace

int RunListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool allChunks = false;
    bool valid = true;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--chunks")
            allChunks = true;
        else if (path.empty() && !arg.starts_with("--"))
            path = arg;
        else
            valid = false;
    }
    if (path.empty() || !valid) {
        err << kUsage;
        return ExitCodes::kUsage;
    }
    CPackageReader reader;
    std::string error;
    if (!reader.Open(fs::path(std::u8string(path.begin(), path.end())), error)) {
        err << "ovrapack: " << path << ": " << error << "\n";
        return ExitCodes::kFailure;
    }
    const CContainerTables& tables = reader.Tables();
    const std::vector<uint64_t> sizes = tables.FileSizes();
    std::vector<size_t> chunkCount(tables.names.size(), 0);
    std::vector<size_t> sharedCount(tables.names.size(), 0);
    size_t sharedChunks = 0;
    uint64_t total = 0;
    for (const auto& chunk : tables.chunks) {
        const bool shared = chunk.destinations.size() > 1;
        sharedChunks += shared ? 1 : 0;
        for (const auto& destination : chunk.destinations) {
            ++chunkCount[destination.nFile];
            sharedCount[destination.nFile] += shared ? 1 : 0;
        }
    }
    for (const uint64_t size : sizes)
        total += size;

    const unsigned props = reader.Properties();
    const SPatchFields& fields = reader.Fields();
    out << "build id " << fields.strBuildId << ", setup \"" << CodePage1252::ToUtf8(fields.strSetupName)
        << "\", requires " << fields.nRequiredBytes << " bytes\n"
        << "stream at " << fields.nStreamOffset << ": lc " << props % 9 << " lp " << props / 9 % 5 << " pb "
        << props / 45 << ", dictionary " << reader.Dictionary() << ", container " << reader.DecodedSize()
        << " bytes\n"
        << tables.names.size() << " files, " << total << " bytes; " << tables.chunks.size() << " chunks ("
        << sharedChunks << " shared), data " << tables.nDataLength << " bytes\n\n"
        << std::setw(12) << "size" << std::setw(8) << "chunks" << std::setw(8) << "shared" << "  name\n";
    for (size_t i = 0; i < tables.names.size(); ++i)
        out << std::setw(12) << sizes[i] << std::setw(8) << chunkCount[i] << std::setw(8) << sharedCount[i] << "  "
            << CodePage1252::ToUtf8(tables.names[i]) << "\n";

    out << "\n" << (allChunks ? "chunks:\n" : "shared chunks:\n");
    uint64_t position = 0;
    for (size_t c = 0; c < tables.chunks.size(); ++c) {
        if (allChunks || tables.chunks[c].destinations.size() > 1)
            PrintChunk(out, tables, c, position);
        position += tables.chunks[c].nLength;
    }
    return ExitCodes::kOk;
}
