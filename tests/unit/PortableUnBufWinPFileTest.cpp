// Unbuffered files over a stand-in disk that refuses unaligned transfers: exact lengths at
// close, partial sectors kept, the logical end, a random workload against a plain model
// (also on a disk that fails now and then), the disk's failures one by one, the pool's
// limit under contention and truncation.
#include <gtest/gtest.h>

#include "MemoryFileSystem.h"

#include "framework/files/PortableUnBufWinPFile.h"
#include "framework/files/TmpUnBufWinPFile.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr const wchar_t* kPath = L"D:\\data\\file.bin";

using Bytes = std::vector<unsigned char>;

Bytes Pattern(std::size_t nSize, unsigned char seed)
{
    Bytes bytes(nSize);
    for (std::size_t i = 0; i < nSize; ++i)
        bytes[i] = static_cast<unsigned char>(seed + i * 7 + i / 251);
    return bytes;
}

struct SReport
{
    std::wstring source;
    int nLocation;
    int nError;
    std::wstring path;
};

class CRecordingSink final : public IFileErrorSink
{
public:
    void ReportError(const wchar_t* pszSource, int nLocation, int nError, const wchar_t* pszPath) override
    {
        reports.push_back({pszSource, nLocation, nError, pszPath});
    }
    std::vector<SReport> reports;
};

// Sector size and cached mode.
class UnbufferedFileTest : public ::testing::TestWithParam<std::tuple<std::uint32_t, std::uint32_t>>
{
protected:
    std::uint32_t SectorSize() const { return std::get<0>(GetParam()); }
    std::uint32_t Flags() const { return std::get<1>(GetParam()); }

    std::unique_ptr<CPortableUnBufWinPFile> Make(int nMode)
    {
        return std::make_unique<CPortableUnBufWinPFile>(kPath, nMode, Flags(), &m_sink, m_disk);
    }

    void TearDown() override
    {
        EXPECT_EQ(m_disk.RefusedTransfers(), 0) << "a transfer was not sector-aligned";
        for (const SReport& report : m_sink.reports)
            ADD_FAILURE() << "reported: location " << report.nLocation << " error " << report.nError;
    }

    CMemoryFileSystem m_disk{SectorSize()};
    CRecordingSink m_sink;
};

void WriteAll(PFile& file, const Bytes& bytes)
{
    std::uint32_t nWritten = 0;
    ASSERT_EQ(file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &nWritten), 0);
    ASSERT_EQ(nWritten, bytes.size());
}

TEST_P(UnbufferedFileTest, OneByteAtTheStartOfAnEmptyFileLeavesExactlyOneByte)
{
    auto file = Make(2);
    ASSERT_EQ(file->GetError(), 0);
    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, {0x5A}));
    EXPECT_EQ(file->GetLogicalLength(), 1u);
    ASSERT_EQ(file->Close(), 0);
    EXPECT_EQ(m_disk.Contents(kPath), Bytes{0x5A});
    std::uint64_t nLength = 0;
    ASSERT_EQ(file->GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 1u);
}

TEST_P(UnbufferedFileTest, WritesInsideAndAcrossSectorsKeepTheBytesAround)
{
    const std::uint32_t s = SectorSize();
    Bytes model = Pattern(3 * s + 17, 1);
    m_disk.Contents(kPath) = model;

    auto file = Make(3);
    EXPECT_EQ(file->GetLogicalLength(), model.size());
    const struct
    {
        std::uint32_t nAt;
        std::uint32_t nSize;
    } writes[] = {{s + 100, 50}, {s - 10, s + 20}, {3 * s + 5, 30}, {2, 1}};
    unsigned char seed = 100;
    for (const auto& write : writes) {
        const Bytes data = Pattern(write.nSize, seed++);
        ASSERT_EQ(file->Seek(1, write.nAt, 0), 0);
        ASSERT_NO_FATAL_FAILURE(WriteAll(*file, data));
        if (model.size() < write.nAt + write.nSize)
            model.resize(write.nAt + write.nSize);
        std::copy(data.begin(), data.end(), model.begin() + write.nAt);
        std::uint64_t nPosition = 0;
        ASSERT_EQ(file->GetPosition(&nPosition), 0);
        EXPECT_EQ(nPosition, write.nAt + write.nSize);
    }
    Bytes back(model.size());
    std::uint32_t nRead = 0;
    ASSERT_EQ(file->Seek(1, 0, 0), 0);
    ASSERT_EQ(file->Read(back.data(), static_cast<std::uint32_t>(back.size()), &nRead), 0);
    EXPECT_EQ(nRead, model.size());
    EXPECT_EQ(back, model);
    ASSERT_EQ(file->Close(), 0);
    EXPECT_EQ(m_disk.Contents(kPath), model);
}

TEST_P(UnbufferedFileTest, ReadingAtOrPastTheLogicalEndGivesNothingAndSucceeds)
{
    const Bytes contents = Pattern(1000, 3);
    m_disk.Contents(kPath) = contents;
    auto file = Make(1);
    Bytes buffer(64, 0xEE);
    std::uint32_t nRead = 99;
    ASSERT_EQ(file->Seek(2, static_cast<std::uint32_t>(-10), -1), 0);
    ASSERT_EQ(file->Read(buffer.data(), 64, &nRead), 0);
    EXPECT_EQ(nRead, 10u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 10), Bytes(contents.end() - 10, contents.end()));
    EXPECT_EQ(buffer[10], 0) << "the rest of the request is zero-filled";
    ASSERT_EQ(file->Read(buffer.data(), 64, &nRead), 0);
    EXPECT_EQ(nRead, 0u);
    ASSERT_EQ(file->Seek(1, 5000, 0), 0);
    ASSERT_EQ(file->Read(buffer.data(), 64, &nRead), 0);
    EXPECT_EQ(nRead, 0u);
    std::uint32_t nWritten = 0;
    EXPECT_EQ(file->Write(buffer.data(), 1, &nWritten), -1) << "mode 1 does not write";
}

TEST_P(UnbufferedFileTest, RandomWritesAndReadsOverSomeMebibytesMatchAPlainModel)
{
    std::mt19937 random(20261209);
    Bytes model;
    auto file = Make(3);
    for (int i = 0; i < 240; ++i) {
        const auto nAt = static_cast<std::uint32_t>(random() % (model.size() + 150000));
        const std::uint32_t nSize = (i % 5 == 0) ? random() % 400000 : random() % 3000;
        ASSERT_EQ(file->Seek(1, nAt, 0), 0);
        if (random() % 2 == 0) {
            const Bytes data = Pattern(nSize, static_cast<unsigned char>(i));
            ASSERT_NO_FATAL_FAILURE(WriteAll(*file, data));
            if (model.size() < nAt + nSize)
                model.resize(nAt + nSize);
            std::copy(data.begin(), data.end(), model.begin() + nAt);
        } else {
            Bytes back(nSize);
            std::uint32_t nRead = 0;
            ASSERT_EQ(file->Read(back.data(), nSize, &nRead), 0);
            const std::size_t nExpected = nAt < model.size() ? std::min<std::size_t>(nSize, model.size() - nAt) : 0;
            ASSERT_EQ(nRead, nExpected) << "operation " << i;
            ASSERT_TRUE(std::equal(back.begin(), back.begin() + nRead, model.begin() + nAt)) << "operation " << i;
        }
        if (i == 120) {
            // Halfway, closing settles the length and the next operation reopens.
            ASSERT_EQ(file->Close(), 0);
            ASSERT_EQ(m_disk.Contents(kPath), model);
        }
    }
    EXPECT_GT(model.size(), 2u << 20);
    EXPECT_EQ(file->GetLogicalLength(), model.size());
    ASSERT_EQ(file->Close(), 0);
    EXPECT_EQ(m_disk.Contents(kPath), model);
}

TEST_P(UnbufferedFileTest, TruncateClosesAndTheNextOperationReopens)
{
    auto file = Make(3);
    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, Pattern(5000, 9)));
    ASSERT_EQ(file->Seek(1, 300, 0), 0);
    ASSERT_EQ(file->Truncate(), 0);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(m_disk.Contents(kPath), Pattern(300, 9));
    std::uint64_t nPosition = 0;
    ASSERT_EQ(file->GetPosition(&nPosition), 0);
    EXPECT_EQ(nPosition, 300u);

    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, {1, 2, 3}));
    EXPECT_TRUE(file->IsOpen());
    ASSERT_EQ(file->Close(), 0);
    Bytes expected = Pattern(300, 9);
    expected.insert(expected.end(), {1, 2, 3});
    EXPECT_EQ(m_disk.Contents(kPath), expected);

    // Closed, the position is back at 0: cutting there empties the file.
    ASSERT_EQ(file->Truncate(), 0);
    EXPECT_TRUE(m_disk.Contents(kPath).empty());
}

INSTANTIATE_TEST_SUITE_P(SectorsAndModes, UnbufferedFileTest,
                         ::testing::Combine(::testing::Values(512u, 4096u), ::testing::Values(0u, 1u)),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) != 0 ? "Cached" : "Direct");
                         });

// The same over a disk that fails when told to: reports are expected here.
class UnbufferedFaultTest : public UnbufferedFileTest
{
protected:
    using Op = CMemoryFileSystem::EOperation;

    void TearDown() override { EXPECT_EQ(m_disk.RefusedTransfers(), 0) << "a transfer was not sector-aligned"; }

    bool Reported(int nLocation, int nError) const
    {
        return std::any_of(m_sink.reports.begin(), m_sink.reports.end(), [&](const SReport& report) {
            return report.nLocation == nLocation && report.nError == nError;
        });
    }

    // Every write from now on fails, as on a full disk.
    void FillDisk()
    {
        for (int i = 1; i <= 20; ++i)
            m_disk.FailNth(Op::Write, i, CMemoryFileSystem::kErrorDiskFull);
    }
};

constexpr int kDiskFull = CMemoryFileSystem::kErrorDiskFull;

TEST_P(UnbufferedFaultTest, AFailedWriteKeepsTheBytesAndEveryOperationThatNeedsThemSaysSo)
{
    const Bytes data = Pattern(1000, 4);
    auto file = Make(3);
    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, data));
    FillDisk();
    Bytes back(1000);
    std::uint32_t nRead = 0;
    const int nSeek = file->Seek(1, 0, 0);
    const int nRead1 = file->Read(back.data(), 1000, &nRead);
    const int nClose = file->Close();
    if (Flags() != 0) {
        // Cached: the bytes are still waiting for the disk.
        EXPECT_EQ(nRead1, kDiskFull);
        EXPECT_EQ(nSeek, kDiskFull);
        EXPECT_EQ(nClose, kDiskFull);
        EXPECT_TRUE(file->IsOpen());
        EXPECT_TRUE(m_disk.Contents(kPath).empty()) << "not padded to the length the cache gave";
    } else {
        EXPECT_EQ(nRead1, 0);
        EXPECT_EQ(back, data);
        EXPECT_EQ(nClose, 0);
    }
    std::uint64_t nLength = 0;
    ASSERT_EQ(file->GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 1000u);

    m_disk.ClearFaults();
    ASSERT_EQ(file->Close(), 0);
    EXPECT_EQ(m_disk.Contents(kPath), data) << "the same bytes, once the disk takes them";
}

TEST_P(UnbufferedFaultTest, AFileLetGoWithBytesTheDiskRefusedKeepsWhatItHeldWithoutPadding)
{
    const Bytes before = Pattern(100, 6);
    m_disk.Contents(kPath) = before;
    {
        auto file = Make(3);
        ASSERT_EQ(file->Seek(2, 0, 0), 0);
        ASSERT_NO_FATAL_FAILURE(WriteAll(*file, Pattern(SectorSize() + 900, 7)));
        FillDisk();
        Bytes back(10);
        std::uint32_t nRead = 0;
        const int nResult = file->Read(back.data(), 10, &nRead);
        EXPECT_EQ(nResult, Flags() != 0 ? kDiskFull : 0);
        if (Flags() == 0)
            m_disk.ClearFaults();
    }
    Bytes expected = before;
    if (Flags() == 0) {
        const Bytes written = Pattern(SectorSize() + 900, 7);
        expected.insert(expected.end(), written.begin(), written.end());
    }
    EXPECT_EQ(m_disk.Contents(kPath), expected);
    EXPECT_EQ(m_disk.OpenCount(kPath), 0);
    m_disk.ClearFaults();
}

TEST_P(UnbufferedFaultTest, TemporaryFilesGoHoweverTheirCloseEnds)
{
    {
        // Five cached temporary files take the whole pool; the first one destroyed needs
        // no second buffer to go.
        std::vector<std::unique_ptr<CTmpUnBufWinPFile>> files;
        for (int i = 0; i < 5; ++i) {
            files.push_back(std::make_unique<CTmpUnBufWinPFile>(L"D:\\tmp" + std::to_wstring(i), 2, Flags(), &m_sink,
                                                                m_disk));
            ASSERT_NO_FATAL_FAILURE(WriteAll(*files.back(), Pattern(700, static_cast<unsigned char>(i))));
        }
        files.erase(files.begin());
        EXPECT_FALSE(m_disk.Exists(L"D:\\tmp0"));
        EXPECT_TRUE(m_disk.Exists(L"D:\\tmp1"));
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(m_disk.Exists(L"D:\\tmp" + std::to_wstring(i)));
    {
        CTmpUnBufWinPFile file(L"D:\\tmp.full", 2, Flags(), &m_sink, m_disk);
        ASSERT_NO_FATAL_FAILURE(WriteAll(file, Pattern(3000, 1)));
        FillDisk();
        m_disk.FailNth(Op::Close, 1, 6);
    }
    EXPECT_FALSE(m_disk.Exists(L"D:\\tmp.full")) << "a disk that fails at the end does not keep the file";
    m_disk.ClearFaults();
}

TEST_P(UnbufferedFaultTest, OpenFailuresLeaveNothingOpenAndReadSaysWhy)
{
    auto missing = Make(1);
    EXPECT_EQ(missing->GetError(), CMemoryFileSystem::kErrorFileNotFound);
    Bytes buffer(16, 0xEE);
    std::uint32_t nRead = 9;
    EXPECT_EQ(missing->Read(buffer.data(), 16, &nRead), CMemoryFileSystem::kErrorFileNotFound);
    EXPECT_EQ(nRead, 0u);
    EXPECT_EQ(missing->GetError(), CMemoryFileSystem::kErrorFileNotFound);
    EXPECT_TRUE(Reported(308, CMemoryFileSystem::kErrorFileNotFound));

    // A size the system would not tell: the file is not kept open at a length it guessed,
    // which its close would cut it to.
    const Bytes contents = Pattern(1000, 5);
    m_disk.Contents(kPath) = contents;
    m_disk.FailNth(Op::GetSize, 1, CMemoryFileSystem::kErrorCrc);
    auto file = Make(3);
    EXPECT_EQ(file->GetError(), CMemoryFileSystem::kErrorCrc);
    EXPECT_TRUE(Reported(353, CMemoryFileSystem::kErrorCrc));
    EXPECT_FALSE(file->IsOpen());
    EXPECT_EQ(m_disk.OpenCount(kPath), 0);
    ASSERT_EQ(file->Close(), 0);
    EXPECT_EQ(m_disk.Contents(kPath), contents);
    ASSERT_EQ(file->Read(buffer.data(), 16, &nRead), 0) << "the next operation opens it";
    EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), Bytes(contents.begin(), contents.begin() + 16));
}

TEST_P(UnbufferedFaultTest, TheLengthOfAnOpenFileIsTheOneWrittenNotTheSectorsOnDisk)
{
    auto file = Make(2);
    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, {0x11}));
    std::uint64_t nLength = 0;
    ASSERT_EQ(file->GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 1u);
    ASSERT_EQ(file->Seek(1, 5000, 0), 0);
    ASSERT_NO_FATAL_FAILURE(WriteAll(*file, Pattern(10, 2)));
    ASSERT_EQ(file->GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 5010u);
    ASSERT_EQ(file->Close(), 0);
    ASSERT_EQ(file->GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 5010u);
}

TEST_P(UnbufferedFaultTest, ShortReadsGoOnAndADiskThatEndsTooSoonFails)
{
    const std::uint32_t s = SectorSize();
    const Bytes contents = Pattern(5 * s + 100, 8);
    m_disk.Contents(kPath) = contents;
    auto file = Make(1);
    for (int nShort = 1; nShort <= 3; ++nShort) {
        // The device hands over one sector of a longer read, then the rest.
        m_disk.ShortenNthRead(nShort, s);
        Bytes back(contents.size());
        std::uint32_t nRead = 0;
        ASSERT_EQ(file->Seek(1, 0, 0), 0);
        ASSERT_EQ(file->Read(back.data(), static_cast<std::uint32_t>(back.size()), &nRead), 0);
        EXPECT_EQ(nRead, contents.size());
        EXPECT_EQ(back, contents) << "short read " << nShort;
        m_disk.ClearFaults();
    }
    // Another program cut the file: what the length still promises is not there.
    auto cut = Make(1);
    m_disk.Contents(kPath).resize(2 * s);
    Bytes back(contents.size());
    std::uint32_t nRead = 0;
    ASSERT_EQ(cut->Seek(1, s + 10, 0), 0);
    EXPECT_EQ(cut->Read(back.data(), 4 * s, &nRead), 38);
    EXPECT_EQ(cut->GetError(), 38);
    EXPECT_FALSE(m_sink.reports.empty());
}

TEST_P(UnbufferedFaultTest, AFailedSystemReadIsReportedWhereTheSystemIsCalled)
{
    m_disk.Contents(kPath) = Pattern(3000, 9);
    auto file = Make(3);
    m_disk.FailNth(Op::Read, 1, CMemoryFileSystem::kErrorCrc);
    Bytes back(100);
    std::uint32_t nRead = 0;
    ASSERT_EQ(file->Seek(1, 700, 0), 0);
    EXPECT_EQ(file->Read(back.data(), 100, &nRead), CMemoryFileSystem::kErrorCrc);
    EXPECT_EQ(file->GetError(), CMemoryFileSystem::kErrorCrc);
    ASSERT_FALSE(m_sink.reports.empty());
    EXPECT_EQ(m_sink.reports.back().nLocation, 1564);
    EXPECT_EQ(m_sink.reports.back().source, L"CPortableUnBufWinPFile.cpp");
}

// Random writes, reads, closes and length queries on a disk whose seeks, reads, writes,
// size queries and closes fail now and then, and whose reads come short. Whatever a write
// says it wrote is applied to the model; a read or close that succeeds matches it; and after
// any failure, the disk healthy again, one close puts exactly the model on the disk.
TEST_P(UnbufferedFaultTest, RandomWorkOnAFailingDiskLosesNothingItAccepted)
{
    const std::uint32_t s = SectorSize();
    std::mt19937 random(20261210 + s + Flags());
    Bytes model;
    auto file = Make(3);
    int nFailures = 0;
    const auto settle = [&] {
        m_disk.ClearFaults();
        ASSERT_EQ(file->Close(), 0);
        ASSERT_EQ(m_disk.Contents(kPath), model);
    };
    static constexpr Op kOperations[] = {Op::Move, Op::Read, Op::Write, Op::GetSize, Op::Close};
    for (int i = 0; i < 600; ++i) {
        if (random() % 3 == 0)
            m_disk.FailNth(kOperations[random() % 5], 1 + static_cast<int>(random() % 4), kDiskFull);
        if (random() % 4 == 0)
            m_disk.ShortenNthRead(1 + static_cast<int>(random() % 3), s * (1 + random() % 3));
        const auto nAt = static_cast<std::uint32_t>(random() % (model.size() + 3 * s + 1));
        const std::uint32_t nSize = (i % 7 == 0) ? random() % 300000 : random() % (3 * s);
        int nResult = file->Seek(1, nAt, 0);
        const unsigned int nKind = random() % 8;
        if (nResult != 0) {
        } else if (nKind < 4) {
            const Bytes data = Pattern(nSize, static_cast<unsigned char>(i));
            std::uint32_t nWritten = 0;
            nResult = file->Write(data.data(), nSize, &nWritten);
            ASSERT_LE(nWritten, nSize);
            if (nResult == 0) {
                ASSERT_EQ(nWritten, nSize) << "operation " << i;
            }
            if (nWritten > 0) {
                if (model.size() < nAt + nWritten)
                    model.resize(nAt + nWritten);
                std::copy(data.begin(), data.begin() + nWritten, model.begin() + nAt);
            }
        } else if (nKind < 6) {
            Bytes back(nSize);
            std::uint32_t nRead = 0;
            nResult = file->Read(back.data(), nSize, &nRead);
            if (nResult == 0) {
                const std::size_t nExpected = nAt < model.size() ? std::min<std::size_t>(nSize, model.size() - nAt) : 0;
                ASSERT_EQ(nRead, nExpected) << "operation " << i;
                ASSERT_TRUE(std::equal(back.begin(), back.begin() + nRead, model.begin() + nAt)) << "operation " << i;
            }
        } else if (nKind == 6) {
            nResult = file->Close();
            if (nResult == 0) {
                ASSERT_EQ(m_disk.Contents(kPath), model) << "operation " << i;
            }
        } else {
            std::uint64_t nLength = 0;
            nResult = file->GetLength(&nLength);
            if (nResult == 0) {
                ASSERT_EQ(nLength, model.size()) << "operation " << i;
            }
        }
        if (nResult != 0) {
            ++nFailures;
            ASSERT_NO_FATAL_FAILURE(settle()) << "after operation " << i << " failed with " << nResult;
        }
    }
    EXPECT_GT(nFailures, 30);
    ASSERT_NO_FATAL_FAILURE(settle());
}

INSTANTIATE_TEST_SUITE_P(SectorsAndModes, UnbufferedFaultTest,
                         ::testing::Combine(::testing::Values(512u, 4096u), ::testing::Values(0u, 1u)),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) != 0 ? "Cached" : "Direct");
                         });

TEST(UnbufferedFilePoolTest, TheSixthConcurrentUserGets1784OnWriteAndOnRead)
{
    CMemoryFileSystem disk(4096);
    CRecordingSink sink;
    std::vector<std::unique_ptr<CPortableUnBufWinPFile>> holders;
    for (int i = 0; i < 5; ++i) {
        const std::wstring path = L"D:\\pool\\" + std::to_wstring(i);
        holders.push_back(std::make_unique<CPortableUnBufWinPFile>(path, 3, 0, nullptr, disk));
        ASSERT_NO_FATAL_FAILURE(WriteAll(*holders.back(), {1}));
    }
    disk.Contents(L"D:\\pool\\sixth") = Pattern(100, 0);
    CPortableUnBufWinPFile sixth(L"D:\\pool\\sixth", 3, 0, &sink, disk);
    std::uint32_t nWritten = 7;
    const unsigned char byte = 9;
    EXPECT_EQ(sixth.Write(&byte, 1, &nWritten), 1784);
    EXPECT_EQ(nWritten, 0u);
    EXPECT_EQ(sixth.GetError(), 1784);
    unsigned char buffer[10];
    std::uint32_t nRead = 3;
    EXPECT_EQ(sixth.Read(buffer, 10, &nRead), 1784) << "the same failure says the same thing";
    EXPECT_EQ(nRead, 0u);
    EXPECT_EQ(sixth.GetError(), 1784);
    ASSERT_EQ(sink.reports.size(), 2u);
    for (const SReport& report : sink.reports) {
        EXPECT_EQ(report.source, L"CPortableUnBufWinPFile.cpp");
        EXPECT_EQ(report.nLocation, 1552);
        EXPECT_EQ(report.nError, 1784);
        EXPECT_EQ(report.path, L"Invalid Ovra data buffer specified");
    }
    EXPECT_EQ(disk.Contents(L"D:\\pool\\sixth"), Pattern(100, 0)) << "nothing was written";

    ASSERT_EQ(holders[2]->Close(), 0);
    EXPECT_EQ(sixth.Write(&byte, 1, &nWritten), 0);
    EXPECT_EQ(sixth.Read(buffer, 10, &nRead), 0);
    EXPECT_EQ(nRead, 10u);
}

// More users than buffers at once: the first five write, the other three are refused
// without a byte written; the five then read back and close (a cached file writes from its
// own buffer, with no other one to be had), and the others get their turn. After that all
// eight go on at once, each checking it never saw another's bytes. Each thread has its own
// disk, as the stand-in has no lock.
TEST(UnbufferedFilePoolTest, EightUsersOfFiveBuffersNeverShareOneAndCloseWithoutASecond)
{
    constexpr int kUsers = 8;
    constexpr int kBuffers = 5;
    std::vector<CMemoryFileSystem> disks(kUsers);
    std::barrier sync(kUsers);
    std::atomic<int> nHolders{0};
    std::vector<int> firstWrite(kUsers, -1);
    std::vector<int> failures(kUsers, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kUsers; ++t) {
        threads.emplace_back([&, t] {
            CMemoryFileSystem& disk = disks[t];
            CPortableUnBufWinPFile file(L"D:\\t.bin", 3, CPortableUnBufWinPFile::kCachedMode, nullptr, disk);
            const auto size = static_cast<std::uint32_t>(700 + t);
            Bytes model;
            const auto roundTrip = [&](unsigned char seed) {
                const Bytes data = Pattern(size, seed);
                Bytes back(size);
                std::uint32_t nDone = 0;
                const int nWrite = file.Seek(1, 333, 0) == 0 ? file.Write(data.data(), size, &nDone) : -2;
                if (nWrite != 0)
                    return nWrite;
                ++nHolders;
                model.resize(333 + size);
                std::copy(data.begin(), data.end(), model.begin() + 333);
                if (file.Seek(1, 333, 0) != 0 || file.Read(back.data(), size, &nDone) != 0 || back != data)
                    ++failures[t];
                --nHolders;
                if (file.Close() != 0 || disk.Contents(L"D:\\t.bin") != model)
                    ++failures[t];
                return 0;
            };
            std::uint32_t nDone = 0;
            const Bytes first = Pattern(size, static_cast<unsigned char>(t));
            firstWrite[t] = file.Write(first.data(), size, &nDone);
            if (firstWrite[t] == 0)
                model = first;
            if (firstWrite[t] != 0 && nDone != 0)
                ++failures[t];
            sync.arrive_and_wait();
            if (firstWrite[t] == 0) {
                Bytes back(size);
                if (file.Seek(1, 0, 0) != 0 || file.Read(back.data(), size, &nDone) != 0 || back != first ||
                    file.Close() != 0 || disk.Contents(L"D:\\t.bin") != first)
                    ++failures[t];
            }
            sync.arrive_and_wait();
            if (firstWrite[t] != 0) {
                if (!disk.Contents(L"D:\\t.bin").empty() || roundTrip(static_cast<unsigned char>(t)) != 0)
                    ++failures[t];
            }
            sync.arrive_and_wait();
            for (int i = 0; i < 150; ++i) {
                int nResult = 0;
                while ((nResult = roundTrip(static_cast<unsigned char>(t * 50 + i))) == 1784)
                    std::this_thread::yield();
                if (nResult != 0 || nHolders.load() > kBuffers)
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(std::count(firstWrite.begin(), firstWrite.end(), 0), kBuffers);
    EXPECT_EQ(std::count(firstWrite.begin(), firstWrite.end(), 1784), kUsers - kBuffers);
    EXPECT_EQ(failures, std::vector<int>(kUsers, 0));
}

TEST(UnbufferedFileOpenTest, TemporaryVariantRemovesItsFileAndModeOneNeverCreates)
{
    CMemoryFileSystem disk;
    {
        CTmpUnBufWinPFile file(L"D:\\tmp.bin", 2, 1, nullptr, disk);
        ASSERT_NO_FATAL_FAILURE(WriteAll(file, Pattern(10, 0)));
        EXPECT_TRUE(disk.Exists(L"D:\\tmp.bin"));
    }
    EXPECT_FALSE(disk.Exists(L"D:\\tmp.bin"));
    CPortableUnBufWinPFile missing(L"D:\\missing.bin", 1, 0, nullptr, disk);
    EXPECT_EQ(missing.GetError(), CMemoryFileSystem::kErrorFileNotFound);
    EXPECT_FALSE(disk.Exists(L"D:\\missing.bin"));
    CPortableUnBufWinPFile invalid(L"D:\\x.bin", 4, 0, nullptr, disk);
    EXPECT_EQ(invalid.GetError(), 5);
}

} // namespace
