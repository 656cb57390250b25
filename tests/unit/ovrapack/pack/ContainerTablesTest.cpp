#include <gtest/gtest.h>

#include "tools/ovrapack/pack/ContainerTables.h"

namespace {

CContainerTables TwoFiles()
{
    CContainerTables tables;
    tables.names = {"a.txt", "dir\\b.cab"};
    CContainerTables::SChunk shared;
    shared.nLength = 3;
    shared.destinations = {{0, false, 0, 0}, {1, true, 32767, 0x100}};
    tables.chunks = {shared};
    tables.nDataLength = 3;
    return tables;
}

} // namespace

TEST(ContainerTables, SerializesHeaderNamesAndRecordsByteForByte)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(TwoFiles().Serialize(bytes, error)) << error;
    const std::vector<uint8_t> expected = {
        18, 0, 0, 0, 2, 0,                                       // L1 = 2 + 6 + 10, N = 2
        'a', '.', 't', 'x', 't', 0, 'd', 'i', 'r', '\\', 'b', '.', 'c', 'a', 'b', 0,
        29, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0,                     // L2 = 8 + 21, D = 3, C = 1
        2, 3, 0, 0, 0,                                           // k = 2, length 3
        0, 0, 0, 0, 0, 0, 0, 0,                                  // file 0, plain, target 0
        1, 0x80, 0xFF, 0x7F, 0x00, 0x01, 0, 0};                  // file 1 blocked, position 32767, target 0x100
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(TwoFiles().SerializedSize(), bytes.size());
}

TEST(ContainerTables, ParseReadsBackWhatSerializeWrote)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(TwoFiles().Serialize(bytes, error));
    const auto parsed = CContainerTables::Parse(bytes.data(), bytes.size(), error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->names, TwoFiles().names);
    ASSERT_EQ(parsed->chunks.size(), 1u);
    EXPECT_EQ(parsed->chunks[0].destinations, TwoFiles().chunks[0].destinations);
    EXPECT_EQ(CContainerTables::BytesNeeded(bytes.data(), bytes.size()), bytes.size());
}

TEST(ContainerTables, ParseRefusesAFileIndexBeyondTheNames)
{
    CContainerTables tables = TwoFiles();
    tables.chunks[0].destinations[1].nFile = 2;
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(tables.Serialize(bytes, error));
    EXPECT_FALSE(CContainerTables::Parse(bytes.data(), bytes.size(), error));
    EXPECT_NE(error.find("names file 2"), std::string::npos) << error;
}

TEST(ContainerTables, ParseRefusesCountsLargerThanTheBytesPresent)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(TwoFiles().Serialize(bytes, error));
    bytes[4] = 9;  // nine names in a table that holds two
    EXPECT_FALSE(CContainerTables::Parse(bytes.data(), bytes.size(), error));
    ASSERT_TRUE(TwoFiles().Serialize(bytes, error));
    bytes[30] = 0xFF;  // chunk count
    EXPECT_FALSE(CContainerTables::Parse(bytes.data(), bytes.size(), error));
    EXPECT_FALSE(CContainerTables::Parse(bytes.data(), 10, error));
}

// The room for names or records is a length minus its header; a length below the
// header must not pass as room for billions of records, nor reserve gigabytes for them.
TEST(ContainerTables, ParseRefusesTablesShorterThanTheirHeaders)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(TwoFiles().Serialize(bytes, error));
    for (const uint8_t length : {0, 1}) {
        std::vector<uint8_t> names = bytes;
        names[0] = length;
        error.clear();
        EXPECT_FALSE(CContainerTables::Parse(names.data(), names.size(), error)) << int(length);
        EXPECT_NE(error.find("shorter than its header"), std::string::npos) << error;
    }
    const size_t table = 6 + 16;
    for (const uint8_t length : {0, 4, 7}) {
        bytes[table] = length;
        bytes[table + 8] = 0x0D;  // chunk count 0xD0D0D0D
        bytes[table + 9] = 0x0D;
        bytes[table + 10] = 0x0D;
        bytes[table + 11] = 0x0D;
        error.clear();
        EXPECT_FALSE(CContainerTables::Parse(bytes.data(), bytes.size(), error)) << int(length);
        EXPECT_NE(error.find("shorter than its header"), std::string::npos) << error;
    }
}

TEST(ContainerTables, SerializeRefusesRecordsWithoutOrWithTooManyDestinations)
{
    CContainerTables tables = TwoFiles();
    tables.chunks[0].destinations.clear();
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(tables.Serialize(bytes, error));
    tables.chunks[0].destinations.assign(256, {0, false, 0, 0});
    EXPECT_FALSE(tables.Serialize(bytes, error));
}

TEST(ContainerTables, BlockedEndSkipsOneGapPerBlockBoundary)
{
    using D = CContainerTables::SDestination;
    // Position 0 starts with a gap.
    EXPECT_EQ(CContainerTables::EndOffset(D{0, true, 0, 100}, 1), 109u);
    EXPECT_EQ(CContainerTables::EndOffset(D{0, true, 0, 100}, 32768), 100u + 8 + 32768);
    EXPECT_EQ(CContainerTables::EndOffset(D{0, true, 0, 100}, 32769), 100u + 8 + 32768 + 8 + 1);
    // Position 32767 places one byte, then a gap.
    EXPECT_EQ(CContainerTables::EndOffset(D{0, true, 32767, 100}, 1), 101u);
    EXPECT_EQ(CContainerTables::EndOffset(D{0, true, 32767, 100}, 2), 110u);
    EXPECT_EQ(CContainerTables::EndOffset(D{0, false, 0, 100}, 32769), 100u + 32769);
}

TEST(ContainerTables, FileSizeIsTheEndOfTheFurthestPlacement)
{
    CContainerTables tables = TwoFiles();
    tables.names.push_back("empty");
    const auto sizes = tables.FileSizes();
    EXPECT_EQ(sizes, (std::vector<uint64_t>{3, 0x100 + 1 + 8 + 2, 0}));
}
