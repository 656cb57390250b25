#include <gtest/gtest.h>

#include "ContainerBuilder.h"
#include "ParserSnapshot.h"
#include "RecordingPayloadHost.h"
#include "ScratchFolder.h"
#include "payload/CancelFlag.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

constexpr uint16_t kBlocked = CContainerBuilder::kBlocked;

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Names, both layouts, a file listed twice, a zero-length chunk, a blocked run
// starting on the last byte of a block, and data beyond the chunks.
CContainerBuilder RichContainer()
{
    CContainerBuilder builder;
    const uint16_t setup = builder.AddName("setup.exe");
    const uint16_t nested = builder.AddName("dir\\sub\\file.bin");
    const uint16_t cab = builder.AddName("a.cab");
    builder.AddName("empty.txt");
    builder.AddName(std::string(300, 'n'));
    builder.AddChunk(Bytes("MZ-setup-program"), {{setup, 0, 0}});
    builder.AddChunk(Bytes("shared"), {{nested, 0, 0}, {nested, 0, 6}});
    builder.AddChunk({}, {{setup, 0, 16}});
    builder.AddChunk(Bytes("hdr"), {{cab, 0, 0}});
    builder.AddChunk(Bytes("ABCDEFGHIJ"), {{static_cast<uint16_t>(cab | kBlocked), 32767, 3}});
    builder.AddTrailingData(Bytes("beyond"));
    return builder;
}

class PayloadParserTest : public testing::Test
{
protected:
    void SetUp() override { g_bCancelExtraction = 0; }
    void TearDown() override { g_bCancelExtraction = 0; }

    SParserSnapshot FeedInSteps(const std::vector<uint8_t>& container, const std::vector<size_t>& cuts)
    {
        CRecordingPayloadHost host(m_folder.Path());
        CPayloadParser parser(host);
        size_t start = 0;
        for (size_t cut : cuts) {
            EXPECT_EQ(parser.Feed(container.data() + start, cut - start), cut - start);
            start = cut;
        }
        EXPECT_EQ(parser.Feed(container.data() + start, container.size() - start), container.size() - start);
        return SParserSnapshot::Of(parser);
    }

    // Feeds all in blocks of feedSize and finishes; returns the result of the first failure or of Finish.
    int Run(const std::vector<uint8_t>& container, CRecordingPayloadHost& host, size_t feedSize = 65536)
    {
        CPayloadParser parser(host);
        for (size_t at = 0; at < container.size(); at += feedSize) {
            const size_t count = std::min(feedSize, container.size() - at);
            if (parser.Feed(container.data() + at, count) != count) {
                m_strDetail = parser.FailureDetail();
                return parser.Failure();
            }
        }
        const int result = parser.Finish();
        m_strDetail = parser.FailureDetail();
        return result;
    }

    CScratchFolder m_folder{"parser"};
    std::string m_strDetail;
};

} // namespace

TEST_F(PayloadParserTest, EverySplitIntoTwoFeedsGivesTheSameTablesAndPieces)
{
    const auto container = RichContainer().Build();
    const SParserSnapshot whole = FeedInSteps(container, {});
    ASSERT_EQ(whole.nFailure, 0);
    for (size_t cut = 0; cut <= container.size(); ++cut)
        ASSERT_EQ(FeedInSteps(container, {cut}), whole) << "split at " << cut;
}

TEST_F(PayloadParserTest, OneByteFeedsGiveTheSameTablesAndPieces)
{
    const auto container = RichContainer().Build();
    std::vector<size_t> cuts;
    for (size_t cut = 1; cut < container.size(); ++cut)
        cuts.push_back(cut);
    EXPECT_EQ(FeedInSteps(container, cuts), FeedInSteps(container, {}));
}

TEST_F(PayloadParserTest, RichContainerBuildsTheExpectedTables)
{
    const auto builder = RichContainer();
    const SParserSnapshot view = FeedInSteps(builder.Build(), {});
    EXPECT_EQ(view.nState, static_cast<int>(CPayloadParser::State::Data));
    EXPECT_EQ(view.vecNames.size(), 5u);
    EXPECT_EQ(view.vecNames[1], "dir\\sub\\file.bin");
    EXPECT_EQ(view.nDataLength, 16u + 6u + 3u + 10u);
    EXPECT_EQ(view.nDataConsumed, 35u);
    // The blocked run starting at position 32767: one byte, the 8-byte gap, then the rest.
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> cabPieces = {{0, 4, 22}, {12, 9, 26}};
    EXPECT_EQ(view.vecPieces[2], cabPieces);
    // One file listed twice by the same chunk: two runs, both from the chunk's data.
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> nestedPieces = {{0, 6, 16}, {6, 6, 16}};
    EXPECT_EQ(view.vecPieces[1], nestedPieces);
    EXPECT_TRUE(view.vecPieces[3].empty());
}

TEST_F(PayloadParserTest, FinishWritesEveryFileAndRemovesTheTemporaryFile)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    const uint16_t a = builder.AddName("a.txt");
    const uint16_t b = builder.AddName("dir\\b.txt");
    builder.AddName("dir\\sub\\unreferenced.txt");
    builder.AddChunk(Bytes("hello "), {{a, 0, 0}, {b, 0, 5}});
    builder.AddChunk(Bytes("world"), {{a, 0, 6}, {b, 0, 0}});
    ASSERT_EQ(Run(builder.Build(), host, 7), PayloadResult::kOk);
    EXPECT_EQ(m_folder.ListFiles(), (std::vector<std::string>{"a.txt", "dir/b.txt", "dir/sub/unreferenced.txt"}));
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "a.txt"), Bytes("hello world"));
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "dir" / "b.txt"), Bytes("worldhello "));
    EXPECT_TRUE(ReadWholeFile(m_folder.Path() / "dir" / "sub" / "unreferenced.txt").empty());
}

TEST_F(PayloadParserTest, BlockedLayoutRebuildsACabinetWithItsBlockHeaders)
{
    // prefix (10) | header (8) | block of 32768 | header (8) | 100 bytes
    const auto prefix = PseudoRandomBytes(10, 1);
    const auto header1 = PseudoRandomBytes(8, 2);
    const auto header2 = PseudoRandomBytes(8, 3);
    const auto content = PseudoRandomBytes(32768 + 100, 4);
    CContainerBuilder builder;
    const uint16_t cab = builder.AddName("x.cab");
    builder.AddChunk(prefix, {{cab, 0, 0}});
    builder.AddChunk(content, {{static_cast<uint16_t>(cab | kBlocked), 0, 10}});
    builder.AddChunk(header1, {{static_cast<uint16_t>(cab | kBlocked), 1, 10}});
    builder.AddChunk(header2, {{static_cast<uint16_t>(cab | kBlocked), 1, 10 + 8 + 32768}});
    std::vector<uint8_t> expected = prefix;
    expected.insert(expected.end(), header1.begin(), header1.end());
    expected.insert(expected.end(), content.begin(), content.begin() + 32768);
    expected.insert(expected.end(), header2.begin(), header2.end());
    expected.insert(expected.end(), content.begin() + 32768, content.end());

    CRecordingPayloadHost host(m_folder.Path());
    ASSERT_EQ(Run(builder.Build(), host, 1000), PayloadResult::kOk) << m_strDetail;
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "x.cab"), expected);
}

TEST_F(PayloadParserTest, NoFilesAndNoChunksStillFinish)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder empty;
    EXPECT_EQ(Run(empty.Build(), host), PayloadResult::kOk);
    EXPECT_TRUE(m_folder.ListFiles().empty());
}

TEST_F(PayloadParserTest, NoChunksPutsAllDataInTheTemporaryFileWithoutPieces)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddName("only.txt");
    builder.AddTrailingData(Bytes("unclaimed"));
    CPayloadParser parser(host);
    const auto container = builder.Build();
    ASSERT_EQ(parser.Feed(container.data(), container.size()), container.size());
    EXPECT_EQ(parser.GetState(), CPayloadParser::State::Data);
    EXPECT_TRUE(parser.Files()[0].Pieces().empty());
    EXPECT_EQ(m_folder.ListFiles(), std::vector<std::string>{"temp.htar"});
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "temp.htar"), Bytes("unclaimed"));
    ASSERT_EQ(parser.Finish(), PayloadResult::kOk);
    EXPECT_EQ(m_folder.ListFiles(), std::vector<std::string>{"only.txt"});
}

TEST_F(PayloadParserTest, DataProgressNeverDecreasesNeverPassesHalfAndStartsAssemblyAt250)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    for (int i = 0; i < 3; ++i)
        builder.AddChunk(PseudoRandomBytes(1000, i + 1), {{builder.AddName("f" + std::to_string(i)), 0, 0}});
    builder.AddTrailingData(PseudoRandomBytes(500, 9));
    ASSERT_EQ(Run(builder.Build(), host, 97), PayloadResult::kOk);
    const auto& progress = host.Progress();
    ASSERT_FALSE(progress.empty());
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_GT(progress[i], progress[i - 1]);
    const auto assembly = std::find(progress.begin(), progress.end(), 250u);
    ASSERT_NE(assembly, progress.end());
    EXPECT_EQ(std::vector<unsigned>(assembly, progress.end()), (std::vector<unsigned>{250, 333, 416}));
    EXPECT_GT(assembly - progress.begin(), 10);
}

TEST_F(PayloadParserTest, ZeroDataLengthPostsNoDataProgress)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddName("a");
    builder.AddTrailingData(Bytes("xyz"));
    ASSERT_EQ(Run(builder.Build(), host, 1), PayloadResult::kOk);
    EXPECT_EQ(host.Progress(), std::vector<unsigned>{250});
}

TEST_F(PayloadParserTest, CancelDuringFinishKeepsEarlierFilesAndWritesNoLaterOnes)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    for (int i = 0; i < 4; ++i)
        builder.AddChunk(Bytes("content" + std::to_string(i)), {{builder.AddName("f" + std::to_string(i)), 0, 0}});
    // 250 + 1/4 x 250: posted just before file 1 is written.
    host.OnProgress([](unsigned value) {
        if (value == 312)
            g_bCancelExtraction = 1;
    });
    EXPECT_EQ(Run(builder.Build(), host), PayloadResult::kCancelled);
    EXPECT_EQ(m_folder.ListFiles(), (std::vector<std::string>{"f0", "f1", "temp.htar"}));
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "f1"), Bytes("content1"));
}

// Faults a hostile or damaged container must not get past.

TEST_F(PayloadParserTest, UnsafeNameStopsBeforeAnythingIsWritten)
{
    for (const char* name : {"..\\outside.txt", "C:\\Windows\\evil.dll", "\\rooted", "a\\..\\..\\up", "x:y"}) {
        CRecordingPayloadHost host(m_folder.Path());
        CContainerBuilder builder;
        builder.AddName("fine.txt");
        builder.AddChunk(Bytes("data"), {{builder.AddName(name), 0, 0}});
        EXPECT_EQ(Run(builder.Build(), host, 3), PayloadResult::kDataError) << name;
        EXPECT_NE(m_strDetail.find(name), std::string::npos) << m_strDetail;
        EXPECT_TRUE(m_folder.ListFiles().empty()) << name;
    }
}

TEST_F(PayloadParserTest, FileIndexOutsideTheFileTableIsADataError)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddName("a");
    builder.AddName("b");
    builder.AddChunk(Bytes("data"), {{5, 0, 0}});
    EXPECT_EQ(Run(builder.Build(), host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "chunk 0 names file index 5 of only 2 files");
    // Bit 15 is the layout flag, not part of the index.
    CContainerBuilder blocked;
    blocked.AddName("a");
    blocked.AddChunk(Bytes("data"), {{static_cast<uint16_t>(kBlocked | 1), 0, 0}});
    EXPECT_EQ(Run(blocked.Build(), host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "chunk 0 names file index 1 of only 1 files");
}

TEST_F(PayloadParserTest, NameLongerThanTheCarryBufferIsRefusedHoweverItIsSplit)
{
    CContainerBuilder builder;
    builder.AddName(std::string(4095, 'a'));
    builder.AddName(std::string(4096, 'b'));
    const auto container = builder.Build();
    for (size_t feed : {1u, 1000u, 5000u, 65536u}) {
        CRecordingPayloadHost host(m_folder.Path());
        CPayloadParser parser(host);
        size_t accepted = 0;
        for (size_t at = 0; at < container.size(); at += feed)
            accepted += parser.Feed(container.data() + at, std::min(feed, container.size() - at));
        EXPECT_LT(accepted, container.size());
        EXPECT_EQ(parser.Failure(), PayloadResult::kDataError);
        EXPECT_EQ(parser.FailureDetail(), "file name 1 is longer than 4095 bytes");
        ASSERT_EQ(parser.Files().size(), 1u);
        EXPECT_EQ(parser.Files()[0].Name().size(), 4095u);
    }
}

TEST_F(PayloadParserTest, HugeCountsWithoutTheirBytesEndAsTruncatedNotAsHugeAllocations)
{
    CRecordingPayloadHost host(m_folder.Path());
    std::vector<uint8_t> files = {2, 0, 0, 0, 0xFF, 0xFF, 'a', 0};
    EXPECT_EQ(Run(files, host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "the package ends before its tables are complete");

    CContainerBuilder builder;
    builder.AddName("a");
    auto chunks = builder.Build();
    const size_t countOffset = builder.TableHeaderOffset() + 8;
    for (int i = 0; i < 4; ++i)
        chunks[countOffset + i] = 0xFF;
    chunks.insert(chunks.end(), {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Run(chunks, host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "the package ends before its tables are complete");
}

TEST_F(PayloadParserTest, ContainerEndingInsideTheDataIsADataErrorAndWritesNoFiles)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddChunk(Bytes("complete"), {{builder.AddName("a"), 0, 0}});
    builder.AddChunk(Bytes("cut short"), {{builder.AddName("b"), 0, 0}});
    auto container = builder.Build();
    container.resize(container.size() - 3);
    EXPECT_EQ(Run(container, host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "the package ends inside the data of chunk 1");
    EXPECT_EQ(m_folder.ListFiles(), std::vector<std::string>{"temp.htar"});
}

TEST_F(PayloadParserTest, PiecesWithAGapAreADataErrorAndNoFileIsWritten)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddChunk(Bytes("good"), {{builder.AddName("first"), 0, 0}});
    const uint16_t holey = builder.AddName("holey");
    builder.AddChunk(Bytes("0123456789"), {{holey, 0, 0}});
    // Same target as the first chunk: ignored, so the piece at 20 leaves a gap at 10.
    builder.AddChunk(Bytes("ignored"), {{holey, 0, 0}});
    builder.AddChunk(Bytes("tail"), {{holey, 0, 20}});
    EXPECT_EQ(Run(builder.Build(), host), PayloadResult::kDataError);
    EXPECT_EQ(m_strDetail, "\"holey\": gap in the content at offset 10");
    EXPECT_EQ(m_folder.ListFiles(), std::vector<std::string>{"temp.htar"});
}

TEST_F(PayloadParserTest, SecondPieceAtTheSameOffsetIsIgnoredWhenCoverageHolds)
{
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    const uint16_t file = builder.AddName("f");
    builder.AddChunk(Bytes("first"), {{file, 0, 0}});
    builder.AddChunk(Bytes("other"), {{file, 0, 0}});
    ASSERT_EQ(Run(builder.Build(), host), PayloadResult::kOk);
    EXPECT_EQ(ReadWholeFile(m_folder.Path() / "f"), Bytes("first"));
}

TEST_F(PayloadParserTest, TemporaryFileThatCannotBeCreatedStopsTheDataState)
{
    std::filesystem::create_directories(m_folder.Path() / "temp.htar");
    CRecordingPayloadHost host(m_folder.Path());
    CContainerBuilder builder;
    builder.AddChunk(Bytes("data"), {{builder.AddName("a"), 0, 0}});
    EXPECT_EQ(Run(builder.Build(), host), PayloadResult::kOpenFailed);
    ASSERT_EQ(host.OpenFailures().size(), 1u);
    EXPECT_EQ(host.OpenFailures()[0], m_folder.Path() / "temp.htar");
}
