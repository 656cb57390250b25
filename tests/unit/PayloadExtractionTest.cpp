#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ContainerBuilder.h"
#include "LzmaTestEncoder.h"
#include "RecordingPayloadHost.h"
#include "ScratchFolder.h"
#include "payload/CancelFlag.h"
#include "payload/ContainerLayout.h"
#include "payload/ErrorTextBuffer.h"
#include "payload/LzmaHeapAllocator.h"
#include "payload/PayloadExtraction.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Three files, one of them twice as large as its chunk; 200 KB of data so the
// decoder hands over several 64 KiB blocks.
// The line a user reads after every sign of a damaged package.
constexpr const char* kDamaged = "The installer file is damaged or incomplete: download it again.\n";

CContainerBuilder ThreeFiles()
{
    CContainerBuilder builder;
    const uint16_t big = builder.AddName("big.bin");
    const uint16_t text = builder.AddName("docs\\readme.txt");
    const uint16_t twice = builder.AddName("twice.bin");
    builder.AddChunk(PseudoRandomBytes(200000, 7), {{big, 0, 0}});
    builder.AddChunk(Bytes("read me"), {{text, 0, 0}});
    builder.AddChunk(PseudoRandomBytes(60000, 8), {{twice, 0, 0}, {twice, 0, 60000}});
    return builder;
}

class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit m_saved{};
};

class PayloadExtractionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_bCancelExtraction = 0;
        std::filesystem::create_directories(m_package);
    }
    void TearDown() override
    {
        g_bCancelExtraction = 0;
        DestroyPayloadParser();
    }

    int Extract(const std::vector<uint8_t>& stream, CRecordingPayloadHost& host, ISzAlloc* allocator = nullptr)
    {
        const uint32_t offset = WritePackageFile(m_stub, stream);
        return Extract(offset, host, allocator);
    }
    int Extract(uint32_t offset, CRecordingPayloadHost& host, ISzAlloc* allocator = nullptr)
    {
        std::memset(m_error, 0, sizeof(m_error));
        return ExtractPayload(m_stub, offset, m_error, &host, allocator ? allocator : LzmaHeapAllocator());
    }
    std::string PackageFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_package))
            if (entry.is_regular_file())
                names.push_back(entry.path().lexically_relative(m_package).generic_string());
        std::sort(names.begin(), names.end());
        std::string list;
        for (const auto& name : names)
            list += name + ";";
        return list;
    }

    CScratchFolder m_folder{"extract"};
    std::filesystem::path m_stub = m_folder.Path() / "Setup.exe";
    std::filesystem::path m_package = m_folder.Path() / "OVRA1";
    char m_error[CErrorTextBuffer::kSize];
};

void* FailingAlloc(void*, size_t)
{
    return nullptr;
}
void NoFree(void*, void*)
{
}

// The heap of a 32-bit process: no block of a gigabyte or more.
void* LimitedAlloc(void*, size_t size)
{
    return size == 0 || size >= (size_t{1} << 30) ? nullptr : std::malloc(size);
}
void HeapFree(void*, void* address)
{
    std::free(address);
}

// A host whose n-th folder creation runs out of memory, as building a path text can.
class COutOfMemoryHost : public CRecordingPayloadHost
{
public:
    COutOfMemoryHost(std::filesystem::path folder, int failingCall)
        : CRecordingPayloadHost(std::move(folder)), m_nFailingCall(failingCall)
    {
    }
    void CreateFolders(const CPayloadPath& folder) override
    {
        if (++m_nCalls == m_nFailingCall)
            throw std::bad_alloc();
        CRecordingPayloadHost::CreateFolders(folder);
    }

private:
    int m_nFailingCall;
    int m_nCalls = 0;
};

// A host whose files stay, as on a share that refuses deletion.
class CUndeletableHost : public CRecordingPayloadHost
{
public:
    using CRecordingPayloadHost::CRecordingPayloadHost;
    bool RemoveFile(const CPayloadPath&) override { return false; }
};

} // namespace

TEST_F(PayloadExtractionTest, SuccessWritesEveryFileExactlyAndLeavesNoTemporaryFile)
{
    const auto builder = ThreeFiles();
    CRecordingPayloadHost host(m_package);
    ASSERT_EQ(Extract(CompressForPayload(builder.Build()), host), PayloadResult::kOk) << m_error;
    EXPECT_STREQ(m_error, "");
    EXPECT_EQ(PackageFiles(), "big.bin;docs/readme.txt;twice.bin;");
    EXPECT_EQ(ReadWholeFile(m_package / "big.bin"), PseudoRandomBytes(200000, 7));
    EXPECT_EQ(ReadWholeFile(m_package / "docs" / "readme.txt"), Bytes("read me"));
    auto twice = PseudoRandomBytes(60000, 8);
    twice.insert(twice.end(), twice.begin(), twice.end());
    EXPECT_EQ(ReadWholeFile(m_package / "twice.bin"), twice);
}

TEST_F(PayloadExtractionTest, ProgressStartsAtZeroRisesToHalfThenCountsFiles)
{
    CRecordingPayloadHost host(m_package);
    ASSERT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), PayloadResult::kOk) << m_error;
    const auto& progress = host.Progress();
    ASSERT_GE(progress.size(), 5u);
    EXPECT_EQ(progress.front(), 0u);
    for (size_t i = 2; i < progress.size(); ++i)
        EXPECT_GT(progress[i], progress[i - 1]);
    const auto assembly = std::find(progress.begin(), progress.end(), 250u);
    ASSERT_NE(assembly, progress.end());
    EXPECT_GT(assembly - progress.begin(), 2) << "data progress between the start and the assembly";
    EXPECT_EQ(progress.back(), 416u);
}

TEST_F(PayloadExtractionTest, UnknownSizeEndsWithTheEndMarker)
{
    SLzmaTestSettings settings;
    settings.bUnknownSize = true;
    CRecordingPayloadHost host(m_package);
    ASSERT_EQ(Extract(CompressForPayload(ThreeFiles().Build(), settings), host), PayloadResult::kOk) << m_error;
    EXPECT_EQ(ReadWholeFile(m_package / "docs" / "readme.txt"), Bytes("read me"));
}

TEST_F(PayloadExtractionTest, WorksWithOtherLiteralSettingsToo)
{
    SLzmaTestSettings settings;
    settings.nLc = 0;
    settings.nLp = 4;
    settings.nPb = 4;
    CRecordingPayloadHost host(m_package);
    ASSERT_EQ(Extract(CompressForPayload(ThreeFiles().Build(), settings), host), PayloadResult::kOk) << m_error;
}

TEST_F(PayloadExtractionTest, UnknownSizeWithoutEndMarkerIsADataError)
{
    auto stream = CompressForPayload(ThreeFiles().Build());
    std::fill(stream.begin() + 5, stream.begin() + 13, 0xFF);
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(stream, host), 1);
    EXPECT_EQ(std::string(m_error), std::string("\nError: Data error\n") + kDamaged);
}

TEST_F(PayloadExtractionTest, SizeLargerThanTheStreamIsADataError)
{
    auto stream = CompressForPayload(ThreeFiles().Build());
    stream[7] = static_cast<uint8_t>(stream[7] + 1);
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(stream, host), 1);
    EXPECT_EQ(std::string(m_error), std::string("\nError: Data error\n") + kDamaged);
    EXPECT_EQ(PackageFiles(), "temp.htar;");
}

TEST_F(PayloadExtractionTest, FailedDecoderAllocationIsOutOfMemory)
{
    ISzAlloc failing = {FailingAlloc, NoFree};
    CRecordingPayloadHost host(m_package);
    auto stream = CompressForPayload(Bytes("x"));
    LittleEndian::WriteU32(stream.data() + ContainerLayout::kStreamDictionaryField, 1u << 20);
    EXPECT_EQ(Extract(stream, host, &failing), 1);
    EXPECT_STREQ(m_error, "\nError: Can not allocate memory\nnot enough memory for the decoder and its dictionary of 1 MiB\n");
}

// What a 32-bit installer meets when the header asks for more than its address space
// holds: the size is named, nothing is written, nothing leaks.
TEST_F(PayloadExtractionTest, DictionaryTooLargeForTheAddressSpaceNamesItsSize)
{
    ISzAlloc limited = {LimitedAlloc, HeapFree};
    CRecordingPayloadHost host(m_package);
    auto stream = CompressForPayload(ThreeFiles().Build());
    LittleEndian::WriteU32(stream.data() + ContainerLayout::kStreamDictionaryField, 0x60000000); // 1.5 GiB
    EXPECT_EQ(Extract(stream, host, &limited), 1);
    EXPECT_STREQ(m_error, "\nError: Can not allocate memory\nnot enough memory for the decoder and its dictionary of 1536 MiB\n");
    EXPECT_EQ(PackageFiles(), "");
}

// A table, a buffer or a host's path text that cannot be allocated ends the run with
// a report, at any point of it, and leaves the temporary data file closed.
TEST_F(PayloadExtractionTest, RunningOutOfMemoryAnywhereIsReportedNotThrown)
{
    for (const int failingCall : {1, 2, 3}) {
        COutOfMemoryHost host(m_package, failingCall);
        EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), 1) << "call " << failingCall;
        EXPECT_STREQ(m_error, "\nError: Can not allocate memory\nnot enough memory to extract the package\n")
            << "call " << failingCall;
        ASSERT_NE(g_pPayloadParser->TemporaryFile(), nullptr);
        EXPECT_FALSE(g_pPayloadParser->TemporaryFile()->IsOpen()) << "call " << failingCall;
    }
}

TEST_F(PayloadExtractionTest, TemporaryFileThatCannotBeDeletedFailsTheRun)
{
    CUndeletableHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), 1);
    EXPECT_EQ(std::string(m_error),
              "\nError: Can not delete the temporary data file\n" + (m_package / "temp.htar").string() + "\n");
    // Every output file is complete all the same.
    EXPECT_EQ(PackageFiles(), "big.bin;docs/readme.txt;temp.htar;twice.bin;");
    EXPECT_EQ(ReadWholeFile(m_package / "big.bin"), PseudoRandomBytes(200000, 7));
    EXPECT_FALSE(g_pPayloadParser->TemporaryFile()->IsOpen());
}

TEST_F(PayloadExtractionTest, IncompleteOutputFileThatCannotBeRemovedIsNamed)
{
    CContainerBuilder builder;
    const uint16_t twice = builder.AddName("twice.bin");
    builder.AddChunk(PseudoRandomBytes(60000, 8), {{twice, 0, 0}, {twice, 0, 60000}});
    CUndeletableHost host(m_package);
    const uint32_t offset = WritePackageFile(m_stub, CompressForPayload(builder.Build()));
    ScopedFileSizeLimit limit(100000);
    EXPECT_EQ(Extract(offset, host), 1);
    EXPECT_NE(std::string(m_error).find("cannot write \"twice.bin\" (its incomplete copy could not be removed)\n"),
              std::string::npos)
        << m_error;
}

TEST_F(PayloadExtractionTest, PropertiesByteOutOfRangeIsUnsupported)
{
    auto stream = CompressForPayload(ThreeFiles().Build());
    stream[0] = 225;
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(stream, host), 1);
    EXPECT_EQ(std::string(m_error), std::string("\nError code: 4\n") + kDamaged);
}

TEST_F(PayloadExtractionTest, FileShorterThanOffsetPlusHeaderIsTruncatedHeader)
{
    CRecordingPayloadHost host(m_package);
    WritePackageFile(m_stub, {}, 1000, 12);
    EXPECT_EQ(Extract(1000, host), 1);
    EXPECT_EQ(std::string(m_error), std::string("\nError code: 6\n") + kDamaged);
    EXPECT_EQ(Extract(5000, host), 1);
    EXPECT_EQ(std::string(m_error), std::string("\nError code: 6\n") + kDamaged);
}

TEST_F(PayloadExtractionTest, ReadErrorOnTheStubIsReported)
{
    CRecordingPayloadHost host(m_package);
    m_stub = m_folder.Path();
    EXPECT_EQ(Extract(0, host), 1);
    EXPECT_STREQ(m_error, "\nError: Can not read input file\n");
}

TEST_F(PayloadExtractionTest, MissingStubCannotBeOpened)
{
    CRecordingPayloadHost host(m_package);
    m_stub = m_folder.Path() / "missing.exe";
    EXPECT_EQ(Extract(0, host), 1);
    EXPECT_STREQ(m_error, "\nError: Can not open input file\n");
}

TEST_F(PayloadExtractionTest, FailedSeekReturnsTheSystemCodeWithoutText)
{
    m_stub = m_folder.Path() / "pipe";
    ASSERT_EQ(mkfifo(m_stub.c_str(), 0600), 0);
    const int writer = open(m_stub.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(100, host), ESPIPE);
    EXPECT_STREQ(m_error, "");
    close(writer);
}

TEST_F(PayloadExtractionTest, TemporaryFileThatCannotBeWrittenFailsTheRun)
{
    CRecordingPayloadHost host(m_package);
    const auto stream = CompressForPayload(ThreeFiles().Build());
    const uint32_t offset = WritePackageFile(m_stub, stream);
    ScopedFileSizeLimit limit(100000);
    EXPECT_EQ(Extract(offset, host), 1);
    EXPECT_EQ(std::string(m_error), "\nError: Can not write output file\ncannot write the temporary data file \"temp.htar\"\n"
                                    "The disk may be full: could not write to " +
                                        m_package.string() + "\n");
}

TEST_F(PayloadExtractionTest, OutputFileThatCannotBeWrittenFailsTheRunAndIsRemoved)
{
    CContainerBuilder builder;
    const uint16_t twice = builder.AddName("twice.bin");
    builder.AddChunk(PseudoRandomBytes(60000, 8), {{twice, 0, 0}, {twice, 0, 60000}});
    CRecordingPayloadHost host(m_package);
    const uint32_t offset = WritePackageFile(m_stub, CompressForPayload(builder.Build()));
    ScopedFileSizeLimit limit(100000);
    EXPECT_EQ(Extract(offset, host), 1);
    EXPECT_EQ(std::string(m_error), "\nError: Can not write output file\ncannot write \"twice.bin\"\n"
                                    "The disk may be full: could not write to " +
                                        m_package.string() + "\n");
    EXPECT_EQ(PackageFiles(), "temp.htar;");
}

TEST_F(PayloadExtractionTest, TemporaryFileCutShortDuringAssemblyIsAReadError)
{
    CRecordingPayloadHost host(m_package);
    host.OnProgress([this](unsigned value) {
        if (value == 250)
            std::filesystem::resize_file(m_package / "temp.htar", 1000);
    });
    EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), 1);
    EXPECT_STREQ(m_error, "\nError: Can not read input file\ncannot read the temporary data file for \"big.bin\"\n");
    EXPECT_EQ(PackageFiles(), "temp.htar;");
}

TEST_F(PayloadExtractionTest, OutputFileThatCannotBeOpenedShowsCode35AsHex)
{
    std::filesystem::create_directories(m_package / "docs" / "readme.txt");
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), 1);
    EXPECT_STREQ(m_error, "\nError code: 23\n");
    ASSERT_EQ(host.OpenFailures().size(), 1u);
    EXPECT_EQ(host.OpenFailures()[0], m_package / "docs" / "readme.txt");
    EXPECT_EQ(PackageFiles(), "big.bin;temp.htar;");
}

TEST_F(PayloadExtractionTest, CancelBeforeTheRunPostsZeroAndReadsNothing)
{
    g_bCancelExtraction = 1;
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), PayloadResult::kCancelled);
    EXPECT_STREQ(m_error, "");
    EXPECT_EQ(host.Progress(), std::vector<unsigned>{0});
    EXPECT_EQ(PackageFiles(), "");
}

TEST_F(PayloadExtractionTest, CancelDuringDecodingLeavesOnlyTheTemporaryFile)
{
    CRecordingPayloadHost host(m_package);
    host.OnProgress([](unsigned value) {
        if (value > 0)
            g_bCancelExtraction = 1;
    });
    EXPECT_EQ(Extract(CompressForPayload(ThreeFiles().Build()), host), PayloadResult::kCancelled);
    EXPECT_STREQ(m_error, "");
    EXPECT_LT(host.Progress().back(), 250u);
    EXPECT_EQ(PackageFiles(), "temp.htar;");
    // Closed, so that "/CLEANUP" can remove the package folder after a cancel.
    ASSERT_NE(g_pPayloadParser->TemporaryFile(), nullptr);
    EXPECT_FALSE(g_pPayloadParser->TemporaryFile()->IsOpen());
}

TEST_F(PayloadExtractionTest, FailedRunClosesTheTemporaryFile)
{
    auto stream = CompressForPayload(ThreeFiles().Build());
    stream[7] = static_cast<uint8_t>(stream[7] + 1);
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(stream, host), 1);
    ASSERT_NE(g_pPayloadParser->TemporaryFile(), nullptr);
    EXPECT_FALSE(g_pPayloadParser->TemporaryFile()->IsOpen());
}

// Assembling such a file would truncate the temporary data file it is read from.
TEST_F(PayloadExtractionTest, TopLevelTemporaryDataNameIsRefusedBeforeAnythingIsWritten)
{
    for (const char* name : {"temp.htar", "TEMP.HTAR", "Temp.Htar"}) {
        CContainerBuilder builder;
        builder.AddChunk(Bytes("data"), {{builder.AddName("a.txt"), 0, 0}});
        builder.AddChunk(Bytes("clobber"), {{builder.AddName(name), 0, 0}});
        CRecordingPayloadHost host(m_package);
        std::memset(m_error, 0, sizeof(m_error));
        EXPECT_EQ(Extract(CompressForPayload(builder.Build()), host), 1) << name;
        EXPECT_EQ(std::string(m_error), std::string("\nError: Data error\nfile name that the temporary data file "
                                                     "needs: \"") + name + "\"\n" + kDamaged);
        EXPECT_EQ(PackageFiles(), "");
    }
    CContainerBuilder nested;
    nested.AddChunk(Bytes("fine"), {{nested.AddName("sub\\temp.htar"), 0, 0}});
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(nested.Build()), host), PayloadResult::kOk) << m_error;
    EXPECT_EQ(PackageFiles(), "sub/temp.htar;");
}

TEST_F(PayloadExtractionTest, UnsafeNameFailsWithAClearTextAndWritesNothing)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("pwned"), {{builder.AddName("..\\..\\evil.dll"), 0, 0}});
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(builder.Build()), host), 1);
    EXPECT_EQ(std::string(m_error),
              std::string("\nError: Data error\nfile name with a \".\" or \"..\" component: \"..\\..\\evil.dll\"\n") +
                  kDamaged);
    EXPECT_EQ(PackageFiles(), "");
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path().parent_path() / "evil.dll"));
}

TEST_F(PayloadExtractionTest, ContainerShorterThanItsTablesIsADataError)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("abc"), {{builder.AddName("a"), 0, 0}});
    auto container = builder.Build();
    container.resize(builder.TableHeaderOffset() + 5);
    CRecordingPayloadHost host(m_package);
    EXPECT_EQ(Extract(CompressForPayload(container), host), 1);
    EXPECT_EQ(std::string(m_error),
              std::string("\nError: Data error\nthe package ends before its tables are complete\n") + kDamaged);
}

TEST_F(PayloadExtractionTest, BytesAfterTheStreamNeverMatter)
{
    const auto stream = CompressForPayload(ThreeFiles().Build());
    CRecordingPayloadHost host(m_package);
    const uint32_t offset = WritePackageFile(m_stub, stream, 77, 70000);
    EXPECT_EQ(Extract(offset, host), PayloadResult::kOk) << m_error;
}

TEST(ErrorTextBuffer, AppendsAndNeverRunsPastTheBuffer)
{
    char buffer[CErrorTextBuffer::kSize + 8] = {};
    std::memset(buffer + CErrorTextBuffer::kSize, 'G', 8);
    CErrorTextBuffer text(buffer);
    text.AppendMessage("first");
    text.AppendCode(0x23);
    EXPECT_STREQ(buffer, "\nError: first\n\nError code: 23\n");
    text.Append(std::string(1000, 'x'));
    EXPECT_EQ(std::strlen(buffer), CErrorTextBuffer::kSize - 1);
    EXPECT_EQ(buffer[CErrorTextBuffer::kSize], 'G');
}
