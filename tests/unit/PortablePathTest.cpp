// Path helpers by text alone: components, parents, names, extensions and joining, with
// both separators, repeated separators and bare drives.
#include <gtest/gtest.h>

#include "framework/files/PortablePath.h"

namespace {

using namespace PortablePath;

TEST(PortablePathTest, ComponentsOfADriveADirectoryAndAFile)
{
    const wchar_t* path = L"C:\\Program Files\\setup.exe";
    EXPECT_EQ(GetComponentCount(path), 3u);
    EXPECT_STREQ(GetComponent(path, 0).c_str(), L"C:\\");
    EXPECT_STREQ(GetComponent(path, 1).c_str(), L"Program Files");
    EXPECT_STREQ(GetComponent(path, 2).c_str(), L"setup.exe");
    EXPECT_STREQ(GetComponent(path, 3).c_str(), L"");

    EXPECT_EQ(GetComponentCount(L"\\\\server//share\\dir\\"), 3u);
    EXPECT_STREQ(GetComponent(L"\\\\server//share\\dir\\", 1).c_str(), L"share");
    EXPECT_EQ(GetComponentCount(L"relative/name"), 2u);
    EXPECT_EQ(GetComponentCount(L"D:"), 1u);
    EXPECT_STREQ(GetComponent(L"D:", 0).c_str(), L"D:\\");
    EXPECT_EQ(GetComponentCount(L""), 0u);
    EXPECT_EQ(GetComponentCount(L"\\"), 0u);
    // A colon further in is no drive.
    EXPECT_STREQ(GetComponent(L"ab:c\\d", 0).c_str(), L"ab:c");
}

TEST(PortablePathTest, ParentDropsComponentsAndTrailingSeparators)
{
    EXPECT_STREQ(GetParent(L"C:\\dir\\sub\\file.txt").c_str(), L"C:\\dir\\sub");
    EXPECT_STREQ(GetParent(L"C:\\dir\\sub\\\\").c_str(), L"C:\\dir");
    EXPECT_STREQ(GetParent(L"C:\\dir\\sub\\file.txt", 2).c_str(), L"C:\\dir");
    EXPECT_STREQ(GetParent(L"C:/dir//sub").c_str(), L"C:/dir");
    // The drive keeps its backslash; beyond it nothing is left.
    EXPECT_STREQ(GetParent(L"C:\\dir").c_str(), L"C:\\");
    EXPECT_STREQ(GetParent(L"C:\\dir\\sub", 2).c_str(), L"C:\\");
    EXPECT_STREQ(GetParent(L"C:\\dir", 2).c_str(), L"");
    EXPECT_STREQ(GetParent(L"C:\\").c_str(), L"");
    EXPECT_STREQ(GetParent(L"C:file").c_str(), L"C:\\");
    EXPECT_STREQ(GetParent(L"\\dir").c_str(), L"\\");
    EXPECT_STREQ(GetParent(L"\\dir\\sub", 2).c_str(), L"\\");
    EXPECT_STREQ(GetParent(L"file.txt").c_str(), L"");
    EXPECT_STREQ(GetParent(L"").c_str(), L"");
    EXPECT_STREQ(GetParent(L"C:\\dir\\\\", 0).c_str(), L"C:\\dir");
}

TEST(PortablePathTest, NameTitleAndExtensionOfTheLastComponentOnly)
{
    EXPECT_STREQ(GetFileName(L"C:\\my.dir\\archive.tar.gz").c_str(), L"archive.tar.gz");
    EXPECT_STREQ(GetFileTitle(L"C:\\my.dir\\archive.tar.gz").c_str(), L"archive.tar");
    EXPECT_STREQ(GetExtension(L"C:\\my.dir\\archive.tar.gz").c_str(), L".gz");

    EXPECT_STREQ(GetExtension(L"C:\\my.dir\\README").c_str(), L"");
    EXPECT_STREQ(GetFileTitle(L"C:\\my.dir\\README").c_str(), L"README");
    EXPECT_STREQ(GetExtension(L"dir/.profile").c_str(), L".profile");
    EXPECT_STREQ(GetFileTitle(L"dir/.profile").c_str(), L"");
    EXPECT_STREQ(GetExtension(L"name.").c_str(), L".");
    EXPECT_STREQ(GetFileName(L"C:setup.exe").c_str(), L"setup.exe");

    // Named as directories by their form.
    EXPECT_STREQ(GetFileName(L"C:\\dir\\").c_str(), L"");
    EXPECT_STREQ(GetFileName(L"C:\\dir/").c_str(), L"");
    EXPECT_STREQ(GetFileName(L"C:").c_str(), L"");
    EXPECT_STREQ(GetExtension(L"C:\\dir.d\\").c_str(), L"");
}

TEST(PortablePathTest, JoiningPutsExactlyOneBackslashBetween)
{
    EXPECT_STREQ(Join(L"C:\\dir", L"file").c_str(), L"C:\\dir\\file");
    EXPECT_STREQ(Join(L"C:\\dir\\", L"file").c_str(), L"C:\\dir\\file");
    EXPECT_STREQ(Join(L"C:\\dir\\\\", L"\\\\file").c_str(), L"C:\\dir\\file");
    EXPECT_STREQ(Join(L"C:/dir/", L"/sub/file").c_str(), L"C:/dir\\sub/file");
    EXPECT_STREQ(Join(L"C:", L"file").c_str(), L"C:\\file");
    EXPECT_STREQ(Join(L"C:\\", L"file").c_str(), L"C:\\file");
    EXPECT_STREQ(Join(L"\\", L"file").c_str(), L"\\file");
    EXPECT_STREQ(Join(L"C:\\dir", L"").c_str(), L"C:\\dir\\");
    EXPECT_STREQ(Join(L"", L"file").c_str(), L"file");
}

TEST(PortablePathTest, TrailingSeparatorsGoAndABareDriveGainsItsBackslash)
{
    EXPECT_STREQ(RemoveTrailingSeparators(L"C:\\dir\\/\\").c_str(), L"C:\\dir");
    EXPECT_STREQ(RemoveTrailingSeparators(L"C:").c_str(), L"C:\\");
    EXPECT_STREQ(RemoveTrailingSeparators(L"c://").c_str(), L"c:\\");
    EXPECT_STREQ(RemoveTrailingSeparators(L"\\\\").c_str(), L"\\");
    EXPECT_STREQ(RemoveTrailingSeparators(L"dir").c_str(), L"dir");
    EXPECT_STREQ(RemoveTrailingSeparators(L"").c_str(), L"");
    EXPECT_TRUE(IsBareDrive(L"z:"));
    EXPECT_FALSE(IsBareDrive(L"1:"));
    EXPECT_FALSE(IsBareDrive(L"C:\\"));
}

} // namespace
