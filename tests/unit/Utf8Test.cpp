#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/Utf8.h"

namespace {

// Code points of every well-formed sequence, and 0xFFFFFFFF where one did not start.
std::vector<char32_t> DecodeAll(std::string_view text)
{
    std::vector<char32_t> codes;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t before = pos;
        char32_t code = 0;
        if (Utf8::Decode(text, pos, code)) {
            codes.push_back(code);
        } else {
            EXPECT_EQ(pos, before);
            codes.push_back(0xFFFFFFFF);
            ++pos;
        }
    }
    return codes;
}

constexpr char32_t kBad = 0xFFFFFFFF;

} // namespace

TEST(Utf8, DecodesEveryLengthAndRoundTripsThroughTheEncoder)
{
    const std::u32string codes = {U'A', 0xE9, 0x20AC, 0x1F600, 0x10FFFF};
    std::string utf8;
    for (const char32_t code : codes)
        Utf8::Append(utf8, code);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(DecodeAll(utf8), std::vector<char32_t>(codes.begin(), codes.end()));
}

TEST(Utf8, RefusesMalformedSequencesWithoutMovingOn)
{
    EXPECT_EQ(DecodeAll("\xC0\xAF"), (std::vector<char32_t>{kBad, kBad}));          // overlong '/'
    EXPECT_EQ(DecodeAll("\xE0\x80\xAF"), (std::vector<char32_t>{kBad, kBad, kBad}));  // overlong in three
    EXPECT_EQ(DecodeAll("\xED\xA0\x80"), (std::vector<char32_t>{kBad, kBad, kBad}));  // a surrogate
    EXPECT_EQ(DecodeAll("\xF4\x90\x80\x80"), (std::vector<char32_t>{kBad, kBad, kBad, kBad}));  // past U+10FFFF
    EXPECT_EQ(DecodeAll("\xF8\x88\x80\x80\x80").front(), kBad);                       // a five-byte lead
    EXPECT_EQ(DecodeAll("\xC3"), (std::vector<char32_t>{kBad}));                      // cut short
    EXPECT_EQ(DecodeAll("\xE2\x82"), (std::vector<char32_t>{kBad, kBad}));
    EXPECT_EQ(DecodeAll("\xC3x"), (std::vector<char32_t>{kBad, U'x'}));               // no continuation
}

TEST(Utf8, AppendsUtf16WithSurrogatePairsAboveTheBasicPlane)
{
    std::u16string text;
    Utf8::AppendUtf16(text, 0x20AC);
    Utf8::AppendUtf16(text, 0x1F600);
    EXPECT_EQ(text, u"\u20AC\U0001F600");
}
