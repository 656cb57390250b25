#include <gtest/gtest.h>

#include <algorithm>

#include "PackTestKit.h"
#include "ScratchFolder.h"
#include "TestStub.h"
#include "payload/ContainerLayout.h"

namespace fs = std::filesystem;
using namespace PackTestKit;

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

size_t Lines(const std::string& text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(OvrapackCommandLine, HelpOfTheToolAndOfEveryCommandGoesToStandardOutput)
{
    const std::vector<std::vector<std::string>> asks = {
        {"--help"}, {"-h"}, {"pack", "--help"}, {"list", "-h"}, {"test", "--help"},
        {"extract", "--help"}, {"info", "--help"}, {"patch", "-h"}, {"pack", "src", "--lc", "99", "--help"}};
    for (const auto& args : asks) {
        const SToolRun run = RunTool(args);
        EXPECT_EQ(run.nExit, 0) << args[0];
        EXPECT_EQ(run.strErr, "") << args[0];
        EXPECT_TRUE(Contains(run.strOut, "Usage: ovrapack")) << run.strOut;
        EXPECT_TRUE(run.strOut.ends_with("\n")) << args[0];
    }
    const std::string top = RunTool({"--help"}).strOut;
    for (const char* command : {"pack", "list", "test", "extract", "info", "patch"})
        EXPECT_TRUE(Contains(top, std::string("\n  ") + command + " ")) << command << "\n" << top;
    const std::string pack = RunTool({"pack", "--help"}).strOut;
    for (const char* option : {"--stub", "--out", "--setup", "--picture", "--build-id", "--lc", "--lp", "--pb",
                               "--dict", "--fb", "--chunk", "--no-cabinets", "--path-order", "--quiet"})
        EXPECT_TRUE(Contains(pack, option)) << option;
    const SToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.nExit, 0);
    EXPECT_TRUE(version.strOut.starts_with("ovrapack ")) << version.strOut;
    EXPECT_EQ(Lines(version.strOut), 1u);
}

TEST(OvrapackCommandLine, UsageErrorsAreOneLineWithAHintAndExitCode2)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "a command is needed"},
        {{"frob"}, "unknown command \"frob\""},
        {{"--frob"}, "--frob"},
        {{"pack"}, "SRC_DIR is required"},
        {{"pack", "src"}, "--out is required"},
        {{"pack", "src", "--out", "x.exe", "--lc", "9"}, "--lc: \"9\" is not a number from 0 to 8"},
        {{"pack", "src", "--out", "x.exe", "--dict", "1k"}, "--dict"},
        {{"pack", "src", "--out", "x.exe", "--chunk", "100"}, "--chunk"},
        {{"pack", "src", "--out", "x.exe", "--fb", "4"}, "--fb"},
        {{"pack", "src", "--out"}, "--out"},
        {{"pack", "src", "other", "--out", "x.exe"}, "other"},
        {{"list", "a.exe", "--colour"}, "--colour"},
        {{"patch", "a.exe", "--stream-offset", "4294967296"}, "--stream-offset"},
        {{"patch", "a.exe", "--required-bytes", "-1"}, "--required-bytes"},
        {{"extract", "a.exe"}, "DIR is required"},
        {{"test"}, "PACKAGE is required"}};
    for (const auto& [args, problem] : cases) {
        const SToolRun run = RunTool(args);
        const std::string shown = args.empty() ? "(nothing)" : args.back();
        EXPECT_EQ(run.nExit, 2) << shown;
        EXPECT_EQ(run.strOut, "") << shown;
        EXPECT_EQ(Lines(run.strErr), 1u) << run.strErr;
        EXPECT_TRUE(run.strErr.starts_with("ovrapack: ")) << run.strErr;
        EXPECT_TRUE(Contains(run.strErr, problem)) << run.strErr;
        const std::string help = args.empty() || args[0].starts_with("-") || args[0] == "frob"
                                     ? "(see 'ovrapack --help')"
                                     : "(see 'ovrapack " + args[0] + " --help')";
        EXPECT_TRUE(Contains(run.strErr, help)) << run.strErr;
    }
}

class StubDiscovery : public ::testing::Test
{
protected:
    StubDiscovery()
    {
        WriteFile(m_scratch / "src/setup.exe", Pattern(500, 1));
        m_stub = TestStub::Make({});
    }

    SToolRun Pack(const CStubLocator& stubs, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"pack", (m_scratch / "src").string(), "--out", Out().string(), "--quiet"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool(args, stubs);
    }

    fs::path Out() const { return m_scratch / "Setup.exe"; }

    // The installer was made from this stub: the same kind of PE image (PE32 or PE32+).
    bool PackedWith(const std::vector<uint8_t>& stub) const
    {
        const auto bytes = ReadFile(Out());
        const auto magic = [](const std::vector<uint8_t>& image) {
            const uint32_t pe = LittleEndian::ReadU32(image.data() + 0x3C);
            return LittleEndian::ReadU16(image.data() + pe + 24);
        };
        return bytes.size() > TestStub::kRawEnd && magic(bytes) == magic(stub);
    }

    CScratchFolder m_scratch{"stub-discovery"};
    std::vector<uint8_t> m_stub;
};

TEST_F(StubDiscovery, InstalledToolUsesTheStubUnderItsPrefixAndSaysSo)
{
    const fs::path prefix = m_scratch / "prefix";
    WriteFile(prefix / "share/ovrasfx/OvraSFX.exe", m_stub);
    WriteFile(prefix / "bin/ovrapack", {'#'});
    const SToolRun run = Pack(CStubLocator(prefix / "bin/ovrapack", {}, {}));
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_TRUE(Contains(run.strOut, "stub " + (prefix / "share/ovrasfx/OvraSFX.exe").string() + "\n")) << run.strOut;
    EXPECT_TRUE(PackedWith(m_stub));
    // The last line: where the installer went and its size.
    const std::string last = "installer " + Out().string() + ", " + std::to_string(fs::file_size(Out())) + " bytes\n";
    EXPECT_TRUE(run.strOut.ends_with(last)) << run.strOut;
}

TEST_F(StubDiscovery, ToolInItsBuildFolderUsesTheBuildTreeStubAndACopyElsewhereDoesNot)
{
    const fs::path build = m_scratch / "build/release/tools/ovrapack";
    const fs::path treeStub = m_scratch / "build/mingw/app/OvraSFX.exe";
    WriteFile(build / "ovrapack", {'#'});
    WriteFile(treeStub, m_stub);
    const SToolRun run = Pack(CStubLocator(build / "ovrapack", build, treeStub));
    ASSERT_EQ(run.nExit, 0) << run.strErr;
    EXPECT_TRUE(Contains(run.strOut, "stub " + treeStub.string())) << run.strOut;
    EXPECT_TRUE(PackedWith(m_stub));

    fs::remove(Out());
    const fs::path copy = m_scratch / "elsewhere/bin/ovrapack";
    WriteFile(copy, {'#'});
    const SToolRun elsewhere = Pack(CStubLocator(copy, build, treeStub));
    EXPECT_EQ(elsewhere.nExit, 1);
    EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(StubDiscovery, NoStubFoundNamesEveryPlaceLookedAtAndStubOptionOverrides)
{
    const fs::path tool = m_scratch / "prefix/bin/ovrapack";
    WriteFile(tool, {'#'});
    const SToolRun run = Pack(CStubLocator(tool, {}, {}));
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(Lines(run.strErr), 1u) << run.strErr;
    EXPECT_TRUE(Contains(run.strErr, (m_scratch / "prefix/share/ovrasfx/OvraSFX.exe").string())) << run.strErr;
    EXPECT_TRUE(Contains(run.strErr, (m_scratch / "prefix/bin/OvraSFX.exe").string())) << run.strErr;

    // An installed stub is there, but --stub names another.
    WriteFile(m_scratch / "prefix/share/ovrasfx/OvraSFX.exe", m_stub);
    TestStub::SShape other;
    other.bPe32Plus = true;
    const auto otherStub = TestStub::Make(other);
    WriteFile(m_scratch / "other.exe", otherStub);
    const SToolRun chosen = Pack(CStubLocator(tool, {}, {}), {"--stub", (m_scratch / "other.exe").string()});
    ASSERT_EQ(chosen.nExit, 0) << chosen.strErr;
    EXPECT_FALSE(Contains(chosen.strOut, "stub "));
    EXPECT_TRUE(PackedWith(otherStub));
}
