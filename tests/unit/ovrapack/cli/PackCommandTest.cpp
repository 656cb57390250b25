#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "PackTestKit.h"
#include "ScratchFolder.h"
#include "TestStub.h"
#include "payload/ContainerLayout.h"
#include "payload/PatchBlock.h"
#include "payload/PatchBlockEditor.h"
#include "tools/ovrapack/pack/ContainerTables.h"

namespace fs = std::filesystem;
using namespace PackTestKit;

namespace {

using SRun = SToolRun;

// Text-like content with repeats at every distance: the match finder has work to do.
std::vector<uint8_t> Wordy(size_t size, uint32_t seed)
{
    static const char* const kWords[] = {"install", "package", "folder", "setup", "stream", "file", "the",
                                         "of", "dialog", "window", "progress", "cancel", "\r\n", ", "};
    const std::vector<uint8_t> noise = Pattern(size, seed);
    std::vector<uint8_t> bytes;
    bytes.reserve(size + 16);
    for (size_t i = 0; bytes.size() < size; ++i) {
        const char* word = kWords[noise[i % noise.size()] % std::size(kWords)];
        bytes.insert(bytes.end(), word, word + std::strlen(word));
        bytes.push_back(noise[(i * 7) % noise.size()] < 200 ? ' ' : noise[i % noise.size()]);
    }
    bytes.resize(size);
    return bytes;
}

// What the single-threaded encoder of the earlier build made of the content of
// StreamIsNoLargerThanTheEarlierEncoderMade, with the stream's padding.
constexpr size_t kEarlierStreamSize = 307608;

SRun Pack(std::vector<std::string> args)
{
    args.insert(args.begin(), "pack");
    args.push_back("--quiet");
    return RunTool(args);
}

std::vector<uint8_t> Bitmap()
{
    std::vector<uint8_t> bmp = Pattern(70, 3);
    bmp[0] = 'B';
    bmp[1] = 'M';
    return bmp;
}

struct SPackage
{
    std::vector<uint8_t> bytes;
    CPatchBlock Block() const
    {
        const auto offsets = CPatchBlockEditor::FindBlocks(bytes);
        EXPECT_EQ(offsets.size(), 1u);
        return CPatchBlock(bytes.data() + offsets.at(0));
    }
    std::vector<uint8_t> Container() const { return DecodeStream(bytes, Block().StreamOffset()); }
};

class PackCommand : public ::testing::Test
{
protected:
    PackCommand() : m_scratch("pack")
    {
        TestStub::SShape shape;
        shape.nOverlay = 0x123;  // an old signature behind the stub's sections
        shape.bCertificateEntry = true;
        WriteFile(Stub(), TestStub::Make(shape));
        WriteFile(m_scratch / "picture.bmp", Bitmap());
    }

    fs::path Stub() const { return m_scratch / "stub.exe"; }
    fs::path Source() const { return m_scratch / "src"; }
    fs::path Out() const { return m_scratch / "Setup.exe"; }
    std::string S(const fs::path& path) const { return path.string(); }

    void WriteSource(const std::string& name, const std::vector<uint8_t>& bytes) { WriteFile(Source() / name, bytes); }

    SPackage PackOk(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {S(Source()), "--stub", S(Stub()), "--out", S(Out())};
        args.insert(args.end(), extra.begin(), extra.end());
        const SRun run = Pack(args);
        EXPECT_EQ(run.nExit, 0) << run.strErr;
        return SPackage{ReadFile(Out())};
    }

    void ExpectRefused(const std::vector<std::string>& args, const std::string& message)
    {
        const SRun run = Pack(args);
        EXPECT_NE(run.nExit, 0);
        EXPECT_NE(run.strErr.find(message), std::string::npos) << run.strErr;
        EXPECT_FALSE(fs::exists(Out()));
        EXPECT_FALSE(fs::exists(S(Out()) + ".partial"));
    }

    std::vector<std::string> Basic() const { return {S(Source()), "--stub", S(Stub()), "--out", S(Out())}; }

    CScratchFolder m_scratch;
};

} // namespace

TEST_F(PackCommand, EveryFileComesBackByteForByteAndDuplicatesTravelOnce)
{
    const auto shared = Pattern(100000, 1);
    WriteSource("a.bin", shared);
    WriteSource("deep/er/copy.bin", shared);
    WriteSource("empty.txt", {});
    WriteSource("other.bin", Pattern(5000, 2));
    const SPackage package = PackOk();
    const auto container = package.Container();
    const auto files = Assemble(container);
    std::string error;
    const auto tables = CContainerTables::Parse(container.data(), container.size(), error);
    ASSERT_TRUE(tables) << error;
    ASSERT_EQ(tables->names, (std::vector<std::string>{"a.bin", "deep\\er\\copy.bin", "empty.txt", "other.bin"}));
    EXPECT_EQ(files[0], shared);
    EXPECT_EQ(files[1], shared);
    EXPECT_TRUE(files[2].empty());
    EXPECT_EQ(files[3], Pattern(5000, 2));
    EXPECT_EQ(tables->nDataLength, 105000u);
    for (const auto& chunk : tables->chunks)
        EXPECT_TRUE(chunk.destinations.size() == 1 || chunk.destinations.size() == 2);
}

TEST_F(PackCommand, CabinetContentIsSharedWithItsLooseCopyThroughTheBlockedLayout)
{
    const auto member = Pattern(50000, 4);
    const auto cab = MakeCabinet({Pattern(20000, 5), member, Pattern(1000, 6)});
    WriteSource("disk1.cab", cab);
    WriteSource("loose.dll", member);
    const SPackage package = PackOk();
    const auto container = package.Container();
    const auto files = Assemble(container);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], cab);
    EXPECT_EQ(files[1], member);
    std::string error;
    const auto tables = CContainerTables::Parse(container.data(), container.size(), error);
    ASSERT_TRUE(tables);
    bool mixed = false;
    size_t headerChunks = 0;
    for (const auto& chunk : tables->chunks) {
        if (chunk.destinations.size() == 2 && chunk.destinations[0].bBlocked != chunk.destinations[1].bBlocked) {
            mixed = true;
            EXPECT_EQ(chunk.nLength, member.size());
        }
        if (chunk.nLength == 8 && !chunk.destinations[0].bBlocked)
            ++headerChunks;
    }
    EXPECT_TRUE(mixed);
    EXPECT_EQ(headerChunks, 2u);  // the first block header travels with the cabinet's tables
    EXPECT_EQ(tables->nDataLength, cab.size());  // the loose copy adds nothing
}

TEST_F(PackCommand, StubIsCutAndPictureStreamAndPatchFieldsFollowIt)
{
    WriteSource("setup.exe", Pattern(3000, 9));
    const SPackage package = PackOk({"--picture", S(m_scratch / "picture.bmp"), "--setup", "setup", "--build-id", "B1"});
    const CPatchBlock block = package.Block();
    EXPECT_EQ(block.BuildId(), "B1");
    EXPECT_EQ(block.SetupName(), "setup");
    EXPECT_EQ(block.PictureOffset(), TestStub::kRawEnd);
    EXPECT_EQ(block.StreamOffset(), TestStub::kRawEnd + Bitmap().size());
    const auto bitmap = Bitmap();
    EXPECT_TRUE(std::equal(bitmap.begin(), bitmap.end(), package.bytes.begin() + TestStub::kRawEnd));
    EXPECT_EQ(package.bytes.size() % 8, 0u);
    const auto container = package.Container();
    EXPECT_EQ(block.RequiredBytes(), container.size() + 3000);
    const uint8_t* header = package.bytes.data() + block.StreamOffset();
    EXPECT_EQ(header[0], 0 * 9 + 0 + 2 * 45);  // lc 0, lp 0, pb 2 by default
}

TEST_F(PackCommand, Lc8StreamsDecode)
{
    WriteSource("text.txt", std::vector<uint8_t>(20000, 'x'));
    const SPackage package = PackOk({"--lc", "8", "--lp", "0", "--pb", "2", "--dict", "1m"});
    const uint8_t* header = package.bytes.data() + package.Block().StreamOffset();
    EXPECT_EQ(header[0], 0x62);
    const auto files = Assemble(package.Container());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], std::vector<uint8_t>(20000, 'x'));
}

TEST_F(PackCommand, SameInputsGiveTheSameBytesAndTheBuildIdOnlyTouchesTheBlock)
{
    WriteSource("a.bin", Pattern(70000, 11));
    WriteSource("b/c.bin", Pattern(300, 12));
    const auto first = PackOk().bytes;
    const auto second = PackOk().bytes;
    EXPECT_EQ(first, second);
    const std::string id = SPackage{first}.Block().BuildId();
    EXPECT_EQ(id.size(), 16u);
    const auto other = PackOk({"--build-id", "20191102234416024"}).bytes;
    ASSERT_EQ(other.size(), first.size());
    size_t differing = 0;
    for (size_t i = 0; i < first.size(); ++i)
        differing += first[i] != other[i];
    EXPECT_GT(differing, 0u);
    EXPECT_LE(differing, 17u);
}

// The second thread hands the encoder its matches in blocks: whatever the timing,
// every run writes the same bytes.
TEST_F(PackCommand, TwoEncoderThreadsWriteTheSameBytesEveryRun)
{
    WriteSource("words.txt", Wordy(900000, 21));
    WriteSource("noise.bin", Pattern(150000, 22));
    WriteSource("copy/words.txt", Wordy(400000, 21));
    const auto first = PackOk({"--threads", "2"});
    const auto second = PackOk({"--threads", "2"});
    EXPECT_TRUE(first.bytes == second.bytes);
    const auto files = Assemble(second.Container());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_NE(std::find(files.begin(), files.end(), Wordy(900000, 21)), files.end());
}

TEST_F(PackCommand, StreamIsNoLargerThanTheEarlierEncoderMade)
{
    WriteSource("words.txt", Wordy(900000, 21));
    WriteSource("noise.bin", Pattern(150000, 22));
    const SPackage package = PackOk({"--lc", "8", "--dict", "1m"});
    const size_t stream = package.bytes.size() - package.Block().StreamOffset();
    EXPECT_LE(stream, kEarlierStreamSize);
}

TEST_F(PackCommand, ListShowsNamesSizesAndSharedChunks)
{
    WriteSource("one.bin", Pattern(4000, 1));
    WriteSource("two.bin", Pattern(4000, 1));
    PackOk();
    const SRun run = RunTool({"list", S(Out())});
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    const std::string& text = run.strOut;
    EXPECT_NE(text.find("2 files, 8000 bytes"), std::string::npos) << text;
    EXPECT_NE(text.find("4000       1       1  one.bin"), std::string::npos) << text;
    EXPECT_NE(text.find("two.bin @0"), std::string::npos) << text;
}

TEST_F(PackCommand, BadInputsFailWithAMessageAndLeaveNoOutput)
{
    WriteSource("a.txt", {'a'});
    ExpectRefused({S(Source()), "--stub", S(m_scratch / "missing.exe"), "--out", S(Out())}, "stub");
    WriteFile(m_scratch / "noblock.exe", TestStub::Make({false, 0, false, false}));
    ExpectRefused({S(Source()), "--stub", S(m_scratch / "noblock.exe"), "--out", S(Out())}, "no patch block");
    WriteFile(m_scratch / "plain.txt", Pattern(100, 1));
    ExpectRefused({S(Source()), "--stub", S(m_scratch / "plain.txt"), "--out", S(Out())}, "not a Windows executable");
    auto withPicture = Basic();
    withPicture.insert(withPicture.end(), {"--picture", S(m_scratch / "plain.txt")});
    ExpectRefused(withPicture, "not a Windows bitmap");
    ExpectRefused({S(m_scratch / "nowhere"), "--stub", S(Stub()), "--out", S(Out())}, "nowhere");
    ExpectRefused({S(Source()), "--stub", S(Stub()), "--out", S(Source() / "Setup.exe")}, "inside the source folder");
    auto longSetup = Basic();
    longSetup.insert(longSetup.end(), {"--setup", "much-too-long-name"});
    ExpectRefused(longSetup, "--setup");
    auto badDict = Basic();
    badDict.insert(badDict.end(), {"--dict", "1k"});
    ExpectRefused(badDict, "--dict");
}

TEST_F(PackCommand, NamesWindowsCannotHoldAreRefused)
{
    WriteSource("\xE6\x97\xA5.txt", {'a'});
    ExpectRefused(Basic(), "code page 1252");
    fs::remove_all(Source());
    WriteSource("Readme.txt", {'a'});
    WriteSource("README.TXT", {'b'});
    ExpectRefused(Basic(), "differ only in case");
    fs::remove_all(Source());
    WriteSource("back\\slash", {'a'});
    ExpectRefused(Basic(), "backslash");
    // The installer's temporary data file, in any letter case.
    fs::remove_all(Source());
    WriteSource("TEMP.htar", {'a'});
    ExpectRefused(Basic(), "\"temp.htar\" is taken by the installer's temporary data file");
}

TEST_F(PackCommand, NonAsciiNamesDrawAWarningAndTravelInCodePage1252)
{
    WriteSource("caf\xC3\xA9.txt", {'a'});
    const SRun run = Pack(Basic());
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_NE(run.strErr.find("warning"), std::string::npos);
    const auto container = SPackage{ReadFile(Out())}.Container();
    std::string error;
    const auto tables = CContainerTables::Parse(container.data(), container.size(), error);
    ASSERT_TRUE(tables);
    EXPECT_EQ(tables->names.at(0), "caf\xE9.txt");
}

TEST_F(PackCommand, FilesOf4GiBOrMoreAreRefused)
{
    fs::create_directories(Source());
    {
        std::ofstream create(Source() / "huge.bin");
    }
    std::error_code ec;
    fs::resize_file(Source() / "huge.bin", 0x100000000ull, ec);  // sparse
    if (ec)
        GTEST_SKIP() << "no sparse file: " << ec.message();
    ExpectRefused(Basic(), "4 GiB");
}

TEST_F(PackCommand, EveryOptionIsAcceptedAndTakesEffect)
{
    WriteSource("setup.exe", Pattern(3000, 9));
    WriteSource("text.txt", std::vector<uint8_t>(20000, 'y'));
    const SPackage package = PackOk({"--picture", S(m_scratch / "picture.bmp"), "--setup", "setup", "--build-id", "ID7",
                                     "--lc", "3", "--lp", "1", "--pb", "1", "--dict", "1MiB", "--fb", "32", "--chunk",
                                     "4k", "--no-cabinets", "--path-order"});
    const CPatchBlock block = package.Block();
    EXPECT_EQ(block.BuildId(), "ID7");
    EXPECT_EQ(block.PictureOffset(), TestStub::kRawEnd);
    const uint8_t* header = package.bytes.data() + block.StreamOffset();
    EXPECT_EQ(header[0], (1 * 5 + 1) * 9 + 3);
    // The dictionary is cut to the container's size; the option still had to be read.
    EXPECT_LE(LittleEndian::ReadU32(header + 1), 1u << 20);
    const auto files = Assemble(package.Container());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], std::vector<uint8_t>(20000, 'y'));
    // Sizes take the suffixes k, m, g, kib, mib, gib in any case, or plain bytes.
    for (const char* size : {"1048576", "1024k", "1m", "1M", "1MiB", "1mib"}) {
        const SRun run = Pack({S(Source()), "--stub", S(Stub()), "--out", S(Out()), "--dict", size});
        EXPECT_EQ(run.nExit, 0) << size << ": " << run.strErr;
    }
}

TEST_F(PackCommand, TestFindsAGoodPackageIntactAndWritesNothing)
{
    WriteSource("a.bin", Pattern(70000, 11));
    WriteSource("b/c.bin", Pattern(300, 12));
    PackOk();
    const auto before = m_scratch.ListFiles();
    const fs::path workingFolder = fs::current_path();
    const SRun run = RunTool({"test", S(Out())});
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_EQ(run.strOut, "tested " + S(Out()) + ": 2 files, 70300 bytes, no damage found\n");
    EXPECT_EQ(m_scratch.ListFiles(), before);
    EXPECT_FALSE(fs::exists(workingFolder / "temp.htar"));
    EXPECT_FALSE(fs::exists(workingFolder / "a.bin"));
}

TEST_F(PackCommand, TestFailsOnTruncatedAndFlippedPackagesWithTheMessagesOfExtract)
{
    WriteSource("a.bin", Pattern(150000, 21));
    WriteSource("numbers.txt", [] {
        std::string text;
        for (int i = 0; i < 20000; ++i)
            text += std::to_string(i) + "\n";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    const SPackage package = PackOk();
    const uint32_t stream = package.Block().StreamOffset();
    auto truncated = package.bytes;
    truncated.resize(stream + (truncated.size() - stream) / 2);
    auto flipped = package.bytes;
    flipped[stream + 13 + (flipped.size() - stream) * 3 / 4] ^= 0x10;

    const auto afterFirstLine = [](const std::string& text) { return text.substr(text.find('\n') + 1); };
    for (const auto& [name, bytes] : {std::pair{"truncated.exe", truncated}, std::pair{"flipped.exe", flipped}}) {
        const fs::path damaged = m_scratch / name;
        WriteFile(damaged, bytes);
        const SRun test = RunTool({"test", damaged.string()});
        EXPECT_EQ(test.nExit, 1) << name;
        EXPECT_EQ(test.strOut, "");
        EXPECT_TRUE(test.strErr.starts_with("ovrapack: testing " + damaged.string() + " failed\n")) << test.strErr;
        const SRun extract = RunTool({"extract", damaged.string(), (m_scratch / "out").string()});
        EXPECT_EQ(extract.nExit, 1) << name;
        EXPECT_EQ(afterFirstLine(test.strErr), afterFirstLine(extract.strErr));
        EXPECT_NE(test.strErr.find("ovrapack: The installer file is damaged or incomplete"), std::string::npos)
            << test.strErr;
    }
}

// The rule a build tool reads: the installer, then the stub, picture, every folder
// (whose time moves when a file is added or removed) and every file, each path in
// make's quoting.
TEST_F(PackCommand, DepfileNamesEveryInputAndFolderInMakeQuoting)
{
    WriteSource("a.bin", Pattern(100, 1));
    WriteSource("odd dir/cost $5 #1.txt", Pattern(10, 2));
    fs::create_directories(Source() / "empty");
    const fs::path depfile = m_scratch / "Setup.exe.d";
    PackOk({"--picture", S(m_scratch / "picture.bmp"), "--depfile", S(depfile)});
    std::ifstream in(depfile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string root = fs::absolute(Stub().parent_path()).lexically_normal().generic_string();
    const std::string src = root + "/src";
    const std::string expected = root + "/Setup.exe: \\\n  " + root + "/stub.exe \\\n  " + root +
                                 "/picture.bmp \\\n  " + src;
    ASSERT_EQ(text.substr(0, expected.size()), expected) << text;
    const auto listed = [&text](const std::string& path) {
        return text.find("  " + path + " \\\n") != std::string::npos || text.ends_with("  " + path + "\n");
    };
    for (const std::string& path : {src + "/empty", src + "/odd\\ dir", src + "/a.bin",
                                    src + "/odd\\ dir/cost\\ $$5\\ \\#1.txt"})
        EXPECT_TRUE(listed(path)) << path << " missing from\n" << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(PackCommand, NoDepfileWhenPackingFails)
{
    WriteSource("a.bin", Pattern(100, 1));
    const fs::path depfile = m_scratch / "Setup.exe.d";
    ExpectRefused({S(Source()), "--stub", S(m_scratch / "missing.exe"), "--out", S(Out()), "--depfile", S(depfile)},
                  "stub");
    EXPECT_FALSE(fs::exists(depfile));
}
