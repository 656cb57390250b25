// The browser command line: the registered command cut at its page placeholder and
// the address as one quoted argument, never an address that could break out of it.
#include <gtest/gtest.h>

#include "framework/controls/BrowserCommand.h"

namespace {

TEST(BrowserCommandTest, CutAtThePlaceholderAndQuoteTheAddress)
{
    EXPECT_EQ(BrowserCommand::Build(L"\"C:\\Browser\\b.exe\" -new \"%1\" -x", L"http://example.com/a b"),
              L"\"C:\\Browser\\b.exe\" -new  \"http://example.com/a b\"");
    EXPECT_EQ(BrowserCommand::Build(L"b.exe %1", L"http://e.com/"), L"b.exe  \"http://e.com/\"");
    EXPECT_EQ(BrowserCommand::Build(L"b.exe", L"http://e.com/"), L"b.exe \"http://e.com/\"");
}

TEST(BrowserCommandTest, TrailingBackslashesDoNotEscapeTheClosingQuote)
{
    // 2n backslashes before a quote are n backslashes and the quote closes the argument.
    EXPECT_EQ(BrowserCommand::Build(L"b.exe \"%1\" -x", L"file://C:\\Docs\\"),
              L"b.exe  \"file://C:\\Docs\\\\\"");
    EXPECT_EQ(BrowserCommand::Build(L"b.exe", L"a\\\\"), L"b.exe \"a\\\\\\\\\"");
    EXPECT_EQ(BrowserCommand::Build(L"b.exe", L"\\"), L"b.exe \"\\\\\"");
    EXPECT_EQ(BrowserCommand::Build(L"b.exe", L"a\\b"), L"b.exe \"a\\b\"") << "inner backslashes stay single";
}

TEST(BrowserCommandTest, AddressesThatCouldLeaveTheirQuotesAreRefused)
{
    for (const wchar_t* address : {L"http://e.com/\" -evil", L"http://e.com/\r\nx", L"a\tb", L"x\x7f"})
        EXPECT_EQ(BrowserCommand::Build(L"b.exe \"%1\"", address), L"") << testing::PrintToString(std::wstring(address));
    EXPECT_TRUE(BrowserCommand::IsAcceptableAddress(L"http://e.com/ü?a=1&b=%20"));
}

} // namespace
