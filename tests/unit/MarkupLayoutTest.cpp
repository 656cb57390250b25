// Reading the markup (plain text, web-link ids, tags, font attributes) and laying it
// out with word wrap, measured by a fixed-width measurer: 10 pixels a character
// (12 in bold), lines as high as the font's height.
#include <gtest/gtest.h>

#include "framework/controls/MarkupLayout.h"
#include "framework/controls/MarkupText.h"
#include "framework/controls/MarkupWalker.h"
#include "framework/controls/WrappedText.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class CFixedWidthMeasurer : public ITextMeasurer
{
public:
    void SelectFont(const SMarkupFont& font) override { m_font = font; }
    SMarkupSize Measure(std::wstring_view text) override
    {
        const int width = m_font.weight >= 700 ? 12 : 10;
        return SMarkupSize{static_cast<int>(text.size()) * width, std::abs(m_font.height)};
    }

private:
    SMarkupFont m_font;
};

constexpr ColorRef kText = MakeColorRef(1, 2, 3);
constexpr ColorRef kBack = MakeColorRef(250, 250, 250);

SMarkupStyle Base()
{
    SMarkupStyle base;
    base.font.face = L"Tahoma";
    base.font.height = -16;
    base.textColor = kText;
    base.backColor = kBack;
    return base;
}

struct SFragment
{
    std::wstring text;
    SMarkupStyle style;
};

std::vector<SFragment> Walk(const std::wstring& markup)
{
    CMarkupWalker walker(markup, Base());
    std::vector<SFragment> fragments;
    SFragment fragment;
    while (walker.Next(fragment.text, fragment.style))
        fragments.push_back(fragment);
    return fragments;
}

std::wstring Joined(const std::vector<SFragment>& fragments)
{
    std::wstring text;
    for (const SFragment& fragment : fragments)
        text += fragment.text;
    return text;
}

SMarkupRendering Lay(const std::wstring& markup, int width, int height = 200)
{
    CFixedWidthMeasurer measurer;
    return CMarkupLayout::Lay(markup, Base(), SMarkupRect{0, 0, width, height}, measurer);
}

std::vector<std::wstring> LineTexts(const SMarkupRendering& rendering)
{
    std::vector<std::wstring> texts;
    for (const auto& line : rendering.lines)
        texts.push_back(line.piece.text);
    return texts;
}

TEST(MarkupTextTest, PlainTextDropsTagsAndBreaks)
{
    EXPECT_EQ(MarkupText::PlainText(L"one\ntwo<br>three <b>bold</b> <a href=x>link</a>"),
              L"one two three bold link");
    // A "<" without a later ">" ends the removal.
    EXPECT_EQ(MarkupText::PlainText(L"a<b>b < c"), L"ab < c");
}

TEST(MarkupTextTest, WebLinkIdsBecomeAddressesWhereTheHookKnowsOne)
{
    std::vector<int> asked;
    auto lookUp = [&](int id) {
        asked.push_back(id);
        return id == 7 ? std::wstring(L"http://example.com/seven") : std::wstring();
    };
    EXPECT_EQ(MarkupText::ResolveWebLinkIds(L"see <a weblinkid=7>seven</a> and <A WEBLINKID=7>again</A>", lookUp),
              L"see <a href=http://example.com/seven>seven</a> and <a href=http://example.com/seven>again</A>");
    EXPECT_EQ(asked, (std::vector<int>{7, 7}));
    asked.clear();
    // Unknown ids, mixed case and a missing ">" stay; digits are read as far as they go.
    const std::wstring kept = L"<a weblinkid=12abc>x</a><A weblinkid=7>y</A><a weblinkid=7";
    EXPECT_EQ(MarkupText::ResolveWebLinkIds(kept, lookUp), kept);
    EXPECT_EQ(asked, (std::vector<int>{12}));
}

TEST(MarkupTextTest, AnAddressHoldingAWebLinkIdIsNotResolvedAgain)
{
    int asked = 0;
    // Answers a few times, so that a resolver that searches the address it inserted ends.
    auto lookUp = [&](int) { return ++asked <= 3 ? std::wstring(L"x<a weblinkid=1>") : std::wstring(); };
    EXPECT_EQ(MarkupText::ResolveWebLinkIds(L"<a weblinkid=1>a</a> <a weblinkid=2>b</a>", lookUp),
              L"<a href=x<a weblinkid=1>>a</a> <a href=x<a weblinkid=1>>b</a>");
    EXPECT_EQ(asked, 2) << "one look-up for each id of the markup itself";
}

TEST(MarkupWalkerTest, HugeSizesAreClampedInsteadOfOverflowing)
{
    const std::wstring huge = L"size=\"2147483647\" ";
    const auto fragments = Walk(L"<font " + huge + huge + huge + L">a</font><font size=\"-99999999999999999999\">b" +
                                L"</font><font size=\"4000\" size=\"-1\">c");
    ASSERT_EQ(Joined(fragments), L"abc");
    EXPECT_EQ(fragments[0].style.font.height, -CMarkupWalker::kMaxFontHeight);
    EXPECT_EQ(fragments[1].style.font.height, CMarkupWalker::kMaxFontHeight);
    EXPECT_EQ(fragments[2].style.font.height, -4015) << "sizes within the bounds still add up";
}

TEST(MarkupWalkerTest, TagsInEitherCaseButNeverMixed)
{
    const auto fragments = Walk(L"<b>x</B>y<B>z</b><Font color=\"red\">w</Font><I>i</i><U>u</U><strike>s</STRIKE>");
    ASSERT_GE(fragments.size(), 4u);
    EXPECT_EQ(fragments[0].text, L"x");
    EXPECT_EQ(fragments[0].style.font.weight, 700);
    EXPECT_EQ(fragments[1].text, L"y");
    EXPECT_EQ(fragments[1].style.font.weight, 400);
    EXPECT_EQ(fragments[2].style.font.weight, 700);
    // The mixed-case tags are text, one "<" at a time.
    EXPECT_EQ(Joined(fragments), L"xyz<Font color=\"red\">w<" L"/Font>ius");
    for (const SFragment& fragment : fragments) {
        EXPECT_EQ(fragment.style.textColor, kText);
        EXPECT_EQ(fragment.style.font.italic, fragment.text == L"i");
        EXPECT_EQ(fragment.style.font.underline, fragment.text == L"u");
        EXPECT_EQ(fragment.style.font.strikeOut, fragment.text == L"s");
    }
}

TEST(MarkupWalkerTest, UnbalancedClosingTagsStayAtZero)
{
    const auto fragments = Walk(L"</b></b>a<b>b</b>c<b><b>d</b>e</b>f");
    ASSERT_EQ(Joined(fragments), L"abcdef");
    const int expected[] = {400, 700, 400, 700, 700, 400};
    for (size_t i = 0; i < fragments.size(); ++i)
        EXPECT_EQ(fragments[i].style.font.weight, expected[i]) << i;
}

TEST(MarkupWalkerTest, NestedFontTagsAreClosedOnce)
{
    const auto fragments =
        Walk(L"<font color=\"red\"><font size=\"3\" face=\"Courier New\">A</font>B<font size=\"-2\">C</font>");
    ASSERT_EQ(Joined(fragments), L"ABC");
    EXPECT_EQ(fragments[0].style.textColor, MakeColorRef(255, 0, 0));
    EXPECT_EQ(fragments[0].style.font.height, -19) << "3 pixels taller";
    EXPECT_EQ(fragments[0].style.font.face, L"Courier New");
    EXPECT_EQ(fragments[1].style.textColor, kText);
    EXPECT_EQ(fragments[1].style.font, Base().font);
    EXPECT_EQ(fragments[2].style.font.height, -14);
}

TEST(MarkupWalkerTest, FontAttributes)
{
    const std::wstring longFace(40, L'F');
    const auto fragments = Walk(L"<FONT BGCOLOR=\"#00FF00\" junk COLOR=\"10,20,30\" SIZE=\"2\" size=\"2\" face=\"" +
                                longFace + L"\">x</FONT><font color=\"unknown\">y</font><font color=blue>z");
    ASSERT_EQ(Joined(fragments), L"xyz");
    EXPECT_EQ(fragments[0].style.backColor, MakeColorRef(0, 255, 0));
    EXPECT_EQ(fragments[0].style.textColor, MakeColorRef(10, 20, 30));
    EXPECT_EQ(fragments[0].style.font.height, -20) << "sizes add up";
    EXPECT_EQ(fragments[0].style.font.face, std::wstring(31, L'F'));
    EXPECT_EQ(fragments[1].style.textColor, 0u) << "unreadable colours are black";
    EXPECT_EQ(fragments[2].style.textColor, kText) << "a value without quotes ends the attributes";
}

TEST(MarkupWalkerTest, UnclosedFontAndLinkTagsAreText)
{
    EXPECT_EQ(Joined(Walk(L"<b>a</b><font color=\"red\" b")), L"a<font color=\"red\" b");
    const auto link = Walk(L"x<a href=http://example.com y");
    EXPECT_EQ(Joined(link), L"x<a href=http://example.com y");
    for (const SFragment& fragment : link)
        EXPECT_FALSE(fragment.style.linkOpen);
}

TEST(MarkupWalkerTest, LinksAndBreaks)
{
    const auto fragments = Walk(L"go <a href=\"http://example.com/a b\">here</a><BR>then");
    ASSERT_EQ(fragments.size(), 4u);
    EXPECT_FALSE(fragments[0].style.linkOpen);
    EXPECT_TRUE(fragments[1].style.linkOpen);
    EXPECT_TRUE(fragments[1].style.font.underline);
    EXPECT_EQ(fragments[1].style.linkTarget, L"http://example.com/a b") << "the quotes are not part of the address";
    EXPECT_EQ(fragments[2].text, L"\r\n ");
    EXPECT_FALSE(fragments[3].style.font.underline);
}

TEST(WrappedTextTest, WordsWrapAtSpacesAndLongWordsBetweenCharacters)
{
    CFixedWidthMeasurer measurer;
    measurer.SelectFont(Base().font);
    std::vector<SWrappedLine> lines;
    SMarkupRect layout{0, 0, 120, 200};
    EXPECT_EQ(CWrappedText::Lay(measurer, L"hello world again", layout, 0, lines), 50);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, L"hello world");
    EXPECT_EQ(lines[1].text, L"again");
    EXPECT_EQ(lines[1].y, 16);
    EXPECT_EQ(layout.top, 16);

    lines.clear();
    layout = SMarkupRect{0, 0, 100, 200};
    CWrappedText::Lay(measurer, L"abcdefghijklmno", layout, 0, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, L"abcdefghi");
    EXPECT_EQ(lines[1].text, L"jklmno");
}

TEST(WrappedTextTest, AWordThatDoesNotFitBehindThePreviousFragmentStartsTheNextLine)
{
    CFixedWidthMeasurer measurer;
    measurer.SelectFont(Base().font);
    std::vector<SWrappedLine> lines;
    SMarkupRect layout{0, 0, 100, 200};
    EXPECT_EQ(CWrappedText::Lay(measurer, L"xyz", layout, 80, lines), 30);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x, 0);
    EXPECT_EQ(lines[0].y, 16);
    // A word that fits stays on the line, leading blank included.
    lines.clear();
    layout = SMarkupRect{0, 0, 100, 200};
    EXPECT_EQ(CWrappedText::Lay(measurer, L" ab", layout, 40, lines), 70);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, L" ab");
    EXPECT_EQ(lines[0].x, 40);
}

TEST(WrappedTextTest, LinesBelowTheBottomAreNotDrawn)
{
    CFixedWidthMeasurer measurer;
    measurer.SelectFont(Base().font);
    std::vector<SWrappedLine> lines;
    SMarkupRect layout{0, 0, 20, 40};
    CWrappedText::Lay(measurer, L"a b c", layout, 0, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(layout.top, 40);
    EXPECT_EQ(CWrappedText::Lay(measurer, L"d", layout, 0, lines), 0);
    EXPECT_EQ(lines.size(), 2u);
}

TEST(MarkupLayoutTest, FiveLettersWithFourBreaksMakeFiveLines)
{
    const SMarkupRendering rendering = Lay(L"a<br>b<br>c<BR>d<br>e", 100);
    ASSERT_EQ(LineTexts(rendering), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"}));
    for (size_t i = 0; i < rendering.lines.size(); ++i) {
        EXPECT_EQ(rendering.lines[i].piece.x, 0);
        EXPECT_EQ(rendering.lines[i].piece.y, static_cast<int>(i) * 16);
    }
}

TEST(MarkupLayoutTest, FragmentsContinueTheLineInTheirOwnFont)
{
    const SMarkupRendering rendering = Lay(L"ab<b>cd</b>ef", 200);
    ASSERT_EQ(LineTexts(rendering), (std::vector<std::wstring>{L"ab", L"cd", L"ef"}));
    EXPECT_EQ(rendering.lines[1].piece.x, 20);
    EXPECT_EQ(rendering.lines[2].piece.x, 44) << "bold letters are wider";
    EXPECT_EQ(rendering.styles[rendering.lines[1].style].font.weight, 700);
}

TEST(MarkupLayoutTest, ALinkAcrossTwoLinesGivesTwoAreasWithOneTarget)
{
    const SMarkupRendering rendering = Lay(L"see <a href=\"http://example.com/\">one two</a> end", 100);
    ASSERT_EQ(rendering.links.size(), 2u);
    EXPECT_EQ(rendering.links[0].rect, (SMarkupRect{40, 0, 80, 16}));
    EXPECT_EQ(rendering.links[1].rect, (SMarkupRect{0, 16, 30, 32}));
    for (const SLinkArea& area : rendering.links)
        EXPECT_EQ(area.target, L"http://example.com/");
    ASSERT_EQ(rendering.linkFragments.size(), 1u);
    EXPECT_EQ(rendering.linkFragments[0], (SMarkupRect{0, 0, 100, 200}));
    EXPECT_EQ(LineTexts(rendering).back(), L" end");
}

TEST(MarkupLayoutTest, TheFocusRectangleGoesAroundTheFirstLinkOnly)
{
    const SMarkupRendering rendering =
        Lay(L"see <a href=\"http://example.com/\">one two</a> and <a href=b>x</a> <a href=c>y</a>", 100);
    ASSERT_EQ(rendering.links.size(), 4u);
    EXPECT_EQ(rendering.links[0].link, 1);
    EXPECT_EQ(rendering.links[1].link, 1);
    EXPECT_EQ(rendering.links[2].link, 2);
    EXPECT_EQ(rendering.links[3].link, 3);
    // Both pieces of the first link, a pixel outside them, cut at the client's edges.
    EXPECT_EQ(rendering.focusRect, (SMarkupRect{0, 0, 81, 33}));
    EXPECT_EQ(Lay(L"no links", 100).focusRect, SMarkupRect{});
    EXPECT_EQ(Lay(L"ab <a href=x>c</a>", 100).focusRect, (SMarkupRect{29, 0, 41, 17}));
}

TEST(MarkupLayoutTest, AWebLinkIdWithoutAddressIsShownAsText)
{
    const std::wstring markup =
        MarkupText::ResolveWebLinkIds(L"<a weblinkid=3>word</a>", [](int) { return std::wstring(); });
    const SMarkupRendering rendering = Lay(markup, 400);
    std::wstring shown;
    for (const auto& line : rendering.lines)
        shown += line.piece.text;
    EXPECT_EQ(shown, L"<a weblinkid=3>word");
    EXPECT_TRUE(rendering.links.empty());
}

} // namespace
