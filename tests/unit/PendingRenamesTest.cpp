#include <gtest/gtest.h>

#include <vector>

#include "app/PendingRenames.h"

namespace {

const std::u16string kTemp = u"C:\\Users\\u\\AppData\\Local\\Temp\\";

// REG_MULTI_SZ bytes, little-endian: every entry NUL-terminated, then one more NUL.
std::vector<uint8_t> MultiString(const std::vector<std::u16string>& entries, bool finalTerminator = true)
{
    std::u16string units;
    for (const auto& entry : entries) {
        units += entry;
        units += u'\0';
    }
    if (finalTerminator)
        units += u'\0';
    std::vector<uint8_t> bytes;
    for (const char16_t c : units) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

bool Pending(const std::vector<uint8_t>& bytes)
{
    return CPendingRenames::AnyOutsideTemp(bytes.data(), bytes.size(), kTemp);
}

TEST(PendingRenames, DeletionsInsideTheTemporaryFolderDoNotCount)
{
    EXPECT_FALSE(Pending(MultiString({u"\\??\\" + kTemp + u"a.tmp", u"", u"\\??\\" + kTemp + u"sub\\b.tmp", u""})));
}

TEST(PendingRenames, ComparisonIgnoresCase)
{
    EXPECT_FALSE(Pending(MultiString({u"\\??\\c:\\users\\u\\appdata\\local\\temp\\x.tmp", u""})));
}

TEST(PendingRenames, AnEntryOutsideTheTemporaryFolderCounts)
{
    EXPECT_TRUE(Pending(MultiString({u"\\??\\" + kTemp + u"a.tmp", u"", u"\\??\\C:\\Windows\\x.dll", u""})));
}

TEST(PendingRenames, DestinationWithExclamationPrefixNeverMatches)
{
    EXPECT_TRUE(Pending(MultiString({u"\\??\\" + kTemp + u"a.tmp", u"!\\??\\" + kTemp + u"b.tmp"})));
}

TEST(PendingRenames, TheTemporaryFolderWithoutItsBackslashCounts)
{
    std::u16string folder = kTemp.substr(0, kTemp.size() - 1);
    EXPECT_TRUE(Pending(MultiString({u"\\??\\" + folder, u""})));
}

TEST(PendingRenames, EntriesShorterThanFourCharactersNeverCount)
{
    EXPECT_FALSE(Pending(MultiString({u"abc", u"", u"x"})));
}

TEST(PendingRenames, EmptyOrTinyDataHasNothingPending)
{
    EXPECT_FALSE(Pending({}));
    EXPECT_FALSE(Pending({0x00}));
    EXPECT_FALSE(Pending(MultiString({})));
}

TEST(PendingRenames, UnterminatedFinalEntryEndsAtTheDataAndIsStillJudged)
{
    // The walk must stay inside the data the registry returned.
    const auto outside = MultiString({u"\\??\\D:\\x"}, false);
    std::vector<uint8_t> exact(outside.begin(), outside.end() - 2);
    EXPECT_TRUE(CPendingRenames::AnyOutsideTemp(exact.data(), exact.size(), kTemp));
    const auto inside = MultiString({u"\\??\\" + kTemp + u"y"}, false);
    std::vector<uint8_t> exactInside(inside.begin(), inside.end() - 2);
    EXPECT_FALSE(CPendingRenames::AnyOutsideTemp(exactInside.data(), exactInside.size(), kTemp));
}

TEST(PendingRenames, OddByteCountIgnoresTheHalfUnit)
{
    auto bytes = MultiString({u"\\??\\" + kTemp + u"a"});
    bytes.push_back(0x41);
    EXPECT_FALSE(Pending(bytes));
}

} // namespace
