#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "payload/PatchBlockEditor.h"

// Each test gets a fresh folder on the scratch drive and its own copy of the built
// stub, patched as the test needs: what is run and removed stays inside the scratch area.
class CStubFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    // Copies the built stub to `name` in the test's folder, patched by `patch`.
    std::filesystem::path MakeStub(const std::function<void(CPatchBlockEditor&)>& patch,
                                   const std::wstring& name = L"OvraSFX.exe");

    static std::filesystem::path BuiltStub();
    static void WriteFile(const std::filesystem::path& path, const std::string& content);
    static std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

    std::filesystem::path m_folder;
};
