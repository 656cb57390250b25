#include <gtest/gtest.h>

#include "tools/ovrapack/pack/ChunkCutter.h"
#include "payload/CodePage1252.h"
#include "tools/ovrapack/pack/SourceTree.h"
#include "PackTestKit.h"

TEST(CodePage1252, ConvertsLatinLettersAndTheEuroSign)
{
    std::string text;
    ASSERT_TRUE(CodePage1252::FromUtf8("caf\xC3\xA9 \xE2\x82\xAC", text));
    EXPECT_EQ(text, "caf\xE9 \x80");
    EXPECT_EQ(CodePage1252::ToUtf8(text), "caf\xC3\xA9 \xE2\x82\xAC");
}

TEST(CodePage1252, RefusesCharactersOutsideTheCodePageAndBrokenUtf8)
{
    std::string text;
    EXPECT_FALSE(CodePage1252::FromUtf8("\xE6\x97\xA5", text));  // a CJK ideograph
    EXPECT_FALSE(CodePage1252::FromUtf8("\xC2\x81", text));      // C1 control
    EXPECT_FALSE(CodePage1252::FromUtf8("\xC3", text));
    EXPECT_FALSE(CodePage1252::FromUtf8("\xC0\xAF", text));      // overlong '/'
}

TEST(SourceTree, NameProblemCatchesWhatWindowsCannotCreate)
{
    EXPECT_EQ(CSourceTree::NameProblem("dir\\setup.exe"), "");
    for (const char* bad : {"a:b", "a\\..\\b", "trailing.", "trail ", "CON", "dir\\lpt1.txt", "a*b", "x\\\\y"})
        EXPECT_NE(CSourceTree::NameProblem(bad), "") << bad;
}

TEST(ChunkCutter, CutsRealignAfterAnInsertedPrefix)
{
    const auto data = PackTestKit::Pattern(1 << 20, 7);
    auto shifted = PackTestKit::Pattern(1000, 8);
    shifted.insert(shifted.end(), data.begin(), data.end());
    const auto cuts = [](const std::vector<uint8_t>& bytes, size_t feed) {
        CChunkCutter cutter(16 * 1024);
        std::vector<size_t> ends;
        size_t position = 0;
        while (position < bytes.size()) {
            size_t used = 0;
            const size_t size = std::min(feed, bytes.size() - position);
            const bool cut = cutter.Scan(bytes.data() + position, size, used);
            position += used;
            if (cut)
                ends.push_back(position);
        }
        return ends;
    };
    const auto plain = cuts(data, 1 << 20);
    const auto moved = cuts(shifted, 777);  // also fed in odd pieces
    ASSERT_GT(plain.size(), 20u);
    size_t common = 0;
    for (const size_t end : plain)
        common += std::count(moved.begin(), moved.end(), end + 1000);
    EXPECT_GE(common, plain.size() - 2);
}
