#include <gtest/gtest.h>

#include <string>

#include "app/SFXCommandLine.h"

namespace {

CSFXCommandLine Parsed(const wchar_t* text)
{
    CSFXCommandLine line;
    line.Parse(text);
    return line;
}

TEST(SFXCommandLine, EmptyOrNullTextLeavesEverythingUnset)
{
    for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L""}) {
        const CSFXCommandLine line = Parsed(text);
        EXPECT_EQ(line.m_bQuiet, 0);
        EXPECT_EQ(line.m_bWait, 0);
        EXPECT_EQ(line.m_bSkipRebootCheck, 0);
        EXPECT_EQ(line.m_bExtractOnly, 0);
        EXPECT_EQ(line.m_bCleanup, 0);
        EXPECT_TRUE(line.m_strUFPath.empty());
        EXPECT_TRUE(line.m_strSetupArgs.empty());
    }
}

TEST(SFXCommandLine, EachOptionSetsItsFlagAndIsConsumed)
{
    const CSFXCommandLine line = Parsed(L"/q /u /w /s /CLEANUP");
    EXPECT_EQ(line.m_bQuiet, 1);
    EXPECT_EQ(line.m_bExtractOnly, 1);
    EXPECT_EQ(line.m_bWait, 1);
    EXPECT_EQ(line.m_bSkipRebootCheck, 1);
    EXPECT_EQ(line.m_bCleanup, 1);
    EXPECT_EQ(line.m_strSetupArgs, L"");
}

TEST(SFXCommandLine, FlagGivenTwiceStaysOne)
{
    EXPECT_EQ(Parsed(L"/q /q").m_bQuiet, 1);
    EXPECT_EQ(Parsed(L"/q /q").m_strSetupArgs, L"");
}

TEST(SFXCommandLine, OptionsAreExactAndCaseSensitive)
{
    const CSFXCommandLine line = Parsed(L"/Q /q2 /cleanup /Cleanup /W q /ufpath=C:\\x");
    EXPECT_EQ(line.m_bQuiet, 0);
    EXPECT_EQ(line.m_bCleanup, 0);
    EXPECT_EQ(line.m_bWait, 0);
    EXPECT_TRUE(line.m_strUFPath.empty());
    EXPECT_EQ(line.m_strSetupArgs, L" /Q /q2 /cleanup /Cleanup /W q /ufpath=C:\\x");
}

TEST(SFXCommandLine, PassThroughTokensKeepOrderAndGetOneBlankEach)
{
    const CSFXCommandLine line = Parsed(L"ALLUSERS=1 /q \t /l*v log.txt");
    EXPECT_EQ(line.m_bQuiet, 1);
    EXPECT_EQ(line.m_strSetupArgs, L" ALLUSERS=1 /l*v log.txt");
}

TEST(SFXCommandLine, UFPathWithQuotedBlankKeepsBlankAndDropsQuotes)
{
    const CSFXCommandLine line = Parsed(L"/UFPATH=\"C:\\My Files\\\" /w");
    EXPECT_EQ(line.m_strUFPath, L"C:\\My Files\\");
    EXPECT_EQ(line.m_bWait, 1);
    EXPECT_EQ(line.m_strSetupArgs, L"");
}

TEST(SFXCommandLine, UFPathPlainValue)
{
    EXPECT_EQ(Parsed(L"/UFPATH=D:\\Out").m_strUFPath, L"D:\\Out");
}

TEST(SFXCommandLine, UFPathEmptyOrOnlyQuotesGivesEmptyValue)
{
    EXPECT_EQ(Parsed(L"/UFPATH=").m_strUFPath, L"");
    EXPECT_EQ(Parsed(L"/UFPATH=\"\"").m_strUFPath, L"");
    EXPECT_EQ(Parsed(L"/UFPATH=\"\"\"").m_strUFPath, L"");
    EXPECT_EQ(Parsed(L"/UFPATH=").m_strSetupArgs, L"");
}

TEST(SFXCommandLine, UFPathRemovesQuotesOnlyAtEitherEnd)
{
    EXPECT_EQ(Parsed(L"/UFPATH=\"\"C:\\a\"b\"\"").m_strUFPath, L"C:\\a\"b");
}

TEST(SFXCommandLine, LaterUFPathWins)
{
    EXPECT_EQ(Parsed(L"/UFPATH=C:\\one /UFPATH=C:\\two").m_strUFPath, L"C:\\two");
}

TEST(SFXCommandLine, UFPathOnlyCountsAtTheTokenStart)
{
    const CSFXCommandLine line = Parsed(L"x/UFPATH=C:\\a");
    EXPECT_TRUE(line.m_strUFPath.empty());
    EXPECT_EQ(line.m_strSetupArgs, L" x/UFPATH=C:\\a");
}

TEST(SFXCommandLine, LeadingQuoteDoesNotOpenQuotedPart)
{
    const CSFXCommandLine line = Parsed(L"\"a b\" /q");
    EXPECT_EQ(line.m_bQuiet, 0);
    EXPECT_EQ(line.m_strSetupArgs, L" \"a b\" /q");
}

TEST(SFXCommandLine, QuoteInsideTokenKeepsBlanksTogether)
{
    const CSFXCommandLine line = Parsed(L"/v\"INSTALLDIR=C:\\Program Files\" /q");
    EXPECT_EQ(line.m_bQuiet, 1);
    EXPECT_EQ(line.m_strSetupArgs, L" /v\"INSTALLDIR=C:\\Program Files\"");
}

TEST(SFXCommandLine, EscapedQuotesDoNotToggleOutsideUFPath)
{
    const CSFXCommandLine line = Parsed(L"X=\\\"a b\\\" /w");
    EXPECT_EQ(line.m_bWait, 1);
    EXPECT_EQ(line.m_strSetupArgs, L" X=\\\"a b\\\"");
}

TEST(SFXCommandLine, EscapedQuoteTogglesInsideUFPath)
{
    // The quote after the backslash closes the quoted part, so the blank ends the token.
    const CSFXCommandLine line = Parsed(L"/UFPATH=\"C:\\x\\\" /q");
    EXPECT_EQ(line.m_strUFPath, L"C:\\x\\");
    EXPECT_EQ(line.m_bQuiet, 1);
}

TEST(SFXCommandLine, UnterminatedQuoteRunsToTheEnd)
{
    const CSFXCommandLine line = Parsed(L"a\"b /q /w");
    EXPECT_EQ(line.m_bQuiet, 0);
    EXPECT_EQ(line.m_bWait, 0);
    EXPECT_EQ(line.m_strSetupArgs, L" a\"b /q /w");
}

TEST(SFXCommandLine, TrailingBlanksGiveOneEmptyToken)
{
    EXPECT_EQ(Parsed(L"/q   ").m_strSetupArgs, L" ");
    EXPECT_EQ(Parsed(L"a \t").m_strSetupArgs, L" a ");
    EXPECT_EQ(Parsed(L"   ").m_strSetupArgs, L" ");
}

TEST(SFXCommandLine, LeadingAndRepeatedBlanksAreSkipped)
{
    EXPECT_EQ(Parsed(L"  \t a   b").m_strSetupArgs, L" a b");
}

TEST(SFXCommandLine, SingleCharacterTokens)
{
    EXPECT_EQ(Parsed(L"a").m_strSetupArgs, L" a");
    EXPECT_EQ(Parsed(L"\"").m_strSetupArgs, L" \"");
    EXPECT_EQ(Parsed(L"\" /q").m_strSetupArgs, L" \"");
}

TEST(SFXCommandLine, LongTokenIsCutTo1023Characters)
{
    const std::wstring token(1100, L'x');
    const CSFXCommandLine line = Parsed((token + L" /q").c_str());
    EXPECT_EQ(line.m_strSetupArgs, L" " + std::wstring(1023, L'x'));
    EXPECT_EQ(line.m_bQuiet, 1);
}

TEST(SFXCommandLine, TokenOfExactly1023CharactersIsKept)
{
    const std::wstring token(1023, L'y');
    EXPECT_EQ(Parsed(token.c_str()).m_strSetupArgs, L" " + token);
}

TEST(SFXCommandLine, CutTokenIsComparedAfterTheCut)
{
    // A long "/UFPATH=" token is still an "/UFPATH=" token, with its value cut.
    const std::wstring value(1100, L'p');
    const CSFXCommandLine line = Parsed((L"/UFPATH=" + value).c_str());
    EXPECT_EQ(line.m_strUFPath, std::wstring(1023 - 8, L'p'));
}

TEST(SFXCommandLine, TabSeparatesTokens)
{
    const CSFXCommandLine line = Parsed(L"/q\t/w");
    EXPECT_EQ(line.m_bQuiet, 1);
    EXPECT_EQ(line.m_bWait, 1);
}

TEST(SFXCommandLine, OtherWhitespaceIsPartOfTheToken)
{
    EXPECT_EQ(Parsed(L"/q\n/w").m_strSetupArgs, L" /q\n/w");
}

} // namespace
