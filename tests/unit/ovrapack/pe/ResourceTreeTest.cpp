#include <gtest/gtest.h>

#include <cstring>

#include "payload/ContainerLayout.h"
#include "tools/ovrapack/pe/ResourceTree.h"

namespace {

using SKey = CResourceTree::SKey;
constexpr uint32_t kRva = 0x5000;

// A tree laid out by hand: a named type "DATA" with resource 7, and type 3 with
// resource 1 in two languages.
std::vector<uint8_t> HandLaidSection()
{
    std::vector<uint8_t> s(0xDC, 0);
    const auto put32 = [&](size_t at, uint32_t v) { LittleEndian::WriteU32(&s[at], v); };
    const auto directory = [&](size_t at, uint16_t named, uint16_t numbered) {
        put32(at + 4, 0x12345678);  // time stamp, kept on every directory
        LittleEndian::WriteU16(&s[at + 12], named);
        LittleEndian::WriteU16(&s[at + 14], numbered);
    };
    directory(0x00, 1, 1);
    put32(0x10, 0x800000B8);
    put32(0x14, 0x80000020);
    put32(0x18, 3);
    put32(0x1C, 0x80000038);
    directory(0x20, 0, 1);
    put32(0x30, 7);
    put32(0x34, 0x80000050);
    directory(0x38, 0, 1);
    put32(0x48, 1);
    put32(0x4C, 0x80000068);
    directory(0x50, 0, 1);
    put32(0x60, 0x409);
    put32(0x64, 0x88);
    directory(0x68, 0, 2);
    put32(0x78, 0x407);
    put32(0x7C, 0x98);
    put32(0x80, 0x409);
    put32(0x84, 0xA8);
    const uint32_t data[3][3] = {{0xC8, 5, 1252}, {0xD0, 3, 0}, {0xD8, 4, 0}};
    for (size_t i = 0; i < 3; ++i) {
        put32(0x88 + 16 * i, kRva + data[i][0]);
        put32(0x88 + 16 * i + 4, data[i][1]);
        put32(0x88 + 16 * i + 8, data[i][2]);
    }
    LittleEndian::WriteU16(&s[0xB8], 4);
    for (size_t i = 0; i < 4; ++i)
        LittleEndian::WriteU16(&s[0xBA + 2 * i], static_cast<uint16_t>("DATA"[i]));
    std::copy_n("hello", 5, s.begin() + 0xC8);
    std::copy_n("abc", 3, s.begin() + 0xD0);
    std::copy_n("wxyz", 4, s.begin() + 0xD8);
    return s;
}

std::vector<uint8_t> Bytes(const char* text)
{
    return std::vector<uint8_t>(text, text + std::strlen(text));
}

CResourceTree ParseOk(const std::vector<uint8_t>& section, uint32_t rva = kRva)
{
    std::string error;
    auto tree = CResourceTree::Parse(section, rva, error);
    EXPECT_TRUE(tree) << error;
    return tree ? *tree : CResourceTree();
}

std::string ParseError(const std::vector<uint8_t>& section)
{
    std::string error;
    EXPECT_FALSE(CResourceTree::Parse(section, kRva, error));
    return error;
}

std::vector<std::tuple<uint16_t, uint16_t, uint16_t>> Order(const CResourceTree& tree)
{
    std::vector<std::tuple<uint16_t, uint16_t, uint16_t>> order;
    for (const auto& r : tree.Resources())
        order.emplace_back(r.type.IsName() ? 0 : r.type.nId, r.name.nId, r.nLanguage);
    return order;
}

} // namespace

TEST(ResourceTree, ReadsTypesNamesLanguagesAndData)
{
    const CResourceTree tree = ParseOk(HandLaidSection());
    const auto& r = tree.Resources();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].type.name, u"DATA");
    EXPECT_EQ(r[0].name, SKey::Id(7));
    EXPECT_EQ(r[0].nLanguage, 0x409);
    EXPECT_EQ(r[0].nCodePage, 1252u);
    EXPECT_EQ(r[0].data, Bytes("hello"));
    EXPECT_EQ(r[1].type, SKey::Id(3));
    EXPECT_EQ(r[1].nLanguage, 0x407);
    EXPECT_EQ(r[1].data, Bytes("abc"));
    EXPECT_EQ(r[2].data, Bytes("wxyz"));
    ASSERT_NE(tree.Find(SKey::Id(3), SKey::Id(1), 0x409), nullptr);
    EXPECT_EQ(tree.Find(SKey::Id(3), SKey::Id(1), 0x409)->data, Bytes("wxyz"));
    EXPECT_EQ(tree.Find(SKey::Id(3), SKey::Id(1), 0x40C), nullptr);
}

TEST(ResourceTree, LaidOutAnewAtAnotherAddressItReadsBackTheSame)
{
    const CResourceTree tree = ParseOk(HandLaidSection());
    const std::vector<uint8_t> section = tree.Serialize(0x9000);
    const CResourceTree again = ParseOk(section, 0x9000);
    ASSERT_EQ(again.Resources().size(), tree.Resources().size());
    for (size_t i = 0; i < tree.Resources().size(); ++i) {
        const auto& a = tree.Resources()[i];
        const auto& b = again.Resources()[i];
        EXPECT_TRUE(a.type == b.type && a.name == b.name && a.nLanguage == b.nLanguage && a.nCodePage == b.nCodePage &&
                    a.data == b.data)
            << i;
    }
    EXPECT_EQ(again.Serialize(0x9000), section);
    EXPECT_EQ(LittleEndian::ReadU32(&section[4]), 0x12345678u);
    // Named entries first, the counts split between names and numbers.
    EXPECT_EQ(LittleEndian::ReadU16(&section[12]), 1);
    EXPECT_EQ(LittleEndian::ReadU16(&section[14]), 1);
    EXPECT_NE(LittleEndian::ReadU32(&section[16]) & 0x80000000u, 0u);
}

TEST(ResourceTree, DataStartsOnEightByteBoundaries)
{
    CResourceTree tree;
    for (uint16_t id = 1; id <= 5; ++id)
        tree.Put({SKey::Id(10), SKey::Id(id), 0, 0, std::vector<uint8_t>(id * 3u, uint8_t(id))});
    const auto section = tree.Serialize(0x4000);
    const CResourceTree again = ParseOk(section, 0x4000);
    ASSERT_EQ(again.Resources().size(), 5u);
    // The data entries follow the three levels of directories.
    const size_t entries = 16 + 8 + (16 + 8 * 5) + 5 * (16 + 8);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(LittleEndian::ReadU32(&section[entries + 16 * i]) % 8, 0u) << i;
}

TEST(ResourceTree, PutKeepsNamesFirstAndNumbersAscendingAndReplacesItsOwn)
{
    CResourceTree tree = ParseOk(HandLaidSection());
    tree.Put({SKey::Id(14), SKey::Id(131), 0x409, 0, Bytes("group")});
    tree.Put({SKey::Id(3), SKey::Id(2), 0x409, 0, Bytes("two")});
    tree.Put({SKey::Id(2), SKey::Id(129), 0x409, 0, Bytes("bitmap")});
    tree.Put({SKey::Id(3), SKey::Id(1), 0x405, 0, Bytes("cz")});
    tree.Put({SKey::Id(3), SKey::Id(1), 0x409, 0, Bytes("new")});
    using T = std::tuple<uint16_t, uint16_t, uint16_t>;
    EXPECT_EQ(Order(tree), (std::vector<T>{{0, 7, 0x409},
                                           {2, 129, 0x409},
                                           {3, 1, 0x405},
                                           {3, 1, 0x407},
                                           {3, 1, 0x409},
                                           {3, 2, 0x409},
                                           {14, 131, 0x409}}));
    EXPECT_EQ(tree.Find(SKey::Id(3), SKey::Id(1), 0x409)->data, Bytes("new"));
    EXPECT_EQ(tree.Remove(SKey::Id(3), SKey::Id(1)), 3u);
    EXPECT_EQ(tree.Remove(SKey::Id(3), SKey::Id(1)), 0u);
    EXPECT_EQ(ParseOk(tree.Serialize(kRva)).Resources().size(), 4u);
}

TEST(ResourceTree, RefusesTreesThatLeaveTheSectionOrAreMisshapen)
{
    auto manyEntries = HandLaidSection();
    LittleEndian::WriteU16(&manyEntries[14], 200);
    EXPECT_EQ(ParseError(manyEntries), "a resource directory's entries lie outside the section");

    auto farDirectory = HandLaidSection();
    LittleEndian::WriteU32(&farDirectory[0x1C], 0x800000D8);
    EXPECT_EQ(ParseError(farDirectory), "a resource directory lies outside the section");

    auto farData = HandLaidSection();
    LittleEndian::WriteU32(&farData[0x88 + 4], 0x100);
    EXPECT_EQ(ParseError(farData), "a resource's data lies outside the resource section");

    auto belowSection = HandLaidSection();
    LittleEndian::WriteU32(&belowSection[0x88], kRva - 4);
    EXPECT_EQ(ParseError(belowSection), "a resource's data lies outside the resource section");

    auto tooDeep = HandLaidSection();
    LittleEndian::WriteU32(&tooDeep[0x64], 0x80000050);
    EXPECT_EQ(ParseError(tooDeep), "the resource tree is not made of types, names and languages");

    auto twice = HandLaidSection();
    LittleEndian::WriteU32(&twice[0x80], 0x407);
    EXPECT_EQ(ParseError(twice), "a resource directory names one entry twice");

    auto farName = HandLaidSection();
    LittleEndian::WriteU32(&farName[0x10], 0x800000DA);
    EXPECT_EQ(ParseError(farName), "a resource name lies outside the section");

    auto bigNumber = HandLaidSection();
    LittleEndian::WriteU32(&bigNumber[0x18], 0x10000);
    EXPECT_EQ(ParseError(bigNumber), "a resource number above 65535");
}
