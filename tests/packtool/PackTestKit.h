#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/ovrapack/pack/ContainerTables.h"
#include "tools/ovrapack/cli/StubLocator.h"

// Helpers for tests of the packaging tool: files, a complete decode of a package's
// stream, and an independent placement of a container's chunks that reports any gap
// or overlap. Scratch folders are the shared test support's.
namespace PackTestKit {

struct SToolRun
{
    int nExit = 0;
    std::string strOut;
    std::string strErr;
};

// The tool as its command line runs it (arguments after the program's name). The
// default locator knows no place, as for a tool whose location is unknown.
SToolRun RunTool(const std::vector<std::string>& args, const CStubLocator& stubs = CStubLocator({}, {}, {}));

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
std::vector<uint8_t> Pattern(size_t size, uint32_t seed);

// An uncompressed cabinet of one folder holding the given files back to back.
std::vector<uint8_t> MakeCabinet(const std::vector<std::vector<uint8_t>>& files);

// The PE checksum of a whole file as the format states it: word by word, the carry
// folded at every step, the field at `field` counting as zero, plus the length.
uint32_t PeChecksum(const std::vector<uint8_t>& file, size_t field);

// The decoded container of a package, from the stream at the given offset.
std::vector<uint8_t> DecodeStream(const std::vector<uint8_t>& package, uint32_t streamOffset);

// Every file rebuilt from the tables and the data section; fails the current test
// when a file's pieces leave a gap, overlap, or do not start at 0.
std::vector<std::vector<uint8_t>> Assemble(const std::vector<uint8_t>& container);

} // namespace PackTestKit
