// Buffered files over the in-memory system: what each mode asks of the system, when a
// file is opened, and the operations that must not change it.
#include <gtest/gtest.h>

#include "MemoryFileSystem.h"

#include "framework/files/PortableWinPFile.h"
#include "framework/files/PortableWinPTmpPFile.h"

#include <vector>

namespace {

using Request = SFileOpenRequest;
constexpr const wchar_t* kPath = L"D:\\data\\file.txt";

TEST(PortableWinPFileTest, EachModeOpensAsItsRowSays)
{
    CMemoryFileSystem disk;
    disk.Contents(kPath) = {1, 2, 3};
    {
        CPortableWinPFile file(kPath, 1, nullptr, disk);
        ASSERT_EQ(file.Open(1), 0);
        const Request& asked = disk.LastRequest();
        EXPECT_EQ(asked.access, Request::EAccess::Read);
        EXPECT_TRUE(asked.bShareRead);
        EXPECT_EQ(asked.disposition, Request::EDisposition::OpenExisting);
        EXPECT_EQ(asked.hint, Request::EHint::Sequential);
        EXPECT_FALSE(asked.bNoBuffering);
        ASSERT_EQ(file.Open(3), 0);
        EXPECT_EQ(disk.LastRequest().access, Request::EAccess::ReadWrite);
        EXPECT_FALSE(disk.LastRequest().bShareRead);
        EXPECT_EQ(disk.LastRequest().disposition, Request::EDisposition::OpenAlways);
        EXPECT_EQ(disk.LastRequest().hint, Request::EHint::Random);
        EXPECT_EQ(disk.OpenCount(kPath), 1) << "the previous mode's file was closed";
        EXPECT_EQ(disk.Contents(kPath).size(), 3u);
        ASSERT_EQ(file.Open(2), 0);
        EXPECT_EQ(disk.LastRequest().access, Request::EAccess::Write);
        EXPECT_EQ(disk.LastRequest().disposition, Request::EDisposition::CreateAlways);
        EXPECT_TRUE(disk.Contents(kPath).empty());
        EXPECT_EQ(file.Open(7), 5);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.GetError(), 5);
    }
    EXPECT_EQ(disk.OpenCount(kPath), 0);
}

TEST(PortableWinPFileTest, LengthOfAClosedWriteFileLeavesItWhole)
{
    CMemoryFileSystem disk;
    disk.Contents(kPath) = std::vector<unsigned char>(1234, 7);
    CPortableWinPFile file(kPath, 2, nullptr, disk);
    std::uint64_t nLength = 0;
    ASSERT_EQ(file.GetLength(&nLength), 0);
    EXPECT_EQ(nLength, 1234u);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetMode(), 2);
    EXPECT_EQ(disk.Contents(kPath).size(), 1234u);
    EXPECT_EQ(file.GetLength(nullptr), 0);
}

TEST(PortableWinPFileTest, ReadOfNothingStillOpensAndSeekOrigins)
{
    CMemoryFileSystem disk;
    disk.Contents(kPath) = {10, 20, 30, 40, 50};
    CPortableWinPFile file(kPath, 1, nullptr, disk);
    unsigned char byte = 0xFF;
    std::uint32_t nRead = 9;
    ASSERT_EQ(file.Read(&byte, 0, &nRead), 0);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(nRead, 0u);
    EXPECT_EQ(file.Read(nullptr, 1, &nRead), -1);

    std::uint64_t nPosition = 0;
    ASSERT_EQ(file.Seek(2, static_cast<std::uint32_t>(-2), -1), 0);
    ASSERT_EQ(file.GetPosition(&nPosition), 0);
    EXPECT_EQ(nPosition, 3u);
    ASSERT_EQ(file.Seek(3, static_cast<std::uint32_t>(-1), -1), 0);
    ASSERT_EQ(file.Read(&byte, 1, &nRead), 0);
    EXPECT_EQ(byte, 30);
    ASSERT_EQ(file.Seek(0, 100, 0), 0);
    ASSERT_EQ(file.GetPosition(&nPosition), 0);
    EXPECT_EQ(nPosition, 3u) << "origin 0 does not move";
    EXPECT_EQ(file.Seek(4, 0, 0), 1);
}

TEST(PortableWinPFileTest, TruncateOfAClosedFileFailsAndTemporaryFilesDisappear)
{
    CMemoryFileSystem disk;
    disk.Contents(kPath) = {1, 2, 3};
    CPortableWinPFile file(kPath, 3, nullptr, disk);
    EXPECT_NE(file.Truncate(), 0) << "nothing was cut";
    EXPECT_EQ(disk.Contents(kPath).size(), 3u);
    ASSERT_EQ(file.Seek(1, 1, 0), 0);
    ASSERT_EQ(file.Truncate(), 0);
    EXPECT_EQ(disk.Contents(kPath).size(), 1u);
    {
        CPortableWinPTmpPFile temporary(L"D:\\t.tmp", 2, nullptr, disk);
        const unsigned char byte = 1;
        std::uint32_t nWritten = 0;
        ASSERT_EQ(temporary.Write(&byte, 1, &nWritten), 0);
        EXPECT_TRUE(disk.Exists(L"D:\\t.tmp"));
        EXPECT_EQ(temporary.GetDriveInfo().nKind, 0);
        EXPECT_EQ(temporary.GetDriveInfo().cLetter, L'D');
    }
    EXPECT_FALSE(disk.Exists(L"D:\\t.tmp"));
    {
        CPortableWinPTmpPFile temporary(L"D:\\failing.tmp", 2, nullptr, disk);
        const unsigned char byte = 1;
        std::uint32_t nWritten = 0;
        ASSERT_EQ(temporary.Write(&byte, 1, &nWritten), 0);
        disk.FailNth(CMemoryFileSystem::EOperation::Close, 1, 6);
    }
    EXPECT_FALSE(disk.Exists(L"D:\\failing.tmp")) << "a failed close does not keep a temporary file";
    CPortableWinPFile relative(L"name.txt", 1, nullptr, disk);
    EXPECT_EQ(relative.GetDriveInfo().cLetter, L'D') << "the working directory's drive";
}

} // namespace
