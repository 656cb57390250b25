#include <gtest/gtest.h>

#include <sstream>

#include "PackTestKit.h"
#include "ResourceStub.h"
#include "ScratchFolder.h"
#include "TestIcon.h"
#include "TestStub.h"
#include "payload/ContainerLayout.h"
#include "payload/PatchBlockEditor.h"
#include "tools/ovrapack/cli/Commands.h"
#include "tools/ovrapack/pe/PeImage.h"
#include "tools/ovrapack/pe/ResourceSection.h"

namespace fs = std::filesystem;
using namespace PackTestKit;

namespace {

using SKey = CResourceTree::SKey;

class PackBranding : public ::testing::Test
{
protected:
    PackBranding() : m_scratch("pack-branding")
    {
        CResourceTree tree;
        tree.Put({SKey::Id(3), SKey::Id(1), 0x409, 0, std::vector<uint8_t>(40, 1)});
        tree.Put({SKey::Id(14), SKey::Id(131), 0x409, 0, {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, 1, 0}});
        WriteFile(Stub(), ResourceStub::Make(tree.Serialize(ResourceStub::kResourceRva),
                                             ResourceStub::ETrailer::Relocations));
        WriteFile(Icon(), TestIcon::Make({{16, 32, false, 1}, {48, 8, false, 2}}));
        std::vector<uint8_t> bmp = Pattern(70, 3);
        bmp[0] = 'B';
        bmp[1] = 'M';
        WriteFile(m_scratch / "picture.bmp", bmp);
        WriteFile(Source() / "setup.exe", Pattern(5000, 4));
    }

    fs::path Stub() const { return m_scratch / "stub.exe"; }
    fs::path Icon() const { return m_scratch / "product.ico"; }
    fs::path Source() const { return m_scratch / "src"; }
    fs::path Out() const { return m_scratch / "Setup.exe"; }

    int Pack(std::vector<std::string> extra, std::string& err, const fs::path& stub = {})
    {
        std::vector<std::string> args = {"pack", Source().string(), "--stub", (stub.empty() ? Stub() : stub).string(),
                                         "--out",           Out().string(), "--quiet"};
        args.insert(args.end(), extra.begin(), extra.end());
        const PackTestKit::SToolRun run = PackTestKit::RunTool(args);
        err = run.strErr;
        return run.nExit;
    }

    void ExpectRefused(const std::vector<std::string>& extra, const std::string& message, const fs::path& stub = {})
    {
        std::string err;
        EXPECT_EQ(Pack(extra, err, stub), ExitCodes::kFailure);
        EXPECT_NE(err.find(message), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(Out()));
        EXPECT_FALSE(fs::exists(Out().string() + ".partial"));
    }

    CScratchFolder m_scratch;
};

} // namespace

TEST_F(PackBranding, BrandedStubKeepsTheLayoutRulesAndItsPayloadDecodes)
{
    std::string err;
    ASSERT_EQ(Pack({"--picture", (m_scratch / "picture.bmp").string(), "--icon", Icon().string(), "--version-info",
                    "ProductName=Ovra Viewer", "--version-info", "FileVersion=1.2.3.4"},
                   err),
              0)
        << err;
    const auto bytes = ReadFile(Out());
    std::string error;
    const auto offsets = CPatchBlockEditor::FindBlocks(bytes);
    ASSERT_EQ(offsets, std::vector<size_t>{TestStub::kPatchBlockOffset});
    const CPatchBlock block(bytes.data() + offsets[0]);

    // The picture starts where the grown image's last section (the moved relocations) ends.
    const auto image = CPeImage::Parse(std::vector<uint8_t>(bytes.begin(), bytes.begin() + block.PictureOffset()), error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->RawEnd(), block.PictureOffset());
    EXPECT_GT(block.PictureOffset(), ResourceStub::kResourceRaw + 0x400);
    EXPECT_EQ(block.StreamOffset(), block.PictureOffset() + 70);
    EXPECT_EQ(bytes[block.PictureOffset()], 'B');
    const auto files = Assemble(DecodeStream(bytes, block.StreamOffset()));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], Pattern(5000, 4));

    const auto section = CResourceSection::Locate(bytes, error);
    ASSERT_TRUE(section) << error;
    EXPECT_NE(section->Tree().Find(SKey::Id(16), SKey::Id(1), 0x409), nullptr);
    EXPECT_EQ(section->Tree().Find(SKey::Id(3), SKey::Id(2), 0x409)->data, TestIcon::Image({48, 8, false, 2}));
}

TEST_F(PackBranding, BrandingTakesPartInTheDerivedBuildId)
{
    std::string err;
    ASSERT_EQ(Pack({}, err), 0) << err;
    const auto plain = ReadFile(Out());
    ASSERT_EQ(Pack({"--version-info", "CompanyName=Ovra"}, err), 0) << err;
    const auto branded = ReadFile(Out());
    const size_t at = TestStub::kPatchBlockOffset;
    EXPECT_NE(CPatchBlock(plain.data() + at).BuildId(), CPatchBlock(branded.data() + at).BuildId());
}

// The checksum covers the whole file, payload included; a stub without one keeps none.
TEST_F(PackBranding, ChecksumIsTakenOverTheFinishedFileWhenTheStubHasOne)
{
    constexpr size_t kChecksumField = 0x58 + 64;
    std::string err;
    ASSERT_EQ(Pack({"--icon", Icon().string()}, err), 0) << err;
    EXPECT_EQ(LittleEndian::ReadU32(&ReadFile(Out())[kChecksumField]), 0u);
    auto stub = ReadFile(Stub());
    LittleEndian::WriteU32(&stub[kChecksumField], 0x1234);
    WriteFile(Stub(), stub);
    for (const bool branded : {false, true}) {
        ASSERT_EQ(Pack(branded ? std::vector<std::string>{"--icon", Icon().string()} : std::vector<std::string>{}, err),
                  0)
            << err;
        const auto bytes = ReadFile(Out());
        EXPECT_EQ(LittleEndian::ReadU32(&bytes[kChecksumField]), PeChecksum(bytes, kChecksumField)) << branded;
    }
}

TEST_F(PackBranding, BadIconKeyOrValueFailsAndLeavesNoOutput)
{
    WriteFile(m_scratch / "not-an-icon.ico", Pattern(300, 5));
    ExpectRefused({"--icon", (m_scratch / "not-an-icon.ico").string()}, "not-an-icon.ico\": not an icon file");
    ExpectRefused({"--icon", (m_scratch / "missing.ico").string()}, "--icon: cannot open");
    ExpectRefused({"--version-info", "Comments=hello"}, "--version-info: \"Comments=hello\" is not KEY=VALUE");
    ExpectRefused({"--version-info", "FileVersion=1.2.3.70000"}, "is no version");
    ExpectRefused({"--version-info", "ProductName=" + std::string(40000, 'x')}, "ProductName: the value is too long");
    // A stub without resources cannot be branded.
    WriteFile(m_scratch / "bare.exe", TestStub::Make({}));
    ExpectRefused({"--icon", Icon().string()}, "stub: the executable has no resources", m_scratch / "bare.exe");
}
