#include <gtest/gtest.h>

#include "payload/ChunkRecord.h"
#include "payload/ContainerLayout.h"
#include "payload/OutputFile.h"

namespace {

using Piece = COutputFile::SPiece;

CChunkRecord::SDestination Plain(COutputFile& file, uint32_t target)
{
    return {0, target, 0, &file};
}

CChunkRecord::SDestination Blocked(COutputFile& file, uint16_t position, uint32_t target)
{
    return {ContainerLayout::kBlockedFlag, target, position, &file};
}

} // namespace

TEST(ChunkRecordPlace, PlainDestinationGetsOnePiecePerCallAtRunningOffsets)
{
    COutputFile file("a");
    CChunkRecord chunk(10, {Plain(file, 100)});
    EXPECT_EQ(chunk.Place(0, 4), 4u);
    EXPECT_EQ(chunk.Place(4, 50), 6u);
    EXPECT_EQ(chunk.Place(10, 50), 0u);
    EXPECT_TRUE(chunk.IsComplete());
    const COutputFile::PieceMap expected = {{100, Piece{4, 0}}, {104, Piece{6, 4}}};
    EXPECT_EQ(file.Pieces(), expected);
}

TEST(ChunkRecordPlace, ZeroLengthChunkPlacesNothing)
{
    COutputFile file("a");
    CChunkRecord chunk(0, {Plain(file, 0)});
    EXPECT_EQ(chunk.Place(0, 100), 0u);
    EXPECT_TRUE(file.Pieces().empty());
}

TEST(ChunkRecordPlace, BlockedPositionZeroStartsWithAGap)
{
    COutputFile file("cab");
    CChunkRecord chunk(32768 + 5, {Blocked(file, 0, 10)});
    EXPECT_EQ(chunk.Place(0, 40000), 32773u);
    const COutputFile::PieceMap expected = {{18, Piece{32768, 0}}, {32794, Piece{5, 32768}}};
    EXPECT_EQ(file.Pieces(), expected);
}

TEST(ChunkRecordPlace, BlockedPositionLastByteOfBlockPlacesOneByteThenGap)
{
    COutputFile file("cab");
    CChunkRecord chunk(3, {Blocked(file, 32767, 50)});
    EXPECT_EQ(chunk.Place(7, 3), 3u);
    const COutputFile::PieceMap expected = {{50, Piece{1, 7}}, {59, Piece{2, 8}}};
    EXPECT_EQ(file.Pieces(), expected);
}

TEST(ChunkRecordPlace, BlockHeaderAtPositionOneFillsItsGapExactly)
{
    COutputFile file("cab");
    CChunkRecord header(8, {Blocked(file, 1, 10)});
    EXPECT_EQ(header.Place(0, 8), 8u);
    const COutputFile::PieceMap expected = {{10, Piece{8, 0}}};
    EXPECT_EQ(file.Pieces(), expected);
}

TEST(ChunkRecordPlace, BlockedRunContinuesAcrossCallsWithoutExtraGap)
{
    COutputFile whole("whole");
    COutputFile split("split");
    CChunkRecord one(40000, {Blocked(whole, 100, 0)});
    CChunkRecord two(40000, {Blocked(split, 100, 0)});
    EXPECT_EQ(one.Place(0, 40000), 40000u);
    uint32_t position = 0;
    for (size_t step : {1u, 32667u, 1u, 7331u})
        position += two.Place(position, step);
    ASSERT_EQ(position, 40000u);
    // Pieces differ in cut, but the byte at every file offset comes from the same data position.
    auto expand = [](const COutputFile& file) {
        std::map<uint32_t, uint32_t> bytes;
        for (const auto& [target, piece] : file.Pieces())
            for (uint32_t i = 0; i < piece.nLength; ++i)
                bytes[target + i] = piece.nDataPosition + i;
        return bytes;
    };
    EXPECT_EQ(expand(whole), expand(split));
    EXPECT_EQ(whole.Pieces().rbegin()->first + whole.Pieces().rbegin()->second.nLength, 40000u + 8u);
}

TEST(ChunkRecordPlace, SameFileListedTwiceGetsTwoIndependentRuns)
{
    COutputFile file("twice");
    CChunkRecord chunk(4, {Blocked(file, 0, 0), Blocked(file, 0, 1000)});
    EXPECT_EQ(chunk.Place(20, 4), 4u);
    const COutputFile::PieceMap expected = {{8, Piece{4, 20}}, {1008, Piece{4, 20}}};
    EXPECT_EQ(file.Pieces(), expected);
}
