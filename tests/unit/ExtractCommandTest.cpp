#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "ContainerBuilder.h"
#include "LzmaTestEncoder.h"
#include "ScratchFolder.h"
#include "payload/PatchBlockEditor.h"
#include "payload/PayloadParser.h"
#include "PackTestKit.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A stand-in stub: some bytes, a patch block pointing at the stream, then the stream.
std::vector<uint8_t> PackageImage(const std::vector<uint8_t>& stream, uint32_t streamOffset = 0)
{
    std::vector<uint8_t> image(4096, 'S');
    const size_t blockAt = 1000;
    std::fill(image.begin() + blockAt, image.begin() + blockAt + PatchLayout::kSize, ' ');
    for (size_t i = 0; i < 5; ++i)
        std::memcpy(image.data() + blockAt + PatchLayout::kMarkerOffsets[i], PatchLayout::kMarkers[i],
                    PatchLayout::kMarkerLength);
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    EXPECT_TRUE(editor) << error;
    EXPECT_TRUE(editor->SetBuildId("20240101000000000", error));
    editor->SetStreamOffset(streamOffset ? streamOffset : static_cast<uint32_t>(image.size()));
    image.insert(image.end(), stream.begin(), stream.end());
    image.insert(image.end(), 5, 0);
    return image;
}

class ExtractCommandTest : public testing::Test
{
protected:
    void TearDown() override { DestroyPayloadParser(); }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "extract");
        const PackTestKit::SToolRun run = PackTestKit::RunTool(args);
        m_out.str(run.strOut);
        m_err.str(run.strErr);
        return run.nExit;
    }

    CScratchFolder m_folder{"extract-cmd"};
    std::filesystem::path m_package = m_folder.Path() / "Setup.exe";
    std::filesystem::path m_target = m_folder.Path() / "out";
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace

TEST_F(ExtractCommandTest, ExtractsIntoTheFolderWithCodePage1252NamesAsUtf8)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("bonjour"), {{builder.AddName("docs\\caf\xE9 \x80.txt"), 0, 0}});
    builder.AddChunk(Bytes("MZ"), {{builder.AddName("setup.exe"), 0, 0}});
    WriteWholeFile(m_package, PackageImage(CompressForPayload(builder.Build())));
    ASSERT_EQ(Run({m_package.string(), m_target.string()}), 0) << m_err.str();
    EXPECT_EQ(ReadWholeFile(m_target / "docs" / u8"café €.txt"), Bytes("bonjour"));
    EXPECT_EQ(ReadWholeFile(m_target / "setup.exe"), Bytes("MZ"));
    EXPECT_FALSE(std::filesystem::exists(m_target / "temp.htar"));
}

TEST_F(ExtractCommandTest, FileWithoutPatchBlockIsRefused)
{
    WriteWholeFile(m_package, std::vector<uint8_t>(5000, 'x'));
    EXPECT_EQ(Run({m_package.string(), m_target.string()}), 1);
    EXPECT_NE(m_err.str().find("no patch block found"), std::string::npos) << m_err.str();
}

TEST_F(ExtractCommandTest, StubWithoutPayloadIsRefused)
{
    WriteWholeFile(m_package, PackageImage({}, 1u << 30));
    EXPECT_EQ(Run({m_package.string(), m_target.string()}), 1);
    EXPECT_NE(m_err.str().find("beyond the end of the file"), std::string::npos) << m_err.str();
}

TEST_F(ExtractCommandTest, DamagedPackageFailsWithThePipelineTextAndWritesNoFiles)
{
    CContainerBuilder builder;
    builder.AddChunk(Bytes("x"), {{builder.AddName("C:\\evil.dll"), 0, 0}});
    WriteWholeFile(m_package, PackageImage(CompressForPayload(builder.Build())));
    EXPECT_EQ(Run({m_package.string(), m_target.string()}), 1);
    EXPECT_NE(m_err.str().find("ovrapack: Error: Data error\n"), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("\"C:\\evil.dll\""), std::string::npos) << m_err.str();
    EXPECT_TRUE(std::filesystem::is_empty(m_target));
}

TEST_F(ExtractCommandTest, WrongArgumentCountIsAUsageError)
{
    EXPECT_EQ(Run({m_package.string()}), 2);
    EXPECT_NE(m_err.str().find("DIR is required (see 'ovrapack extract --help')"), std::string::npos) << m_err.str();
}
