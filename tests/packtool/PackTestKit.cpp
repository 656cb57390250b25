#include "PackTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include <lzma/LzmaDec.h>

#include "payload/LzmaHeapAllocator.h"
#include "tools/ovrapack/cli/CommandLine.h"

namespace PackTestKit {

namespace {

void Put(std::vector<uint8_t>& bytes, uint64_t value, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

SToolRun RunTool(const std::vector<std::string>& args, const CStubLocator& stubs)
{
    std::ostringstream out;
    std::ostringstream err;
    COvrapackCommandLine commandLine(stubs);
    SToolRun run;
    run.nExit = commandLine.Run(args, out, err);
    run.strOut = out.str();
    run.strErr = err.str();
    return run;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t PeChecksum(const std::vector<uint8_t>& file, size_t field)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < file.size(); i += 2) {
        uint32_t word = 0;
        for (size_t k = 0; k < 2 && i + k < file.size(); ++k) {
            if (i + k < field || i + k >= field + 4)
                word |= uint32_t(file[i + k]) << (8 * k);
        }
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return ((sum & 0xFFFF) + (sum >> 16)) + static_cast<uint32_t>(file.size());
}

std::vector<uint8_t> Pattern(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    uint32_t state = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state);
    }
    return bytes;
}

std::vector<uint8_t> MakeCabinet(const std::vector<std::vector<uint8_t>>& files)
{
    std::vector<uint8_t> content;
    for (const auto& file : files)
        content.insert(content.end(), file.begin(), file.end());
    const uint32_t blocks = static_cast<uint32_t>((content.size() + 32767) / 32768);
    std::vector<uint8_t> table;
    uint32_t start = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        Put(table, static_cast<uint32_t>(files[i].size()), 4);
        Put(table, start, 4);
        Put(table, 0, 2);  // folder 0
        Put(table, 0, 6);  // date, time, attributes
        const std::string name = "f" + std::to_string(i) + ".bin";
        table.insert(table.end(), name.begin(), name.end());
        table.push_back(0);
        start += static_cast<uint32_t>(files[i].size());
    }
    const uint32_t fileTable = 36 + 8;
    const uint32_t firstBlock = fileTable + static_cast<uint32_t>(table.size());
    const uint32_t total = firstBlock + blocks * 8 + static_cast<uint32_t>(content.size());
    std::vector<uint8_t> cab = {'M', 'S', 'C', 'F'};
    Put(cab, 0, 4);
    Put(cab, total, 4);
    Put(cab, 0, 4);
    Put(cab, fileTable, 4);
    Put(cab, 0, 4);
    cab.push_back(3);
    cab.push_back(1);
    Put(cab, 1, 2);  // folders
    Put(cab, static_cast<uint32_t>(files.size()), 2);
    Put(cab, 0, 2);  // flags
    Put(cab, 0x1234, 2);
    Put(cab, 0, 2);
    Put(cab, firstBlock, 4);
    Put(cab, blocks, 2);
    Put(cab, 0, 2);  // no compression
    cab.insert(cab.end(), table.begin(), table.end());
    for (uint32_t b = 0; b < blocks; ++b) {
        const size_t from = size_t(b) * 32768;
        const size_t length = std::min<size_t>(32768, content.size() - from);
        Put(cab, 0xC0DE0000 + b, 4);  // a checksum stand-in, different per block
        Put(cab, static_cast<uint32_t>(length), 2);
        Put(cab, static_cast<uint32_t>(length), 2);
        cab.insert(cab.end(), content.begin() + static_cast<std::ptrdiff_t>(from),
                   content.begin() + static_cast<std::ptrdiff_t>(from + length));
    }
    return cab;
}

std::vector<uint8_t> DecodeStream(const std::vector<uint8_t>& package, uint32_t streamOffset)
{
    if (package.size() < size_t(streamOffset) + 13) {
        ADD_FAILURE() << "package too short for a stream header";
        return {};
    }
    const uint8_t* header = package.data() + streamOffset;
    uint64_t size = 0;
    for (int i = 0; i < 8; ++i)
        size |= uint64_t(header[5 + i]) << (8 * i);
    std::vector<uint8_t> container(static_cast<size_t>(size));
    SizeT outSize = container.size();
    SizeT inSize = package.size() - streamOffset - 13;
    ELzmaStatus status;
    const SRes result = LzmaDecode(container.data(), &outSize, header + 13, &inSize, header, 5, LZMA_FINISH_END,
                                   &status, LzmaHeapAllocator());
    EXPECT_EQ(result, SZ_OK);
    EXPECT_EQ(outSize, container.size());
    return container;
}

std::vector<std::vector<uint8_t>> Assemble(const std::vector<uint8_t>& container)
{
    std::string error;
    const auto tables = CContainerTables::Parse(container.data(), container.size(), error);
    if (!tables) {
        ADD_FAILURE() << error;
        return {};
    }
    const uint64_t dataStart = tables->SerializedSize();
    EXPECT_EQ(dataStart + tables->nDataLength, container.size());
    struct SPiece
    {
        uint64_t nLength;
        uint64_t nData;
    };
    std::vector<std::map<uint64_t, SPiece>> pieces(tables->names.size());
    uint64_t data = 0;
    for (const auto& chunk : tables->chunks) {
        for (const auto& d : chunk.destinations) {
            uint64_t offset = d.nTargetOffset;
            uint64_t position = d.nBlockPosition;
            uint64_t source = data;
            uint64_t remaining = chunk.nLength;
            while (remaining > 0) {
                uint64_t step = remaining;
                if (d.bBlocked) {
                    const uint64_t room = 32768 - position % 32768;
                    if (room == 32768)
                        offset += 8;
                    step = std::min(room, remaining);
                }
                EXPECT_TRUE(pieces[d.nFile].emplace(offset, SPiece{step, source}).second)
                    << "two pieces at " << offset << " of " << tables->names[d.nFile];
                offset += step;
                position += step;
                source += step;
                remaining -= step;
            }
        }
        data += chunk.nLength;
    }
    std::vector<std::vector<uint8_t>> files(tables->names.size());
    for (size_t f = 0; f < files.size(); ++f) {
        for (const auto& [offset, piece] : pieces[f]) {
            EXPECT_EQ(offset, files[f].size()) << "gap or overlap in " << tables->names[f];
            const auto* from = container.data() + dataStart + piece.nData;
            files[f].insert(files[f].end(), from, from + piece.nLength);
        }
    }
    return files;
}

} // namespace PackTestKit
