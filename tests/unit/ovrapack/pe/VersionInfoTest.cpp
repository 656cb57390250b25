#include <gtest/gtest.h>

#include <map>

#include "payload/ContainerLayout.h"
#include "tools/ovrapack/pe/VersionInfo.h"

namespace {

// One block of the version resource as a reader walks it: header, key, value, and
// children each on a 32-bit boundary.
struct SBlock
{
    size_t nOffset = 0;
    uint16_t nLength = 0;
    uint16_t nValueLength = 0;
    uint16_t nType = 0;
    std::u16string key;
    size_t nValue = 0;
    std::vector<SBlock> children;
};

size_t Align4(size_t offset)
{
    return (offset + 3) & ~size_t(3);
}

SBlock Walk(const std::vector<uint8_t>& bytes, size_t offset)
{
    SBlock block;
    block.nOffset = offset;
    block.nLength = LittleEndian::ReadU16(&bytes.at(offset));
    block.nValueLength = LittleEndian::ReadU16(&bytes.at(offset + 2));
    block.nType = LittleEndian::ReadU16(&bytes.at(offset + 4));
    size_t at = offset + 6;
    while (const char16_t c = LittleEndian::ReadU16(&bytes.at(at))) {
        block.key.push_back(c);
        at += 2;
    }
    block.nValue = Align4(at + 2);
    const size_t valueBytes = block.nType == 1 ? block.nValueLength * 2u : block.nValueLength;
    for (size_t child = Align4(block.nValue + valueBytes); child < offset + block.nLength;) {
        block.children.push_back(Walk(bytes, child));
        child = Align4(child + block.children.back().nLength);
    }
    return block;
}

std::u16string TextAt(const std::vector<uint8_t>& bytes, size_t offset, size_t units)
{
    std::u16string text;
    for (size_t i = 0; i < units; ++i)
        text.push_back(LittleEndian::ReadU16(&bytes.at(offset + 2 * i)));
    return text;
}

std::map<std::u16string, std::u16string> Strings(const std::vector<uint8_t>& bytes, const SBlock& root)
{
    std::map<std::u16string, std::u16string> strings;
    for (const SBlock& info : root.children) {
        if (info.key != u"StringFileInfo")
            continue;
        for (const SBlock& table : info.children) {
            EXPECT_EQ(table.key, u"040904B0");
            for (const SBlock& entry : table.children) {
                const std::u16string value = TextAt(bytes, entry.nValue, entry.nValueLength);
                EXPECT_EQ(value.back(), u'\0') << "the value's length counts its NUL";
                strings[entry.key] = value.substr(0, value.size() - 1);
            }
        }
    }
    return strings;
}

std::vector<uint8_t> Build(const std::vector<std::string>& assignments)
{
    CVersionInfo info;
    std::string error;
    for (const std::string& assignment : assignments)
        EXPECT_TRUE(info.Set(assignment, error)) << assignment << ": " << error;
    std::vector<uint8_t> block;
    EXPECT_TRUE(info.Build(block, error)) << error;
    return block;
}

std::string SetError(CVersionInfo& info, const std::string& assignment)
{
    std::string error;
    EXPECT_FALSE(info.Set(assignment, error)) << assignment;
    return error;
}

} // namespace

TEST(VersionInfo, BlockHoldsFixedInfoStringsAndTranslation)
{
    const auto bytes = Build({"ProductName=Ovra Viewer", "companyname=Ovra Ltd.", "FileVersion=2.10.300.4",
                              "ProductVersion=2.10", "FileDescription=Ovra Viewer Setup",
                              "LegalCopyright=\xC2\xA9 2026 Ovra \xF0\x9F\x98\x80"});
    ASSERT_EQ(bytes.size() % 4, 0u);
    const SBlock root = Walk(bytes, 0);
    EXPECT_EQ(root.nLength, bytes.size());
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");
    EXPECT_EQ(root.nType, 0);
    ASSERT_EQ(root.nValueLength, CVersionInfo::kFixedInfoSize);
    EXPECT_EQ(root.nValue, 40u);
    const uint8_t* fixed = &bytes[root.nValue];
    EXPECT_EQ(LittleEndian::ReadU32(fixed), 0xFEEF04BDu);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 8), 0x0002000Au);   // 2.10
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 12), 0x012C0004u);  // 300.4
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 16), 0x0002000Au);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 20), 0u);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 36), 1u);  // an application

    const auto strings = Strings(bytes, root);
    EXPECT_EQ(strings.size(), 6u);
    EXPECT_EQ(strings.at(u"CompanyName"), u"Ovra Ltd.");
    EXPECT_EQ(strings.at(u"FileVersion"), u"2.10.300.4");
    EXPECT_EQ(strings.at(u"LegalCopyright"), u"\u00A9 2026 Ovra \xD83D\xDE00");

    ASSERT_EQ(root.children.size(), 2u);
    const SBlock& var = root.children[1];
    ASSERT_EQ(var.key, u"VarFileInfo");
    ASSERT_EQ(var.children.size(), 1u);
    EXPECT_EQ(var.children[0].key, u"Translation");
    EXPECT_EQ(var.children[0].nValueLength, 4);
    EXPECT_EQ(LittleEndian::ReadU32(&bytes[var.children[0].nValue]), 0x04B00409u);
}

TEST(VersionInfo, TextVersionsSetNoFixedNumbersAndEmptyValuesStay)
{
    const auto bytes = Build({"FileVersion=1.0 beta", "ProductVersion=", "ProductName=X"});
    const SBlock root = Walk(bytes, 0);
    EXPECT_EQ(LittleEndian::ReadU32(&bytes[root.nValue + 8]), 0u);
    EXPECT_EQ(LittleEndian::ReadU32(&bytes[root.nValue + 16]), 0u);
    const auto strings = Strings(bytes, root);
    EXPECT_EQ(strings.size(), 3u);
    EXPECT_EQ(strings.at(u"FileVersion"), u"1.0 beta");
    EXPECT_EQ(strings.at(u"ProductVersion"), u"");
}

TEST(VersionInfo, ShortNumericVersionsFillWithZeros)
{
    const auto bytes = Build({"FileVersion=7", "ProductVersion=65535.0.1"});
    const uint8_t* fixed = &bytes[Walk(bytes, 0).nValue];
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 8), 0x00070000u);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 12), 0u);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 16), 0xFFFF0000u);
    EXPECT_EQ(LittleEndian::ReadU32(fixed + 20), 0x00010000u);
}

TEST(VersionInfo, RefusesUnknownKeysRepeatsBadTextAndBadNumbers)
{
    CVersionInfo info;
    EXPECT_NE(SetError(info, "Comments=x").find("one of the keys CompanyName"), std::string::npos);
    EXPECT_NE(SetError(info, "ProductName").find("is not KEY=VALUE"), std::string::npos);
    EXPECT_TRUE(info.Empty());
    std::string error;
    ASSERT_TRUE(info.Set("ProductName=A=B", error));
    EXPECT_EQ(SetError(info, "PRODUCTNAME=C"), "ProductName is given twice");
    EXPECT_EQ(SetError(info, "CompanyName=\xC0\xAF"), "CompanyName: the value is not valid UTF-8");
    EXPECT_EQ(SetError(info, "CompanyName=\xED\xA0\x80"), "CompanyName: the value is not valid UTF-8");
    for (const char* bad : {"FileVersion=1.2.3.4.5", "FileVersion=1.65536", "FileVersion=1..2", "FileVersion=.1"})
        EXPECT_NE(SetError(info, bad).find("is no version"), std::string::npos) << bad;
    EXPECT_FALSE(info.Empty());
}

TEST(VersionInfo, ValueTooLongForTheSixteenBitLengthsIsRefusedAndForgotten)
{
    CVersionInfo info;
    std::string error;
    ASSERT_TRUE(info.Set("CompanyName=" + std::string(30000, 'c'), error)) << error;
    const std::string tooLong = SetError(info, "ProductName=" + std::string(3000, 'p'));
    EXPECT_NE(tooLong.find("ProductName: the value is too long"), std::string::npos) << tooLong;
    EXPECT_NE(tooLong.find("its format holds 65535"), std::string::npos);
    ASSERT_TRUE(info.Set("ProductName=short", error)) << error;
    std::vector<uint8_t> block;
    ASSERT_TRUE(info.Build(block, error));
    EXPECT_EQ(Strings(block, Walk(block, 0)).at(u"ProductName"), u"short");
}
