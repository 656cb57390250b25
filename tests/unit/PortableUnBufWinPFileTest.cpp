// Unbuffered files over a stand-in disk that refuses unaligned transfers: exact lengths at
// close, partial sectors kept, the logical end, a random workload against a plain model,
// the pool's limit and truncation.
#include <gtest/gtest.h>

#include "MemoryFileSystem.h"

#include "framework/files/PortableUnBufWinPFile.h"
#include "framework/files/TmpUnBufWinPFile.h"

#include <algorithm>
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

TEST(UnbufferedFilePoolTest, TheSixthConcurrentUserGets1784OnWriteAndMinusOneOnRead)
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
    ASSERT_EQ(sink.reports.size(), 1u);
    EXPECT_EQ(sink.reports[0].source, L"CPortableUnBufWinPFile.cpp");
    EXPECT_EQ(sink.reports[0].nLocation, 1552);
    EXPECT_EQ(sink.reports[0].path, L"Invalid Ovra data buffer specified");
    unsigned char buffer[10];
    std::uint32_t nRead = 0;
    EXPECT_EQ(sixth.Read(buffer, 10, &nRead), -1);
    EXPECT_EQ(nRead, 0u);
    EXPECT_EQ(disk.Contents(L"D:\\pool\\sixth"), Pattern(100, 0)) << "nothing was written";

    ASSERT_EQ(holders[2]->Close(), 0);
    EXPECT_EQ(sixth.Write(&byte, 1, &nWritten), 0);
    EXPECT_EQ(sixth.Read(buffer, 10, &nRead), 0);
    EXPECT_EQ(nRead, 10u);
}

TEST(UnbufferedFilePoolTest, ThreadsNeverShareATransferBuffer)
{
    constexpr int kThreads = 4;
    std::vector<CMemoryFileSystem> disks(kThreads);
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            CPortableUnBufWinPFile file(L"D:\\t.bin", 3, 0, nullptr, disks[t]);
            for (int i = 0; i < 200; ++i) {
                const Bytes data = Pattern(700 + t, static_cast<unsigned char>(t * 50 + i));
                std::uint32_t nDone = 0;
                Bytes back(data.size());
                if (file.Seek(1, 333, 0) != 0 || file.Write(data.data(), 700 + t, &nDone) != 0 ||
                    file.Seek(1, 333, 0) != 0 || file.Read(back.data(), 700 + t, &nDone) != 0 || back != data)
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
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
