#include <gtest/gtest.h>

#include "framework/catalogue/CatalogKeyLocation.h"
#include "framework/catalogue/OvraSXSError.h"
#include "framework/catalogue/ToHResult.h"
#include "framework/catalogue/Utf8Text.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

TEST(ToHResult, MapsErrorNumbersAndForeignExceptions)
{
    EXPECT_EQ(static_cast<std::uint32_t>(ToHResult(COvraSXSError(5, 0x50000))), 0x80070005u);
    EXPECT_EQ(static_cast<std::uint32_t>(ToHResult(COvraSXSError(0x1234ABCD, 0x10000))), 0x8007ABCDu);
    EXPECT_EQ(ToHResult(COvraSXSError(0, 0x10000)), 0);
    // A number that is negative as a signed value is an HRESULT already.
    EXPECT_EQ(static_cast<std::uint32_t>(ToHResult(COvraSXSError(0x80004005u, 0x50000))), 0x80004005u);
    EXPECT_EQ(static_cast<std::uint32_t>(ToHResult(std::runtime_error("x"))), 0x8000FFFFu);
}

TEST(OvraSXSError, TextNamesNumberAndOriginAndBelongsToTheObject)
{
    const COvraSXSError first(5, 0x50000);
    const COvraSXSError second(1630, 0x10000);
    EXPECT_STREQ(first.what(), "COvraSXSError 0x00000005 -> 0x00050000 [  ]");
    EXPECT_STREQ(second.what(), "COvraSXSError 0x0000065E -> 0x00010000 [  ]");
    const COvraSXSError copy(first);
    EXPECT_STREQ(copy.what(), first.what());

    std::string fromThread;
    std::thread other([&] { fromThread = COvraSXSError(2, 0x70000).what(); });
    other.join();
    EXPECT_EQ(fromThread, "COvraSXSError 0x00000002 -> 0x00070000 [  ]");
    EXPECT_STREQ(first.what(), "COvraSXSError 0x00000005 -> 0x00050000 [  ]");
}

TEST(JoinKeyPath, PutsOneBackslashAtTheSeam)
{
    EXPECT_EQ(JoinKeyPath(L"A\\", L"\\B"), L"A\\B");
    EXPECT_EQ(JoinKeyPath(L"A", L"B"), L"A\\B");
    EXPECT_EQ(JoinKeyPath(L"A\\", L"B"), L"A\\B");
    EXPECT_EQ(JoinKeyPath(L"A", L"\\B"), L"A\\B");
    EXPECT_EQ(JoinKeyPath(L"", L"B"), L"B");
    EXPECT_EQ(JoinKeyPath(L"A", L""), L"A");
    EXPECT_EQ(JoinKeyPath(L"A\\", L""), L"A\\");
}

TEST(WideFromUtf8, DecodesAndReplacesIllFormedSequences)
{
    EXPECT_EQ(WideFromUtf8("Ovra \xC3\xA9\xE2\x82\xAC"), L"Ovra \u00E9\u20AC");
    EXPECT_EQ(WideFromUtf8("\xF0\x9F\x98\x80").size(), sizeof(wchar_t) == 2 ? 2u : 1u);
    EXPECT_EQ(WideFromUtf8("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");
    EXPECT_EQ(WideFromUtf8("\xED\xA0\x80x"), L"\uFFFD\uFFFD\uFFFDx");
}

} // namespace
