#include "StubLocator.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path RunningExecutable()
{
#ifdef _WIN32
    // The wide copy: the ANSI one loses a folder named outside the ANSI code page.
    const wchar_t* path = _wpgmptr;
    return path != nullptr ? fs::path(path) : fs::path();
#else
    std::error_code ec;
    const fs::path path = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : path;
#endif
}

} // namespace

CStubLocator::CStubLocator(fs::path toolPath, fs::path buildFolder, fs::path buildTreeStub)
    : m_toolPath(std::move(toolPath)), m_buildFolder(std::move(buildFolder)), m_buildTreeStub(std::move(buildTreeStub))
{
}

CStubLocator CStubLocator::ForThisProgram()
{
#if defined(OVRA_TOOL_BUILD_FOLDER) && defined(OVRA_BUILD_TREE_STUB)
    return CStubLocator(RunningExecutable(), fs::path(u8"" OVRA_TOOL_BUILD_FOLDER), fs::path(u8"" OVRA_BUILD_TREE_STUB));
#else
    return CStubLocator(RunningExecutable(), {}, {});
#endif
}

std::vector<fs::path> CStubLocator::Candidates() const
{
    std::vector<fs::path> places;
    if (!m_toolPath.empty()) {
        const fs::path folder = m_toolPath.parent_path();
        places.push_back((folder.parent_path() / "share" / "ovrasfx" / kStubName).lexically_normal());
        places.push_back(folder / kStubName);
    }
    if (RunsFromBuildFolder())
        places.push_back(m_buildTreeStub);
    return places;
}

std::optional<fs::path> CStubLocator::Find() const
{
    for (const fs::path& place : Candidates()) {
        std::error_code ec;
        if (fs::is_regular_file(place, ec))
            return place;
    }
    return std::nullopt;
}

bool CStubLocator::RunsFromBuildFolder() const
{
    if (m_toolPath.empty() || m_buildFolder.empty() || m_buildTreeStub.empty())
        return false;
    std::error_code ec;
    return fs::equivalent(m_toolPath.parent_path(), m_buildFolder, ec) && !ec;
}
