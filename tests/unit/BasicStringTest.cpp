// The file library's string: its growth rule, the zeros behind the text, and appending
// a string to itself across a reallocation.
#include <gtest/gtest.h>

#include "framework/files/BasicString.h"

#include <cstddef>
#include <utility>

namespace {

void ExpectZeroBehindText(const CPathString& text)
{
    for (std::size_t i = text.GetLength(); i < text.GetCapacity(); ++i)
        ASSERT_EQ(text.c_str()[i], L'\0') << "position " << i;
}

TEST(BasicStringTest, GrowsToTwiceTheNeedPlusTwo)
{
    CPathString text;
    EXPECT_EQ(text.GetCapacity(), 6u);
    EXPECT_EQ(text.GetLength(), 0u);
    EXPECT_STREQ(text.c_str(), L"");
    ExpectZeroBehindText(text);

    text += L"abcde";
    EXPECT_EQ(text.GetCapacity(), 6u);
    text += L'f';
    EXPECT_EQ(text.GetCapacity(), 14u);
    EXPECT_STREQ(text.c_str(), L"abcdef");
    ExpectZeroBehindText(text);

    text += L"0123456789abcdefghij";
    EXPECT_EQ(text.GetLength(), 26u);
    EXPECT_EQ(text.GetCapacity(), 54u);
    EXPECT_STREQ(text.c_str(), L"abcdef0123456789abcdefghij");
    ExpectZeroBehindText(text);

    EXPECT_EQ(CPathString(L"abcdef").GetCapacity(), 14u);
}

TEST(BasicStringTest, AppendingItselfAcrossAReallocation)
{
    CPathString text(L"abcde");
    text.Append(text.GetView());
    EXPECT_STREQ(text.c_str(), L"abcdeabcde");
    text.Append(text.GetView().substr(2, 3));
    EXPECT_STREQ(text.c_str(), L"abcdeabcdecde");
}

TEST(BasicStringTest, TruncateClearsTheCutTextAndCopiesStandAlone)
{
    CPathString text(L"directory");
    text.Truncate(3);
    EXPECT_STREQ(text.c_str(), L"dir");
    ExpectZeroBehindText(text);
    text.Truncate(10);
    EXPECT_EQ(text.GetLength(), 3u);

    CPathString copy(text);
    copy += L"ectory";
    EXPECT_TRUE(text == L"dir");
    EXPECT_TRUE(copy == L"directory");

    CPathString moved(std::move(copy));
    EXPECT_TRUE(moved == L"directory");
    text = moved;
    EXPECT_TRUE(text == L"directory");
    EXPECT_FALSE(text == L"director");
}

} // namespace
