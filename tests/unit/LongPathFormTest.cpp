#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/LongPathForm.h"

namespace {

const std::wstring kCurrent = L"C:\\work\\dir";

std::wstring Make(const std::wstring& path, const std::wstring& current = kCurrent)
{
    return CLongPathForm::Make(path, current);
}

// A name of exactly `length` units.
std::wstring Name(size_t length, wchar_t fill = L'n')
{
    return std::wstring(length, fill);
}

// The classic path a "\\?\" path stands for.
std::wstring Classic(const std::wstring& made)
{
    if (made.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + made.substr(8);
    if (made.rfind(L"\\\\?\\", 0) == 0)
        return made.substr(4);
    return made;
}

std::vector<std::wstring> ComponentsOf(const std::wstring& path)
{
    std::vector<std::wstring> components;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find_first_of(L"\\/", start);
        components.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return components;
}

TEST(LongPathForm, ShortDrivePathsStayClassic)
{
    EXPECT_EQ(Make(L"C:\\Temp\\OvraInstallFiles\\OVRA1\\setup.exe"), L"C:\\Temp\\OvraInstallFiles\\OVRA1\\setup.exe");
    EXPECT_EQ(Make(L"C:\\Temp\\"), L"C:\\Temp\\");
    EXPECT_EQ(Make(L"d:\\"), L"d:\\");
}

TEST(LongPathForm, TheLimitIsTheFolderLimitOfTheClassicForm)
{
    const std::wstring below = L"C:\\" + Name(CLongPathForm::kClassicLimit - 4);
    const std::wstring at = below + L"x";
    ASSERT_EQ(below.size(), CLongPathForm::kClassicLimit - 1);
    EXPECT_EQ(Make(below), below);
    EXPECT_EQ(Make(at), L"\\\\?\\" + at);
}

TEST(LongPathForm, LongDrivePathsTakeTheDeviceForm)
{
    const std::wstring path = L"C:\\Temp\\OvraInstallFiles\\OVRA1\\" + Name(100) + L"\\" + Name(100) + L"\\" +
                              Name(170, L'f') + L".dll";
    ASSERT_GE(path.size(), 400u);
    EXPECT_EQ(Make(path), L"\\\\?\\" + path);
}

TEST(LongPathForm, LongSharePathsTakeTheUncDeviceForm)
{
    const std::wstring tail = Name(120) + L"\\" + Name(140) + L"\\file.txt";
    EXPECT_EQ(Make(L"\\\\server\\share\\" + tail), L"\\\\?\\UNC\\server\\share\\" + tail);
    EXPECT_EQ(Make(L"//server/share/" + tail), L"\\\\?\\UNC\\server\\share\\" + tail);
    EXPECT_EQ(Make(L"\\\\server\\share\\dir\\"), L"\\\\server\\share\\dir\\");
    // Above the share there is nothing to climb to.
    EXPECT_EQ(Make(L"\\\\server\\share\\..\\..\\x"), L"\\\\server\\share\\x");
}

TEST(LongPathForm, ASharePathNeedsServerAndShare)
{
    EXPECT_EQ(Make(L"\\\\server"), L"");
    EXPECT_EQ(Make(L"\\\\server\\"), L"");
    EXPECT_EQ(Make(L"\\\\\\share\\x"), L"");
    EXPECT_EQ(Make(L"\\\\server\\share"), L"\\\\server\\share\\");
}

TEST(LongPathForm, MixedSeparatorsBecomeBackslashes)
{
    EXPECT_EQ(Make(L"C:/Temp//Ovra\\\\OVRA1/a/b.txt"), L"C:\\Temp\\Ovra\\OVRA1\\a\\b.txt");
    const std::wstring made = Make(L"C:/" + Name(200) + L"/" + Name(100) + L"\\x");
    EXPECT_EQ(made, L"\\\\?\\C:\\" + Name(200) + L"\\" + Name(100) + L"\\x");
    EXPECT_EQ(made.find(L'/'), std::wstring::npos);
}

TEST(LongPathForm, RelativeRootsAreResolvedAgainstTheCurrentDirectory)
{
    EXPECT_EQ(Make(L"out\\OVRA1\\a.txt"), L"C:\\work\\dir\\out\\OVRA1\\a.txt");
    EXPECT_EQ(Make(L"..\\out\\"), L"C:\\work\\out\\");
    EXPECT_EQ(Make(L".\\out"), L"C:\\work\\dir\\out");
    EXPECT_EQ(Make(L"\\out\\x"), L"C:\\out\\x");
    EXPECT_EQ(Make(L"\\out\\x", L"\\\\server\\share\\dir"), L"\\\\server\\share\\out\\x");
    EXPECT_EQ(Make(L"out", L"\\\\server\\share\\dir\\"), L"\\\\server\\share\\dir\\out");
    // "C:name" is relative to that drive's current folder, known only for our drive.
    EXPECT_EQ(Make(L"c:out\\x"), L"C:\\work\\dir\\out\\x");
    EXPECT_EQ(Make(L"D:out\\x"), L"D:\\out\\x");
    EXPECT_EQ(Make(L"out", L""), L"");
    EXPECT_EQ(Make(L"out", L"relative\\dir"), L"");

    const std::wstring deep = Name(130) + L"\\" + Name(130) + L"\\a.txt";
    EXPECT_EQ(Make(deep), L"\\\\?\\C:\\work\\dir\\" + deep);
    EXPECT_EQ(Make(L"..\\" + deep, L"\\\\server\\share\\dir"), L"\\\\?\\UNC\\server\\share\\" + deep);
}

TEST(LongPathForm, DotsAndDoubleDotsNeverReachTheSystem)
{
    EXPECT_EQ(Make(L"C:\\a\\.\\b\\..\\c"), L"C:\\a\\c");
    EXPECT_EQ(Make(L"C:\\..\\..\\x"), L"C:\\x");
    EXPECT_EQ(Make(L"C:\\a\\b\\.."), L"C:\\a");
    const std::wstring long1 = Make(L"C:\\" + Name(200) + L"\\.\\skip\\..\\" + Name(100) + L"\\.\\x.txt");
    EXPECT_EQ(long1, L"\\\\?\\C:\\" + Name(200) + L"\\" + Name(100) + L"\\x.txt");
}

// The classic form drops one dot from a folder's name and every dot and space from the
// end of the last name; the device form keeps them, so they go before the prefix.
TEST(LongPathForm, TrailingDotsAndSpacesAreTrimmedAsTheClassicFormTrimsThem)
{
    EXPECT_EQ(Make(L"C:\\Out.\\OVRA1\\a.txt"), L"C:\\Out\\OVRA1\\a.txt");
    // Normalized again by the system, "Out.\\" would lose its dot: kept in the device form.
    EXPECT_EQ(Make(L"C:\\Out..\\OVRA1\\"), L"\\\\?\\C:\\Out.\\OVRA1\\");
    EXPECT_EQ(Make(L"C:\\Out. \\OVRA1\\"), L"C:\\Out. \\OVRA1\\");
    EXPECT_EQ(Make(L"C:\\Out\\name. . "), L"C:\\Out\\name");
    EXPECT_EQ(Make(L"C:\\Out\\ends.\\"), L"C:\\Out\\ends\\");
    EXPECT_EQ(Make(L"C:\\Out\\   "), L"C:\\Out\\");
    const std::wstring root = L"C:\\" + Name(150) + L".\\" + Name(100) + L" \\";
    EXPECT_EQ(Make(root + L"OVRA1\\a.txt"), L"\\\\?\\C:\\" + Name(150) + L"\\" + Name(100) + L" \\OVRA1\\a.txt");
    EXPECT_EQ(Make(L"C:\\" + Name(250) + L"\\last. "), L"\\\\?\\C:\\" + Name(250) + L"\\last");
    // "..." as a folder would become ".." to the system: no path at all.
    EXPECT_EQ(Make(L"C:\\...\\x"), L"");
    EXPECT_EQ(Make(L"C:\\" + Name(250) + L"\\..\\..\\...\\x"), L"");
}

TEST(LongPathForm, DevicePathsAreTakenAsTheyAre)
{
    for (const std::wstring& path : {std::wstring(L"\\\\?\\C:\\a\\.\\b"), std::wstring(L"\\\\.\\PhysicalDrive0"),
                                     std::wstring(L"\\\\?\\UNC\\server\\share\\x. "), std::wstring(L"\\??\\C:\\x")})
        EXPECT_EQ(Make(path), path);
}

TEST(LongPathForm, EveryLongPathIsInTheDeviceFormAndMeansTheSameFile)
{
    const std::vector<std::wstring> roots = {L"C:\\Temp\\OvraInstallFiles\\",
                                             L"c:/Users/u/AppData/Local/Temp//OvraInstallFiles/",
                                             L"\\\\server\\share\\installs\\",
                                             L"relative\\root.\\",
                                             L"..\\up \\",
                                             L"C:\\Out..\\"};
    const std::vector<std::wstring> currents = {kCurrent, L"D:\\", L"\\\\host\\data\\deep\\er"};
    for (const std::wstring& root : roots) {
        for (const std::wstring& current : currents) {
            for (size_t depth = 1; depth <= 8; ++depth) {
                std::wstring path = root + L"OVRA20191102234416024\\";
                for (size_t level = 0; level < depth; ++level)
                    path += L"deeply-nested-component-" + std::to_wstring(level) + L"\\.\\";
                path += L"long-file-name.dll";
                const std::wstring normalized = CLongPathForm::Normalize(path, current);
                const std::wstring made = CLongPathForm::Make(path, current);
                ASSERT_FALSE(normalized.empty()) << path;
                const bool device = made.rfind(L"\\\\?\\", 0) == 0;
                // The system normalizes a classic path once more; a device path it takes as it is.
                EXPECT_EQ(device ? Classic(made) : CLongPathForm::Normalize(made, L""), normalized) << path;
                if (made.size() >= CLongPathForm::kClassicLimit) {
                    EXPECT_TRUE(device) << made;
                }
                EXPECT_EQ(normalized.find(L'/'), std::wstring::npos) << normalized;
                const std::vector<std::wstring> components = ComponentsOf(Classic(made).substr(2));
                for (size_t i = 1; i < components.size(); ++i) {
                    EXPECT_NE(components[i], L".") << made;
                    EXPECT_NE(components[i], L"..") << made;
                    if (i + 1 < components.size()) {
                        EXPECT_FALSE(components[i].empty()) << made;
                    }
                }
            }
        }
    }
}

TEST(LongPathForm, ShortPathsTakeTheDeviceFormOnRequest)
{
    EXPECT_EQ(CLongPathForm::ToDeviceForm(Make(L"C:/a/../b")), L"\\\\?\\C:\\b");
    EXPECT_EQ(CLongPathForm::ToDeviceForm(Make(L"\\\\srv\\sh\\x\\")), L"\\\\?\\UNC\\srv\\sh\\x\\");
    EXPECT_EQ(CLongPathForm::ToDeviceForm(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(CLongPathForm::ToDeviceForm(L""), L"");
}

TEST(LongPathForm, VolumeLengthCoversTheVolumeAndItsSeparator)
{
    EXPECT_EQ(CLongPathForm::VolumeLength(L"C:\\a\\b"), 3u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"\\\\?\\C:\\a"), 7u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"\\\\server\\share\\a"), 15u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"\\\\server\\share"), 14u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"\\\\?\\UNC\\server\\share\\a"), 21u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"relative"), 0u);
    EXPECT_EQ(CLongPathForm::VolumeLength(L"\\\\?\\UNC\\server"), 0u);
}

} // namespace
