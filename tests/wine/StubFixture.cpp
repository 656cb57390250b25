#include "StubFixture.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "win32/FileSystemPath.h"

namespace fs = std::filesystem;

void CStubFixture::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = fs::path(L"S:\\") / info->test_suite_name() / info->name();
    std::error_code ec;
    fs::remove_all(m_folder, ec);
    fs::create_directories(m_folder);
}

fs::path CStubFixture::BuiltStub()
{
    // The tests live under the build folder; the stub is built beside its entry point.
    fs::path folder = fs::path(FileSystemPath::ModulePath(nullptr)).parent_path();
    for (; folder.has_relative_path(); folder = folder.parent_path()) {
        const fs::path candidate = folder / L"app" / L"OvraSFX.exe";
        if (fs::exists(candidate))
            return candidate;
    }
    const fs::path candidate = folder / L"app" / L"OvraSFX.exe";
    return fs::exists(candidate) ? candidate : fs::path();
}

fs::path CStubFixture::MakeStub(const std::function<void(CPatchBlockEditor&)>& patch, const std::wstring& name)
{
    const fs::path source = BuiltStub();
    EXPECT_FALSE(source.empty()) << "built OvraSFX.exe not found";
    std::ifstream in(source, std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    auto editor = CPatchBlockEditor::Locate(image, error);
    EXPECT_TRUE(editor) << error;
    if (editor && patch)
        patch(*editor);
    const fs::path target = m_folder / name;
    std::ofstream out(target, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return target;
}

void CStubFixture::WriteFile(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}
