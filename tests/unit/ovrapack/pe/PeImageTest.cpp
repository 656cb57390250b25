#include <gtest/gtest.h>

#include "TestStub.h"
#include "tools/ovrapack/pe/PeImage.h"

namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (uint32_t(bytes[offset + 3]) << 24);
}

} // namespace

TEST(PeImage, RawEndIsTheEndOfTheLastSectionForPe32AndPe32Plus)
{
    for (const bool plus : {false, true}) {
        TestStub::SShape shape;
        shape.bPe32Plus = plus;
        shape.nOverlay = 1000;
        const auto stub = TestStub::Make(shape);
        std::string error;
        const auto image = CPeImage::Parse(stub, error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->IsPe32Plus(), plus);
        EXPECT_EQ(image->RawEnd(), TestStub::kRawEnd);
    }
}

TEST(PeImage, CutDropsTheOverlayAndTheCertificateEntryThatPointedIntoIt)
{
    for (const bool plus : {false, true}) {
        TestStub::SShape shape;
        shape.bPe32Plus = plus;
        shape.nOverlay = 0x300;
        shape.bCertificateEntry = true;
        auto stub = TestStub::Make(shape);
        std::string error;
        const auto image = CPeImage::Parse(stub, error);
        ASSERT_TRUE(image);
        const size_t entry = 0x44 + 20 + (plus ? 112 : 96) + 4 * 8;
        ASSERT_EQ(Read32(stub, entry), TestStub::kRawEnd);
        image->CutAtRawEnd(stub);
        EXPECT_EQ(stub.size(), TestStub::kRawEnd);
        EXPECT_EQ(Read32(stub, entry), 0u);
        EXPECT_EQ(Read32(stub, entry + 4), 0u);
    }
}

TEST(PeImage, RefusesFilesThatAreNoPeOrAreTruncated)
{
    std::string error;
    EXPECT_FALSE(CPeImage::Parse(std::vector<uint8_t>(100, 0), error));
    EXPECT_NE(error.find("MZ"), std::string::npos);
    auto stub = TestStub::Make({});
    stub[0x40] = 'X';
    EXPECT_FALSE(CPeImage::Parse(stub, error));
    auto truncated = TestStub::Make({});
    truncated.resize(TestStub::kRawEnd - 1);
    EXPECT_FALSE(CPeImage::Parse(truncated, error));
    EXPECT_NE(error.find("truncated"), std::string::npos);
}

TEST(PeImage, RefusesAnOptionalHeaderTooShortToSayWhereTheHeadersEnd)
{
    // An optional header of 14 bytes ended the headers at 54, inside the DOS header:
    // the cut file was no executable any more.
    auto stub = TestStub::Make({});
    const size_t optionalSizeField = Read32(stub, 0x3C) + 4 + 16;
    stub[optionalSizeField] = 14;
    stub[optionalSizeField + 1] = 0;
    std::string error;
    EXPECT_FALSE(CPeImage::Parse(stub, error));
    EXPECT_NE(error.find("truncated"), std::string::npos);
}

// Images the loader refuses, which the cut once accepted and only the later
// re-reading of the cut stub (or nothing) turned away.
TEST(PeImage, RefusesHeadersNoLoaderMapsBeforeTheCut)
{
    for (const bool plus : {false, true}) {
        TestStub::SShape shape;
        shape.bPe32Plus = plus;
        shape.nOverlay = 0x300;
        const size_t optional = 0x44 + 20;
        std::string error;

        auto noDirectories = TestStub::Make(shape);
        noDirectories[0x44 + 16] = 80;  // past SizeOfHeaders, short of the directory count
        noDirectories[0x44 + 17] = 0;
        EXPECT_FALSE(CPeImage::Parse(noDirectories, error));
        EXPECT_NE(error.find("too short"), std::string::npos) << error;

        auto oddAlignment = TestStub::Make(shape);
        oddAlignment[optional + 36 + 1] = 0x03;  // file alignment 0x300
        EXPECT_FALSE(CPeImage::Parse(oddAlignment, error));
        EXPECT_NE(error.find("power of two"), std::string::npos) << error;

        auto rawAtZero = TestStub::Make(shape);
        const size_t secondSection = optional + (plus ? 240 : 224) + 40;
        std::fill_n(rawAtZero.begin() + static_cast<std::ptrdiff_t>(secondSection + 20), 4, uint8_t(0));
        EXPECT_FALSE(CPeImage::Parse(rawAtZero, error));
        EXPECT_NE(error.find(".rdata"), std::string::npos) << error;
    }
}
