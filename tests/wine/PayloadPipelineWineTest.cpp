// The payload pipeline inside a Windows program: wide paths with characters outside
// the ANSI code page, the temporary data file, assembly and the clean-up after it.
#include <gtest/gtest.h>

#include <cstring>

#include "ContainerBuilder.h"
#include "LzmaTestEncoder.h"
#include "RecordingPayloadHost.h"
#include "ScratchFolder.h"
#include "payload/CancelFlag.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/PayloadExtraction.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

class PayloadPipelineWine : public testing::Test
{
protected:
    void SetUp() override
    {
        g_bCancelExtraction = 0;
        std::filesystem::create_directories(m_package);
    }
    void TearDown() override { DestroyPayloadParser(); }

    int Extract(const std::vector<uint8_t>& container, CRecordingPayloadHost& host)
    {
        const uint32_t offset = WritePackageFile(m_stub, CompressForPayload(container));
        std::memset(m_error, 0, sizeof(m_error));
        return ExtractPayload(m_stub, offset, m_error, &host);
    }

    CScratchFolder m_folder{"wine-payload"};
    // Greek and CJK letters: no ANSI code page holds both, so only wide paths reach them.
    std::filesystem::path m_stub = m_folder.Path() / u8"Setup-\u03A9\u6F22.exe";
    std::filesystem::path m_package = m_folder.Path() / u8"OVRA-\u03A9\u6F22";
    char m_error[CErrorTextBuffer::kSize];
};

} // namespace

TEST_F(PayloadPipelineWine, ExtractsIntoAWidePathAndRemovesTheTemporaryFile)
{
    const auto big = PseudoRandomBytes(150000, 11);
    const auto block = PseudoRandomBytes(32768 + 40, 12);
    CContainerBuilder builder;
    const uint16_t bigFile = builder.AddName("big.bin");
    const uint16_t text = builder.AddName("docs\\caf\xE9\\read me.txt");
    const uint16_t cab = builder.AddName("data\\x.cab");
    builder.AddChunk(big, {{bigFile, 0, 0}});
    builder.AddChunk(Bytes("bonjour"), {{text, 0, 0}});
    builder.AddChunk(Bytes("HEAD-ONE"), {{static_cast<uint16_t>(cab | CContainerBuilder::kBlocked), 1, 0}});
    builder.AddChunk(block, {{static_cast<uint16_t>(cab | CContainerBuilder::kBlocked), 0, 0}});
    builder.AddChunk(Bytes("HEAD-TWO"), {{static_cast<uint16_t>(cab | CContainerBuilder::kBlocked), 1, 8 + 32768}});

    CRecordingPayloadHost host(m_package);
    ASSERT_EQ(Extract(builder.Build(), host), PayloadResult::kOk) << m_error;
    EXPECT_EQ(ReadWholeFile(m_package / "big.bin"), big);
    EXPECT_EQ(ReadWholeFile(m_package / "docs" / u8"caf\u00E9" / "read me.txt"), Bytes("bonjour"));
    std::vector<uint8_t> expectedCab = Bytes("HEAD-ONE");
    expectedCab.insert(expectedCab.end(), block.begin(), block.begin() + 32768);
    const auto two = Bytes("HEAD-TWO");
    expectedCab.insert(expectedCab.end(), two.begin(), two.end());
    expectedCab.insert(expectedCab.end(), block.begin() + 32768, block.end());
    EXPECT_EQ(ReadWholeFile(m_package / "data" / "x.cab"), expectedCab);
    EXPECT_FALSE(std::filesystem::exists(m_package / "temp.htar"));
    EXPECT_EQ(host.Progress().back(), 250u + 2u * 250u / 3u);
}

TEST_F(PayloadPipelineWine, DriveLetterNameFailsBeforeAnyFileIsWritten)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("x"), {{builder.AddName("C:\\Windows\\evil.dll"), 0, 0}});
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(builder.Build(), host), 1);
    EXPECT_STREQ(m_error, "\nError: Data error\nfile name with a character Windows forbids: \"C:\\Windows\\evil.dll\"\n"
                          "The installer file is damaged or incomplete: download it again.\n");
    EXPECT_TRUE(std::filesystem::is_empty(m_package));
}

// Windows would open the staged data file itself for writing, and truncate it.
TEST_F(PayloadPipelineWine, TemporaryDataNameInAnyCaseFailsBeforeAnyFileIsWritten)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("data"), {{builder.AddName("setup.exe"), 0, 0}});
    builder.AddChunk(Bytes("clobber"), {{builder.AddName("Temp.HTAR"), 0, 0}});
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(builder.Build(), host), 1);
    EXPECT_STREQ(m_error, "\nError: Data error\nfile name that the temporary data file needs: \"Temp.HTAR\"\n"
                          "The installer file is damaged or incomplete: download it again.\n");
    EXPECT_TRUE(std::filesystem::is_empty(m_package));
}

TEST_F(PayloadPipelineWine, OutputFileHeldAsADirectoryReportsCode35)
{
    std::filesystem::create_directories(m_package / "taken");
    CContainerBuilder builder;
    builder.AddChunk(Bytes("x"), {{builder.AddName("taken"), 0, 0}});
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(builder.Build(), host), 1);
    EXPECT_STREQ(m_error, "\nError code: 23\n");
    ASSERT_EQ(host.OpenFailures().size(), 1u);
    EXPECT_EQ(host.OpenFailures()[0], m_package / "taken");
}

// Windows reads both slashes as separators and a drive prefix as outside any folder.
TEST(PayloadPathWine, BothSlashesSeparateAndADrivePrefixIsNeverInside)
{
    EXPECT_TRUE(CPayloadPath(L"dir\\sub/file.txt").IsPlainRelative());
    EXPECT_FALSE(CPayloadPath(L"C:file.txt").IsPlainRelative());
    EXPECT_FALSE(CPayloadPath(L"\\\\server\\share\\x").IsPlainRelative());
    EXPECT_FALSE(CPayloadPath(L"dir\\..\\..\\x").IsPlainRelative());
    EXPECT_FALSE(CPayloadPath(L"dir/.\\x").IsPlainRelative());
    EXPECT_EQ(CPayloadPath(L"C:\\pkg").Join(L"a\\b.txt"), CPayloadPath(L"C:\\pkg\\a\\b.txt"));
    EXPECT_EQ(CPayloadPath(L"C:\\pkg\\a/b.txt").Parent(), CPayloadPath(L"C:\\pkg\\a"));
    EXPECT_EQ(CPayloadPath(L"C:\\b.txt").Parent(), CPayloadPath(L"C:\\"));
}
