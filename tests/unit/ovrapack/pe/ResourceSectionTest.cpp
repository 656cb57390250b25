#include <gtest/gtest.h>

#include "ResourceStub.h"
#include "TestStub.h"
#include "payload/ContainerLayout.h"
#include "payload/PatchBlockEditor.h"
#include "tools/ovrapack/pe/PeImage.h"
#include "tools/ovrapack/pe/ResourceSection.h"

namespace {

using SKey = CResourceTree::SKey;
using ResourceStub::ETrailer;

CResourceTree TreeWith(size_t bulk)
{
    CResourceTree tree;
    tree.Put({SKey::Id(24), SKey::Id(1), 0x409, 0, std::vector<uint8_t>(40, 'm')});
    tree.Put({SKey::Id(10), SKey::Id(137), 0x409, 0, std::vector<uint8_t>(bulk, 'b')});
    return tree;
}

std::vector<uint8_t> Stub(size_t bulk, ETrailer trailer)
{
    return ResourceStub::Make(TreeWith(bulk).Serialize(ResourceStub::kResourceRva), trailer);
}

CPeImage Layout(const std::vector<uint8_t>& image)
{
    std::string error;
    auto layout = CPeImage::Parse(image, error);
    EXPECT_TRUE(layout) << error;
    return layout ? *layout : CPeImage();
}

bool Replace(std::vector<uint8_t>& image, const CResourceTree& tree, std::string& error)
{
    const auto section = CResourceSection::Locate(image, error);
    return section && section->Replace(image, tree, error);
}

std::vector<uint8_t> RelocationBytes(const std::vector<uint8_t>& image)
{
    const auto reloc = Layout(image).Sections().at(3);
    return std::vector<uint8_t>(image.begin() + reloc.nRawPointer,
                                image.begin() + reloc.nRawPointer + ResourceStub::kRelocationBlockSize);
}

} // namespace

TEST(ResourceSection, GrowingMovesTheRelocationsAndFixesTheHeaders)
{
    auto image = Stub(100, ETrailer::Relocations);
    const auto before = image;
    const auto relocations = RelocationBytes(image);
    const CResourceTree bigger = TreeWith(0x2345);
    std::string error;
    ASSERT_TRUE(Replace(image, bigger, error)) << error;

    const CPeImage layout = Layout(image);
    const auto& rsrc = layout.Sections()[2];
    const auto& reloc = layout.Sections()[3];
    const size_t content = bigger.Serialize(ResourceStub::kResourceRva).size();
    EXPECT_EQ(rsrc.nRva, ResourceStub::kResourceRva);
    EXPECT_EQ(rsrc.nVirtualSize, content);
    EXPECT_EQ(rsrc.nRawSize, (content + 0x1FF) / 0x200 * 0x200);
    EXPECT_EQ(reloc.nRva, 0x6000u);
    EXPECT_EQ(reloc.nRawPointer, ResourceStub::kResourceRaw + rsrc.nRawSize);
    EXPECT_EQ(RelocationBytes(image), relocations);
    EXPECT_EQ(layout.Directory(5).nRva, 0x6000u);
    EXPECT_EQ(layout.Directory(5).nSize, ResourceStub::kRelocationBlockSize);
    EXPECT_EQ(layout.Directory(2).nSize, content);
    EXPECT_EQ(LittleEndian::ReadU32(&image[ResourceStub::kSizeOfImage]), 0x7000u);

    const auto image2 = CPeImage::Parse(image, error);
    ASSERT_TRUE(image2);
    EXPECT_EQ(image2->RawEnd(), image.size());
    // Everything in front of the resources, the patch block included, is untouched
    // but for the headers.
    EXPECT_TRUE(std::equal(image.begin() + 0x200, image.begin() + ResourceStub::kResourceRaw, before.begin() + 0x200));
    EXPECT_EQ(CPatchBlockEditor::FindBlocks(image), std::vector<size_t>{TestStub::kPatchBlockOffset});

    const auto reread = CResourceSection::Locate(image, error);
    ASSERT_TRUE(reread) << error;
    EXPECT_EQ(reread->Tree().Find(SKey::Id(10), SKey::Id(137), 0x409)->data.size(), 0x2345u);
}

TEST(ResourceSection, ShrinkingMovesTheRelocationsBack)
{
    auto image = Stub(0x2345, ETrailer::Relocations);
    const auto relocations = RelocationBytes(image);
    std::string error;
    ASSERT_TRUE(Replace(image, TreeWith(10), error)) << error;
    const CPeImage layout = Layout(image);
    EXPECT_EQ(layout.Sections()[2].nRawSize, 0x200u);
    EXPECT_EQ(layout.Sections()[3].nRva, 0x4000u);
    EXPECT_EQ(layout.Sections()[3].nRawPointer, 0x800u);
    EXPECT_EQ(layout.Directory(5).nRva, 0x4000u);
    EXPECT_EQ(RelocationBytes(image), relocations);
    EXPECT_EQ(image.size(), 0xA00u);
    EXPECT_EQ(LittleEndian::ReadU32(&image[ResourceStub::kSizeOfImage]), 0x5000u);
}

// The MinGW linker leaves the resource section's raw size unaligned; the relocations
// behind it must still land on a file-alignment boundary.
TEST(ResourceSection, UnalignedRawSizeStillMovesTheRelocationsToABoundary)
{
    auto image = Stub(100, ETrailer::Relocations);
    const size_t rawSizeField = ResourceStub::kSectionTable + 2 * ResourceStub::kSectionHeaderSize + 16;
    LittleEndian::WriteU32(&image[rawSizeField], LittleEndian::ReadU32(&image[rawSizeField - 8]));
    const auto relocations = RelocationBytes(image);
    std::string error;
    ASSERT_TRUE(Replace(image, TreeWith(0x2345), error)) << error;
    const CPeImage layout = Layout(image);
    const auto& sections = layout.Sections();
    EXPECT_EQ(sections[2].nRawSize, 0x2600u);
    EXPECT_EQ(sections[3].nRawPointer, ResourceStub::kResourceRaw + 0x2600);
    EXPECT_EQ(RelocationBytes(image), relocations);
    EXPECT_EQ(image.size(), ResourceStub::kResourceRaw + 0x2600 + 0x200);
}

TEST(ResourceSection, LastSectionGrowsAndTheInitialisedSizeFollows)
{
    auto image = Stub(100, ETrailer::None);
    const uint32_t initialised = Layout(image).SizeOfInitialisedData();
    std::string error;
    ASSERT_TRUE(Replace(image, TreeWith(0x1000), error)) << error;
    const CPeImage layout = Layout(image);
    EXPECT_EQ(layout.Sections()[2].nRawSize, 0x1200u);
    EXPECT_EQ(layout.SizeOfInitialisedData(), initialised + 0x1000);
    EXPECT_EQ(image.size(), ResourceStub::kResourceRaw + 0x1200);
    EXPECT_EQ(LittleEndian::ReadU32(&image[ResourceStub::kSizeOfImage]), 0x5000u);
}

TEST(ResourceSection, RefusesToMoveASectionThatCodeAddresses)
{
    auto image = Stub(100, ETrailer::Data);
    const auto before = image;
    std::string error;
    EXPECT_FALSE(Replace(image, TreeWith(0x2345), error));
    EXPECT_EQ(error, "section .tls follows the resources and cannot be moved");
    EXPECT_EQ(image, before);
}

TEST(ResourceSection, RefusesImagesWithoutResourcesOrWithResourcesInsideAnotherSection)
{
    std::string error;
    EXPECT_FALSE(CResourceSection::Locate(TestStub::Make({}), error));
    EXPECT_EQ(error, "the executable has no resources");

    auto inside = Stub(100, ETrailer::None);
    LittleEndian::WriteU32(&inside[ResourceStub::kDirectoryTable + 16], ResourceStub::kResourceRva + 16);
    EXPECT_FALSE(CResourceSection::Locate(inside, error));
    EXPECT_EQ(error, "the executable's resources do not begin a section of their own");

    auto shared = Stub(100, ETrailer::None);
    LittleEndian::WriteU32(&shared[ResourceStub::kDirectoryTable + 8], ResourceStub::kResourceRva + 0x40);
    LittleEndian::WriteU32(&shared[ResourceStub::kDirectoryTable + 12], 20);
    EXPECT_FALSE(CResourceSection::Locate(shared, error));
    EXPECT_EQ(error, "the resource section .rsrc holds other data (directory 1)");
}
