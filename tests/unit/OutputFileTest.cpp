#include <gtest/gtest.h>

#include "RecordingPayloadHost.h"
#include "ScratchFolder.h"
#include "payload/OutputFile.h"
#include "payload/PayloadResult.h"

using Piece = COutputFile::SPiece;

TEST(OutputFilePieces, SecondPieceAtSameTargetIsIgnored)
{
    COutputFile file("a");
    file.AddPiece(0, 10, 100);
    file.AddPiece(0, 20, 500);
    const COutputFile::PieceMap expected = {{0, Piece{10, 100}}};
    EXPECT_EQ(file.Pieces(), expected);
    EXPECT_EQ(file.IgnoredPieces(), 1u);
}

TEST(OutputFilePieces, CoverageFromZeroWithoutGapOrOverlapIsAccepted)
{
    COutputFile file("a");
    file.AddPiece(10, 5, 0);
    file.AddPiece(0, 10, 50);
    std::string detail;
    EXPECT_TRUE(file.CheckPieces(detail));
    COutputFile empty("b");
    EXPECT_TRUE(empty.CheckPieces(detail));
}

TEST(OutputFilePieces, GapOverlapAndLateStartAreRefusedWithTheOffset)
{
    std::string detail;
    COutputFile gap("dir\\gap");
    gap.AddPiece(0, 10, 0);
    gap.AddPiece(12, 10, 0);
    EXPECT_FALSE(gap.CheckPieces(detail));
    EXPECT_EQ(detail, "\"dir\\gap\": gap in the content at offset 10");

    COutputFile overlap("overlap");
    overlap.AddPiece(0, 10, 0);
    overlap.AddPiece(5, 10, 0);
    EXPECT_FALSE(overlap.CheckPieces(detail));
    EXPECT_EQ(detail, "\"overlap\": overlapping content at offset 5");

    COutputFile late("late");
    late.AddPiece(4, 10, 0);
    EXPECT_FALSE(late.CheckPieces(detail));
    EXPECT_EQ(detail, "\"late\": gap in the content at offset 0");
}

TEST(OutputFilePieces, PieceBeyondFourGibIsRefusedNotWrapped)
{
    COutputFile file("big");
    file.AddPiece(0xFFFFFFF0ull, 0x20, 0);
    std::string detail;
    EXPECT_FALSE(file.CheckPieces(detail));
    EXPECT_TRUE(file.Pieces().empty());
}

TEST(OutputFileOpen, CreatesMissingDirectoriesOfTheName)
{
    CScratchFolder folder("outfile");
    CRecordingPayloadHost host(folder.Path());
    COutputFile file("dir\\sub\\file.ext");
    ASSERT_EQ(file.Open(host), PayloadResult::kOk);
    std::string detail;
    ASSERT_EQ(file.Assemble(nullptr, host, detail), PayloadResult::kOk);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path() / "dir" / "sub" / "file.ext"));
}

TEST(OutputFileOpen, FailureIsReportedToTheHostWithTheFullPath)
{
    CScratchFolder folder("outfile");
    std::filesystem::create_directories(folder.Path() / "taken");
    CRecordingPayloadHost host(folder.Path());
    COutputFile file("taken");
    EXPECT_EQ(file.Open(host), PayloadResult::kOpenFailed);
    ASSERT_EQ(host.OpenFailures().size(), 1u);
    EXPECT_EQ(host.OpenFailures()[0], folder.Path() / "taken");
}

TEST(OutputFileAssemble, WritesPiecesInTargetOrderFromTheTemporaryFile)
{
    CScratchFolder folder("outfile");
    CRecordingPayloadHost host(folder.Path());
    WriteWholeFile(folder.Path() / "data", {'x', 'B', 'C', 'A', 'y'});
    CFileStream temporary;
    ASSERT_TRUE(temporary.Open(folder.Path() / "data", CFileStream::Mode::Read));
    COutputFile file("out");
    file.AddPiece(1, 2, 1);
    file.AddPiece(0, 1, 3);
    std::string detail;
    ASSERT_EQ(file.Assemble(&temporary, host, detail), PayloadResult::kOk);
    EXPECT_EQ(ReadWholeFile(folder.Path() / "out"), (std::vector<uint8_t>{'A', 'B', 'C'}));
}

TEST(OutputFileAssemble, ShortTemporaryFileIsAReadErrorAndLeavesNoOutput)
{
    CScratchFolder folder("outfile");
    CRecordingPayloadHost host(folder.Path());
    WriteWholeFile(folder.Path() / "data", {1, 2, 3});
    CFileStream temporary;
    ASSERT_TRUE(temporary.Open(folder.Path() / "data", CFileStream::Mode::Read));
    COutputFile file("out");
    file.AddPiece(0, 10, 0);
    std::string detail;
    EXPECT_EQ(file.Assemble(&temporary, host, detail), PayloadResult::kReadError);
    EXPECT_EQ(detail, "cannot read the temporary data file for \"out\"");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out"));
}
