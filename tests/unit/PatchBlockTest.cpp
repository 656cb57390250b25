#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "payload/PatchBlock.h"
#include "payload/PatchBlockData.h"
#include "payload/PatchBlockEditor.h"

namespace {

std::vector<uint8_t> CompiledBlock()
{
    std::vector<uint8_t> bytes(PatchLayout::kSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = g_sfxPatchBlock[i];
    return bytes;
}

// An "executable": the block between unrelated bytes, at an odd offset.
std::vector<uint8_t> ImageWithBlockAt(size_t offset)
{
    std::vector<uint8_t> image(offset, 0xCC);
    const std::vector<uint8_t> block = CompiledBlock();
    image.insert(image.end(), block.begin(), block.end());
    image.insert(image.end(), 77, 0xAB);
    return image;
}

TEST(PatchBlock, CompiledBlockHasTheLayoutByteForByte)
{
    const std::vector<uint8_t> block = CompiledBlock();
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(0, std::memcmp(block.data() + PatchLayout::kMarkerOffsets[i], PatchLayout::kMarkers[i], 10));
    // Every byte that is neither marker nor value is a space.
    const std::pair<size_t, size_t> fillers[] = {{28, 4}, {46, 2}, {69, 11}, {98, 14}, {126, 130}};
    for (const auto& [offset, length] : fillers)
        for (size_t i = 0; i < length; ++i)
            EXPECT_EQ(block[offset + i], 0x20) << "offset " << offset + i;
    EXPECT_EQ(block[PatchLayout::kBuildIdOffset + 17], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data() + 58), 11), std::string("setup\0\0\0\0\0\0", 11));
}

TEST(PatchBlock, CompiledValues)
{
    const CPatchBlock block = CPatchBlock::Current();
    EXPECT_EQ(block.BuildId(), "00000000000000000");
    EXPECT_EQ(block.StreamOffset(), 0u);
    EXPECT_EQ(block.SetupName(), "setup");
    EXPECT_EQ(block.RequiredBytes(), 0u);
    EXPECT_EQ(block.PictureOffset(), 0u);
}

TEST(PatchBlock, ReadsLittleEndianValuesAtUnalignedOffsets)
{
    std::vector<uint8_t> block = CompiledBlock();
    const uint8_t stream[] = {0x98, 0x38, 0x3D, 0x00};
    const uint8_t required[] = {0x99, 0x4C, 0x91, 0x42, 0x00, 0x00, 0x00, 0x80};
    const uint8_t picture[] = {0x00, 0xF0, 0x35, 0x00};
    std::memcpy(block.data() + 42, stream, 4);
    std::memcpy(block.data() + 90, required, 8);
    std::memcpy(block.data() + 122, picture, 4);
    const CPatchBlock view(block.data());
    EXPECT_EQ(view.StreamOffset(), 0x003D3898u);
    EXPECT_EQ(view.RequiredBytes(), 0x8000000042914C99ull);
    EXPECT_EQ(view.PictureOffset(), 0x0035F000u);
}

TEST(PatchBlock, TextSlotWithoutTerminatorIsCutAtItsEnd)
{
    std::vector<uint8_t> block = CompiledBlock();
    std::memset(block.data() + PatchLayout::kSetupNameOffset, 'x', PatchLayout::kSetupNameSlot);
    EXPECT_EQ(CPatchBlock(block.data()).SetupName(), std::string(11, 'x'));
}

TEST(PatchBlockEditor, FindsTheOneBlockAndPatchesEveryField)
{
    std::vector<uint8_t> image = ImageWithBlockAt(1001);
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    ASSERT_TRUE(editor) << error;
    EXPECT_EQ(editor->Offset(), 1001u);
    ASSERT_TRUE(editor->SetBuildId("20191102234416024", error)) << error;
    ASSERT_TRUE(editor->SetSetupName("setup.exe", error)) << error;
    editor->SetStreamOffset(4012184);
    editor->SetRequiredBytes(1116818585);
    editor->SetPictureOffset(3534848);
    const CPatchBlock view = editor->View();
    EXPECT_EQ(view.BuildId(), "20191102234416024");
    EXPECT_EQ(view.SetupName(), "setup.exe");
    EXPECT_EQ(view.StreamOffset(), 4012184u);
    EXPECT_EQ(view.RequiredBytes(), 1116818585u);
    EXPECT_EQ(view.PictureOffset(), 3534848u);
    // Markers and everything outside the block are untouched.
    EXPECT_EQ(CPatchBlockEditor::FindBlocks(image).size(), 1u);
    EXPECT_EQ(image[1000], 0xCC);
    EXPECT_EQ(image[1001 + 256], 0xAB);
}

TEST(PatchBlockEditor, ShorterTextClearsTheRestOfTheSlot)
{
    std::vector<uint8_t> image = ImageWithBlockAt(0);
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(editor->SetSetupName("abcdefghij", error));
    ASSERT_TRUE(editor->SetSetupName("ab", error));
    for (size_t i = 2; i < PatchLayout::kSetupNameSlot; ++i)
        EXPECT_EQ(image[PatchLayout::kSetupNameOffset + i], 0);
    ASSERT_TRUE(editor->SetSetupName("", error));
    EXPECT_EQ(editor->View().SetupName(), "");
}

TEST(PatchBlockEditor, RefusesTextsThatDoNotFitTheirSlot)
{
    std::vector<uint8_t> image = ImageWithBlockAt(0);
    const std::vector<uint8_t> before = image;
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->SetBuildId(std::string(18, '1'), error));
    EXPECT_NE(error.find("too long"), std::string::npos);
    EXPECT_FALSE(editor->SetSetupName("setup12345x", error));
    EXPECT_FALSE(editor->SetSetupName(std::string("a\0b", 3), error));
    EXPECT_EQ(image, before);
}

TEST(PatchBlockEditor, RefusesImagesWithoutExactlyOneBlock)
{
    std::string error;
    std::vector<uint8_t> none(4096, 0x20);
    EXPECT_FALSE(CPatchBlockEditor::Locate(none, error));
    EXPECT_NE(error.find("no patch block"), std::string::npos);

    std::vector<uint8_t> two = ImageWithBlockAt(3);
    const std::vector<uint8_t> block = CompiledBlock();
    two.insert(two.end(), block.begin(), block.end());
    EXPECT_FALSE(CPatchBlockEditor::Locate(two, error));
    EXPECT_NE(error.find("found 2"), std::string::npos);

    std::vector<uint8_t> tiny(10, 0);
    EXPECT_FALSE(CPatchBlockEditor::Locate(tiny, error));
}

TEST(PatchBlockEditor, LoneMarkersAreNoBlock)
{
    std::vector<uint8_t> image(1000, 0);
    std::memcpy(image.data() + 100, "SFXFIELD1:", 10);
    std::memcpy(image.data() + 132, "SFXFIELD2:", 10);
    EXPECT_TRUE(CPatchBlockEditor::FindBlocks(image).empty());
}

TEST(PatchBlockEditor, BlockAtTheVeryEndIsFound)
{
    std::vector<uint8_t> image(5, 0);
    const std::vector<uint8_t> block = CompiledBlock();
    image.insert(image.end(), block.begin(), block.end());
    EXPECT_EQ(CPatchBlockEditor::FindBlocks(image), std::vector<size_t>{5});
}

} // namespace
