#include <gtest/gtest.h>

#include "payload/CodePage1252.h"
#include "payload/NativePayloadHost.h"
#include "payload/PayloadNameRules.h"

class UnsafeName : public testing::TestWithParam<const char*>
{
};

TEST_P(UnsafeName, IsRefusedWithAReason)
{
    std::string reason;
    EXPECT_FALSE(CPayloadNameRules::IsSafeName(GetParam(), reason));
    EXPECT_FALSE(reason.empty());
}

INSTANTIATE_TEST_SUITE_P(PayloadNameRules, UnsafeName,
                         testing::Values("", "\\setup.exe", "\\\\server\\share\\x", "C:\\x", "C:x", "..", "..\\x",
                                         "a\\..\\..\\x", "a\\..", ".\\x", "a\\\\b", "a\\", "a/../x", "/etc/passwd",
                                         "file.txt:stream", "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a\tb",
                                         "dir\\x\x01", "...", "a\\.. ", "name.", "name ", "CON", "nul.txt",
                                         "dir\\com1", "Lpt9.log", "aux", "temp.htar", "TEMP.HTAR", "Temp.hTar"));

TEST(PayloadNameRules, OrdinaryRelativeNamesAreAccepted)
{
    for (const char* name : {"setup.exe", "dir\\sub\\file.ext", "a b\\c d.txt", ".hidden", "x..y", "icon\\x",
                             "COM0", "\xE9t\xE9.txt", "console.log"}) {
        std::string reason;
        EXPECT_TRUE(CPayloadNameRules::IsSafeName(name, reason)) << name << ": " << reason;
    }
}

TEST(PayloadNameRules, PathsFromTheHostMustStayRelativeAndInside)
{
    EXPECT_TRUE(CPayloadNameRules::IsSafeRelativePath("dir/file"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath("/abs"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath("a/../../b"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath(""));
    EXPECT_TRUE(CPayloadNameRules::IsSafeRelativePath("a//b"));
    EXPECT_TRUE(CPayloadNameRules::IsSafeRelativePath("a/...b"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath("a/"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath("./a"));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath("a/."));
    EXPECT_FALSE(CPayloadNameRules::IsSafeRelativePath(".."));
}

TEST(PayloadPath, JoinsWithOneSeparatorAndFindsTheFolder)
{
    EXPECT_EQ(CPayloadPath("/pkg").Join("a/b.txt"), CPayloadPath("/pkg/a/b.txt"));
    EXPECT_EQ(CPayloadPath("/pkg/").Join("a"), CPayloadPath("/pkg/a"));
    EXPECT_EQ(CPayloadPath().Join("a"), CPayloadPath("a"));
    EXPECT_EQ(CPayloadPath("/pkg/a//b.txt").Parent(), CPayloadPath("/pkg/a"));
    EXPECT_EQ(CPayloadPath("/b.txt").Parent(), CPayloadPath("/"));
    EXPECT_EQ(CPayloadPath("b.txt").Parent(), CPayloadPath());
    EXPECT_EQ(CPayloadPath(std::filesystem::path("/x/y")).Native(), "/x/y");
}

TEST(PayloadNameRules, PrintableEscapesControlBytesAndQuotes)
{
    EXPECT_EQ(CPayloadNameRules::Printable("a\x01\"b"), "a\\x01\\x22b");
}

TEST(NativePayloadHost, WidensCodePage1252AndSplitsAtBackslashes)
{
    CNativePayloadHost host("/pkg");
    EXPECT_EQ(host.NameToPath("dir\\\xE9t\xE9 \x80\x9F.txt"), std::filesystem::path(u8"dir/été €Ÿ.txt"));
    EXPECT_EQ(CodePage1252::ToUtf8("\x81\x8D"), "\xC2\x81\xC2\x8D");
}
