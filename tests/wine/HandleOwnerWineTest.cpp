// The handle owners' out-parameter form: a call writes its new handle straight into
// the owner, which closes the one it held first and the new one at its end.
#include "win32/Handle.h"

#include <gtest/gtest.h>

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(HandleOwnerPut, ClosesTheHeldHandleAndOwnsTheWrittenOne)
{
    const HANDLE first = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(first, nullptr);
    HANDLE written = nullptr;
    {
        CKernelHandle owner(first);
        HANDLE* target = owner.Put();
        EXPECT_FALSE(IsOpen(first));
        EXPECT_FALSE(owner.IsValid());
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), target,
                                      0, FALSE, DUPLICATE_SAME_ACCESS));
        written = owner.Get();
        ASSERT_NE(written, nullptr);
        EXPECT_TRUE(IsOpen(written));
    }
    EXPECT_FALSE(IsOpen(written));
}

TEST(HandleOwnerPut, RegistryKeyOpenedThroughPutAndEmptyAfterAFailedOpen)
{
    CRegKeyHandle key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    ASSERT_TRUE(key);
    DWORD subKeys = 0;
    EXPECT_EQ(::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr),
              ERROR_SUCCESS);

    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OvraNoSuchKey\\Below", 0, KEY_READ, key.Put()),
              ERROR_SUCCESS);
    EXPECT_FALSE(key);
}

} // namespace
