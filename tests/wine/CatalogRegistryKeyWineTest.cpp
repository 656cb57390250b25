// The catalogue's registry keys against the test prefix's real registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "framework/catalogue/CatalogRegistryKey.h"
#include "framework/catalogue/OvraSXSError.h"
#include "framework/catalogue/ProductCatalog.h"
#include "win32/Handle.h"

#include <string>

namespace {

constexpr wchar_t kTestRoot[] = L"Software\\Ovra\\KeyTest";

std::uint32_t Code(CatalogHResult result)
{
    return static_cast<std::uint32_t>(result);
}

CCatalogRegistryKey UserKey(const std::wstring& path, std::uint32_t access = KEY_READ | KEY_WRITE)
{
    return CCatalogRegistryKey(SCatalogKeyLocation{path, access, SCatalogKeyLocation::kCurrentUser});
}

class CatalogRegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }

    static std::wstring Path(const wchar_t* leaf) { return std::wstring(kTestRoot) + L"\\" + leaf; }
};

TEST_F(CatalogRegistryKeyTest, CreatedKeyStoresAndReadsStrings)
{
    CCatalogRegistryKey key = UserKey(Path(L"Values"));
    ASSERT_EQ(key.Create(), 0);
    ASSERT_EQ(key.SetString(L"FamilyLanguage", L"de-DE"), 0);
    ASSERT_EQ(key.SetString(L"Empty", L""), 0);

    CCatalogRegistryKey reader = UserKey(Path(L"Values"), KEY_READ);
    std::wstring value;
    ASSERT_EQ(reader.QueryString(L"FamilyLanguage", value), 0);
    EXPECT_EQ(value, L"de-DE");
    ASSERT_EQ(reader.QueryString(L"Empty", value), 0);
    EXPECT_EQ(value, L"");
    EXPECT_EQ(reader.Exists(), 0);
}

TEST_F(CatalogRegistryKeyTest, MissingValuesWrongTypesAndMissingKeysFail)
{
    CCatalogRegistryKey key = UserKey(Path(L"Types"));
    EXPECT_EQ(Code(key.SetString(L"Before", L"x")), 0x80070002u) << "SetString never creates the key";
    EXPECT_EQ(Code(key.Exists()), 0x80070006u);
    ASSERT_EQ(key.Create(), 0);
    const DWORD number = 1;
    ASSERT_EQ(::RegSetValueExW(key.GetHandle(), L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                               sizeof(number)),
              ERROR_SUCCESS);
    const wchar_t expandable[] = L"%TEMP%";
    ASSERT_EQ(::RegSetValueExW(key.GetHandle(), L"Expandable", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(expandable), sizeof(expandable)),
              ERROR_SUCCESS);
    std::wstring value = L"unchanged";
    EXPECT_EQ(Code(key.QueryString(L"Absent", value)), 0x80070002u);
    EXPECT_EQ(Code(key.QueryString(L"Number", value)), 0x8007065Du);
    EXPECT_EQ(Code(key.QueryString(L"Expandable", value)), 0x8007065Du);
    EXPECT_EQ(value, L"unchanged");
}

TEST_F(CatalogRegistryKeyTest, DefaultKeyFailsEveryOperationWithInvalidAccess)
{
    CCatalogRegistryKey key;
    EXPECT_EQ(key.GetAccessMask(), 0xE003Du);
    std::wstring value;
    EXPECT_EQ(Code(key.Create()), 0x8007000Cu);
    EXPECT_EQ(Code(key.QueryString(L"x", value)), 0x8007000Cu);
    EXPECT_EQ(Code(key.SetString(L"x", L"y")), 0x8007000Cu);
    EXPECT_EQ(Code(key.Exists()), 0x80070006u);
}

// Security descriptors in the registry, for a key the test locks and unlocks again.
bool SetKeyDacl(HKEY key, const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const CLocalHandle owner(descriptor);
    return ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
}

TEST_F(CatalogRegistryKeyTest, KeyRefusedWithAccessDeniedDoesNotExist)
{
    // Everyone may change the key's security and do nothing else with it.
    const std::wstring path = Path(L"Locked");
    HKEY created = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                                nullptr),
              ERROR_SUCCESS);
    const bool locked = SetKeyDacl(created, L"D:P(A;;WD;;;WD)");
    ::RegCloseKey(created);
    ASSERT_TRUE(locked);

    HKEY probe = nullptr;
    const LSTATUS direct = ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &probe);
    if (direct == ERROR_SUCCESS)
        ::RegCloseKey(probe);
    EXPECT_EQ(direct, ERROR_ACCESS_DENIED) << "the prefix does not enforce the key's security";

    CCatalogRegistryKey key = UserKey(path, KEY_READ);
    EXPECT_EQ(Code(key.Exists()), 0x80070006u);
    std::wstring value;
    EXPECT_EQ(Code(key.QueryString(L"x", value)), 0x80070005u);

    // Unlocked again, so that the tree can be removed.
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &probe), ERROR_SUCCESS);
    EXPECT_TRUE(SetKeyDacl(probe, L"D:P(A;;KA;;;WD)"));
    ::RegCloseKey(probe);
}

TEST_F(CatalogRegistryKeyTest, ChildKeepsRootAndAccessAndJoinsPaths)
{
    CCatalogRegistryKey parent = UserKey(std::wstring(kTestRoot) + L"\\", KEY_READ | KEY_WRITE);
    CCatalogRegistryKey child;
    ASSERT_EQ(parent.OpenChild(L"\\Child", child), 0);
    EXPECT_EQ(child.GetPath(), Path(L"Child"));
    EXPECT_EQ(child.GetAccessMask(), static_cast<std::uint32_t>(KEY_READ | KEY_WRITE));
    EXPECT_EQ(child.GetRootSelector(), SCatalogKeyLocation::kCurrentUser);
    ASSERT_EQ(child.Create(), 0);
    ASSERT_EQ(child.SetString(L"v", L"1"), 0);

    // An assigned key opens its own handle; closing the source leaves it working.
    CCatalogRegistryKey copy;
    copy = child;
    EXPECT_EQ(copy.GetHandle(), nullptr);
    child.Close();
    EXPECT_EQ(child.GetPath(), L"");
    EXPECT_EQ(child.GetHandle(), nullptr);
    std::wstring value;
    ASSERT_EQ(copy.QueryString(L"v", value), 0);
    EXPECT_EQ(value, L"1");
}

TEST_F(CatalogRegistryKeyTest, KeysOfOlderGenerationsAreReadOnly)
{
    CProductCatalog catalog(false);
    CCatalogRegistryKey older;
    ASSERT_EQ(catalog.GetInstallationKey(2, KEY_WRITE, 1010, older), 0);
    EXPECT_EQ(older.GetAccessMask(), static_cast<std::uint32_t>(READ_CONTROL));
    EXPECT_EQ(older.GetPath(), L"Software\\Ovra\\Suite 2016\\Office Classic\\Installation");

    // The key exists; the read-only handle still may not write to it.
    HKEY created = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, older.GetPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &created, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(created);
    EXPECT_EQ(older.Exists(), 0);
    EXPECT_EQ(Code(older.SetString(L"InstalledLanguages", L"DEU")), 0x80070005u);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ovra\\Suite 2016");

    CCatalogRegistryKey current;
    ASSERT_EQ(catalog.GetApplicationsSharedKey(1, KEY_WRITE, 1034, current), 0);
    EXPECT_EQ(current.GetAccessMask(), static_cast<std::uint32_t>(KEY_WRITE));
    EXPECT_EQ(current.GetRootSelector(), 1);
    EXPECT_EQ(Code(catalog.GetApplicationsSharedKey(3, KEY_WRITE, 1034, current)), 0x8007000Du);
    EXPECT_EQ(Code(catalog.GetInstallationKey(2, KEY_WRITE, -1, current)), 0x8007065Eu);
}

TEST(OvraSXSErrorText, CarriesTheSystemsOneLineMessage)
{
    wchar_t* message = nullptr;
    ASSERT_GT(::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                               nullptr, 5, LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&message), 0, nullptr),
              0u);
    const CLocalHandle owner(message);
    char ansi[512] = {};
    ::WideCharToMultiByte(CP_ACP, 0, message, -1, ansi, sizeof(ansi), nullptr, nullptr);
    const std::string expected = std::string("COvraSXSError 0x00000005 -> 0x00050000 [ ") + ansi + " ]";
    EXPECT_EQ(COvraSXSError(5, 0x50000).what(), expected);
    EXPECT_EQ(expected.find('\n'), std::string::npos);
    EXPECT_GT(std::string(ansi).size(), 3u);
    EXPECT_STREQ(COvraSXSError(0xE0000001u, 0x50000).what(), "COvraSXSError 0xE0000001 -> 0x00050000 [  ]");
}

} // namespace
