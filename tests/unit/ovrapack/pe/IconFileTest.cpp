#include <gtest/gtest.h>

#include "TestIcon.h"
#include "payload/ContainerLayout.h"
#include "tools/ovrapack/pe/IconFile.h"

namespace {

using TestIcon::SImageShape;

const std::vector<SImageShape> kSizes = {
    {16, 4, false, 1}, {32, 8, false, 2}, {48, 32, false, 3}, {256, 32, true, 4}};

std::string ParseError(const std::vector<uint8_t>& file)
{
    std::string error;
    EXPECT_FALSE(CIconFile::Parse(file, error));
    return error;
}

size_t EntryField(size_t index, size_t field)
{
    return TestIcon::kHeaderSize + index * TestIcon::kEntrySize + field;
}

} // namespace

TEST(IconFile, KeepsEveryImageAsStoredWithItsDirectoryFields)
{
    std::string error;
    const auto icon = CIconFile::Parse(TestIcon::Make(kSizes), error);
    ASSERT_TRUE(icon) << error;
    ASSERT_EQ(icon->Images().size(), kSizes.size());
    for (size_t i = 0; i < kSizes.size(); ++i) {
        const auto& image = icon->Images()[i];
        EXPECT_EQ(image.bytes, TestIcon::Image(kSizes[i])) << i;
        EXPECT_EQ(image.nWidth, kSizes[i].nSize == 256 ? 0 : kSizes[i].nSize);
        EXPECT_EQ(image.nBitCount, kSizes[i].bPng ? 32 : kSizes[i].nBitCount);
        EXPECT_EQ(image.nPlanes, 1);
    }
    EXPECT_EQ(icon->Images()[0].nColorCount, 16);
}

TEST(IconFile, MissingDepthAndPlanesAreTakenFromTheImages)
{
    auto file = TestIcon::Make({{24, 24, false, 5}, {64, 32, true, 6}});
    for (size_t i = 0; i < 2; ++i) {
        LittleEndian::WriteU16(&file[EntryField(i, 4)], 0);
        LittleEndian::WriteU16(&file[EntryField(i, 6)], 0);
    }
    std::string error;
    const auto icon = CIconFile::Parse(file, error);
    ASSERT_TRUE(icon) << error;
    EXPECT_EQ(icon->Images()[0].nBitCount, 24);
    EXPECT_EQ(icon->Images()[1].nBitCount, 32);
    EXPECT_EQ(icon->Images()[0].nPlanes, 1);
}

TEST(IconFile, GroupResourceRepeatsTheEntriesWithResourceNumbers)
{
    std::string error;
    const auto icon = CIconFile::Parse(TestIcon::Make(kSizes), error);
    ASSERT_TRUE(icon);
    const std::vector<uint16_t> ids = {7, 2, 9, 40};
    const std::vector<uint8_t> group = icon->GroupResource(ids);
    const auto file = TestIcon::Make(kSizes);
    ASSERT_EQ(group.size(), 6 + 14 * kSizes.size());
    EXPECT_TRUE(std::equal(group.begin(), group.begin() + 6, file.begin()));
    for (size_t i = 0; i < kSizes.size(); ++i) {
        // The first 12 bytes are the file's entry; the file offset becomes the number.
        EXPECT_TRUE(std::equal(group.begin() + 6 + 14 * i, group.begin() + 6 + 14 * i + 12,
                               file.begin() + static_cast<std::ptrdiff_t>(EntryField(i, 0))));
        EXPECT_EQ(LittleEndian::ReadU16(&group[6 + 14 * i + 12]), ids[i]);
    }
    std::vector<uint16_t> read;
    ASSERT_TRUE(CIconFile::GroupImageIds(group, read));
    EXPECT_EQ(read, ids);
    EXPECT_FALSE(CIconFile::GroupImageIds(std::vector<uint8_t>(group.begin(), group.end() - 1), read));
}

TEST(IconFile, RefusesFilesThatAreNoIconsOrHoldNoImage)
{
    EXPECT_EQ(ParseError({}), "not an icon file");
    EXPECT_EQ(ParseError({'B', 'M', 0, 0, 0, 0, 0, 0}), "not an icon file");
    auto cursor = TestIcon::Make(kSizes);
    cursor[2] = 2;
    EXPECT_EQ(ParseError(cursor), "a cursor file, not an icon");
    EXPECT_EQ(ParseError({0, 0, 1, 0, 0, 0}), "the icon file holds no image");
    auto file = TestIcon::Make(kSizes);
    file.resize(TestIcon::kHeaderSize + TestIcon::kEntrySize * 2);
    EXPECT_EQ(ParseError(file), "the icon file's directory is cut short");
}

TEST(IconFile, RefusesImagesOutsideTheFileOrUnlikeTheirEntry)
{
    const auto good = TestIcon::Make(kSizes);
    auto truncated = good;
    truncated.pop_back();
    EXPECT_NE(ParseError(truncated).find("image 4 of 4 (256x256): its bytes lie outside the file"), std::string::npos);

    auto intoDirectory = good;
    LittleEndian::WriteU32(&intoDirectory[EntryField(1, 12)], 4);
    EXPECT_NE(ParseError(intoDirectory).find("image 2 of 4"), std::string::npos);

    auto wrongSize = good;
    wrongSize[EntryField(2, 0)] = 47;
    EXPECT_NE(ParseError(wrongSize).find("the bitmap is 48x48, its directory entry says otherwise"), std::string::npos);

    auto wrongPng = good;
    wrongPng[EntryField(3, 1)] = 128;
    EXPECT_NE(ParseError(wrongPng).find("the PNG image is 256x256"), std::string::npos);
}

TEST(IconFile, RefusesBitmapsItCannotShow)
{
    const size_t firstImage = TestIcon::kHeaderSize + TestIcon::kEntrySize;
    const auto one = [](uint16_t bits) { return TestIcon::Make({{32, bits, false, 9}}); };

    auto compressed = one(8);
    LittleEndian::WriteU32(&compressed[firstImage + 16], 1);
    EXPECT_NE(ParseError(compressed).find("not an uncompressed single-plane image"), std::string::npos);

    auto oddDepth = one(8);
    LittleEndian::WriteU16(&oddDepth[firstImage + 14], 7);
    EXPECT_NE(ParseError(oddDepth).find("not an uncompressed"), std::string::npos);

    auto hugePalette = one(4);
    LittleEndian::WriteU32(&hugePalette[firstImage + 32], 17);
    EXPECT_NE(ParseError(hugePalette).find("palette is too large"), std::string::npos);

    // The entry's length shortened by one byte of the mask.
    auto shortMask = one(32);
    LittleEndian::WriteU32(&shortMask[EntryField(0, 8)], LittleEndian::ReadU32(&shortMask[EntryField(0, 8)]) - 1);
    EXPECT_NE(ParseError(shortMask).find("the bitmap is cut short"), std::string::npos);

    auto noHeader = one(32);
    LittleEndian::WriteU32(&noHeader[firstImage], 12);
    EXPECT_NE(ParseError(noHeader).find("neither a bitmap nor a PNG image"), std::string::npos);
}
