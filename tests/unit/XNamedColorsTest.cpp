// Colour texts of the markup: the three forms, their edge cases and the name table
// checked against the CSS values written as hash colours.
#include <gtest/gtest.h>

#include "framework/controls/XNamedColors.h"

#include <cwctype>
#include <iterator>
#include <string>

namespace {

ColorRef Read(const std::wstring& text)
{
    return CXNamedColors(text).GetRGB();
}

TEST(XNamedColorsTest, HashFormNeedsExactlySixDigits)
{
    EXPECT_EQ(Read(L"#FF8000"), MakeColorRef(255, 128, 0));
    EXPECT_EQ(Read(L"#ff8000"), MakeColorRef(255, 128, 0));
    EXPECT_EQ(Read(L"#FF800"), 0u);
    EXPECT_EQ(Read(L"#FF80000"), 0u);
    // A group that is no hexadecimal number reads as 0; red sits in the low byte.
    EXPECT_EQ(Read(L"#ZZ0010"), MakeColorRef(0, 0, 16));
    EXPECT_EQ(Read(L"#0000FF"), 0xFF0000u);
}

TEST(XNamedColorsTest, DecimalTripleKeepsTheLowByteAndMissesBlueWithoutSecondComma)
{
    EXPECT_EQ(Read(L"10,20,30"), MakeColorRef(10, 20, 30));
    EXPECT_EQ(Read(L" 10, 20 , 30"), MakeColorRef(10, 20, 30));
    EXPECT_EQ(Read(L"10,20"), MakeColorRef(10, 20, 0));
    EXPECT_EQ(Read(L"300,0,0"), MakeColorRef(44, 0, 0));
    EXPECT_EQ(Read(L"-1,256,x"), MakeColorRef(255, 0, 0));
    // A comma decides before a hash sign does.
    EXPECT_EQ(Read(L"#10,20"), MakeColorRef(0, 20, 0));
}

TEST(XNamedColorsTest, NamesInAnyCaseAndTheSpellingsTheTableLacks)
{
    EXPECT_EQ(Read(L"navy"), MakeColorRef(0, 0, 128));
    EXPECT_EQ(Read(L"NAVY"), MakeColorRef(0, 0, 128));
    EXPECT_EQ(Read(L"LightGrey"), MakeColorRef(211, 211, 211));
    for (const wchar_t* missing : {L"Grey", L"LightGray", L"DarkGrey", L"DimGrey", L"SlateGrey", L"DarkSlateGrey",
                                   L"LightSlateGrey", L"", L"Navy ", L"Nav", L"Rebeccapurple"})
        EXPECT_EQ(Read(missing), 0u) << testing::PrintToString(std::wstring(missing));
}

TEST(XNamedColorsTest, EveryNameHasItsCssValueInAlphabeticalOrder)
{
    struct SExpected
    {
        const wchar_t* name;
        const wchar_t* hash;
    };
    static const SExpected kCss[] = {
    {L"AliceBlue", L"#F0F8FF"}, {L"AntiqueWhite", L"#FAEBD7"}, {L"Aqua", L"#00FFFF"},
    {L"Aquamarine", L"#7FFFD4"}, {L"Azure", L"#F0FFFF"}, {L"Beige", L"#F5F5DC"},
    {L"Bisque", L"#FFE4C4"}, {L"Black", L"#000000"}, {L"BlanchedAlmond", L"#FFEBCD"},
    {L"Blue", L"#0000FF"}, {L"BlueViolet", L"#8A2BE2"}, {L"Brown", L"#A52A2A"},
    {L"Burlywood", L"#DEB887"}, {L"CadetBlue", L"#5F9EA0"}, {L"Chartreuse", L"#7FFF00"},
    {L"Chocolate", L"#D2691E"}, {L"Coral", L"#FF7F50"}, {L"CornflowerBlue", L"#6495ED"},
    {L"Cornsilk", L"#FFF8DC"}, {L"Crimson", L"#DC143C"}, {L"Cyan", L"#00FFFF"},
    {L"DarkBlue", L"#00008B"}, {L"DarkCyan", L"#008B8B"}, {L"DarkGoldenRod", L"#B8860B"},
    {L"DarkGray", L"#A9A9A9"}, {L"DarkGreen", L"#006400"}, {L"DarkKhaki", L"#BDB76B"},
    {L"DarkMagenta", L"#8B008B"}, {L"DarkOliveGreen", L"#556B2F"}, {L"DarkOrange", L"#FF8C00"},
    {L"DarkOrchid", L"#9932CC"}, {L"DarkRed", L"#8B0000"}, {L"DarkSalmon", L"#E9967A"},
    {L"DarkSeaGreen", L"#8FBC8F"}, {L"DarkSlateBlue", L"#483D8B"}, {L"DarkSlateGray", L"#2F4F4F"},
    {L"DarkTurquoise", L"#00CED1"}, {L"DarkViolet", L"#9400D3"}, {L"DeepPink", L"#FF1493"},
    {L"DeepSkyBlue", L"#00BFFF"}, {L"DimGray", L"#696969"}, {L"DodgerBlue", L"#1E90FF"},
    {L"FireBrick", L"#B22222"}, {L"FloralWhite", L"#FFFAF0"}, {L"ForestGreen", L"#228B22"},
    {L"Fuchsia", L"#FF00FF"}, {L"Gainsboro", L"#DCDCDC"}, {L"GhostWhite", L"#F8F8FF"},
    {L"Gold", L"#FFD700"}, {L"GoldenRod", L"#DAA520"}, {L"Gray", L"#808080"},
    {L"Green", L"#008000"}, {L"GreenYellow", L"#ADFF2F"}, {L"HoneyDew", L"#F0FFF0"},
    {L"HotPink", L"#FF69B4"}, {L"IndianRed", L"#CD5C5C"}, {L"Indigo", L"#4B0082"},
    {L"Ivory", L"#FFFFF0"}, {L"Khaki", L"#F0E68C"}, {L"Lavender", L"#E6E6FA"},
    {L"LavenderBlush", L"#FFF0F5"}, {L"Lawngreen", L"#7CFC00"}, {L"LemonChiffon", L"#FFFACD"},
    {L"LightBlue", L"#ADD8E6"}, {L"LightCoral", L"#F08080"}, {L"LightCyan", L"#E0FFFF"},
    {L"LightGoldenRodYellow", L"#FAFAD2"}, {L"LightGreen", L"#90EE90"}, {L"LightGrey", L"#D3D3D3"},
    {L"LightPink", L"#FFB6C1"}, {L"LightSalmon", L"#FFA07A"}, {L"LightSeaGreen", L"#20B2AA"},
    {L"LightSkyBlue", L"#87CEFA"}, {L"LightSlateGray", L"#778899"}, {L"LightSteelBlue", L"#B0C4DE"},
    {L"LightYellow", L"#FFFFE0"}, {L"Lime", L"#00FF00"}, {L"LimeGreen", L"#32CD32"},
    {L"Linen", L"#FAF0E6"}, {L"Magenta", L"#FF00FF"}, {L"Maroon", L"#800000"},
    {L"MediumAquamarine", L"#66CDAA"}, {L"MediumBlue", L"#0000CD"}, {L"MediumOrchid", L"#BA55D3"},
    {L"MediumPurple", L"#9370DB"}, {L"MediumSeaGreen", L"#3CB371"}, {L"MediumSlateBlue", L"#7B68EE"},
    {L"MediumSpringGreen", L"#00FA9A"}, {L"MediumTurquoise", L"#48D1CC"}, {L"MediumVioletRed", L"#C71585"},
    {L"MidnightBlue", L"#191970"}, {L"MintCream", L"#F5FFFA"}, {L"MistyRose", L"#FFE4E1"},
    {L"Moccasin", L"#FFE4B5"}, {L"NavajoWhite", L"#FFDEAD"}, {L"Navy", L"#000080"},
    {L"OldLace", L"#FDF5E6"}, {L"Olive", L"#808000"}, {L"OliveDrab", L"#6B8E23"},
    {L"Orange", L"#FFA500"}, {L"OrangeRed", L"#FF4500"}, {L"Orchid", L"#DA70D6"},
    {L"PaleGoldenRod", L"#EEE8AA"}, {L"PaleGreen", L"#98FB98"}, {L"PaleTurquoise", L"#AFEEEE"},
    {L"PaleVioletRed", L"#DB7093"}, {L"PapayaWhip", L"#FFEFD5"}, {L"PeachPuff", L"#FFDAB9"},
    {L"Peru", L"#CD853F"}, {L"Pink", L"#FFC0CB"}, {L"Plum", L"#DDA0DD"},
    {L"PowderBlue", L"#B0E0E6"}, {L"Purple", L"#800080"}, {L"Red", L"#FF0000"},
    {L"RosyBrown", L"#BC8F8F"}, {L"RoyalBlue", L"#4169E1"}, {L"SaddleBrown", L"#8B4513"},
    {L"Salmon", L"#FA8072"}, {L"SandyBrown", L"#F4A460"}, {L"SeaGreen", L"#2E8B57"},
    {L"SeaShell", L"#FFF5EE"}, {L"Sienna", L"#A0522D"}, {L"Silver", L"#C0C0C0"},
    {L"SkyBlue", L"#87CEEB"}, {L"SlateBlue", L"#6A5ACD"}, {L"SlateGray", L"#708090"},
    {L"Snow", L"#FFFAFA"}, {L"SpringGreen", L"#00FF7F"}, {L"SteelBlue", L"#4682B4"},
    {L"Tan", L"#D2B48C"}, {L"Teal", L"#008080"}, {L"Thistle", L"#D8BFD8"},
    {L"Tomato", L"#FF6347"}, {L"Turquoise", L"#40E0D0"}, {L"Violet", L"#EE82EE"},
    {L"Wheat", L"#F5DEB3"}, {L"White", L"#FFFFFF"}, {L"WhiteSmoke", L"#F5F5F5"},
    {L"Yellow", L"#FFFF00"}, {L"YellowGreen", L"#9ACD32"},
    };
    static_assert(std::size(kCss) == CXNamedColors::kNameCount);
    for (size_t i = 0; i < std::size(kCss); ++i) {
        EXPECT_STREQ(CXNamedColors::kNames[i].name, kCss[i].name);
        EXPECT_EQ(Read(kCss[i].name), Read(kCss[i].hash)) << testing::PrintToString(std::wstring(kCss[i].name));
        EXPECT_EQ(CXNamedColors::kNames[i].color, Read(kCss[i].hash));
        if (i > 0) {
            std::wstring previous = CXNamedColors::kNames[i - 1].name, current = CXNamedColors::kNames[i].name;
            for (auto* text : {&previous, &current})
                for (wchar_t& c : *text)
                    c = static_cast<wchar_t>(std::towlower(c));
            EXPECT_LT(previous, current);
        }
    }
}

} // namespace
