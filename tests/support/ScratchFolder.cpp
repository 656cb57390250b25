#include "ScratchFolder.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#define OVRA_GETPID _getpid
#else
#include <unistd.h>
#define OVRA_GETPID getpid
#endif

CScratchFolder::CScratchFolder(const std::string& tag)
{
    static std::atomic<unsigned> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("ovra-" + tag + "-" + std::to_string(OVRA_GETPID()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

CScratchFolder::~CScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> CScratchFolder::ListFiles() const
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path)) {
        if (entry.is_regular_file()) {
            const std::u8string relative = entry.path().lexically_relative(m_path).generic_u8string();
            files.emplace_back(relative.begin(), relative.end());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

uint32_t WritePackageFile(const std::filesystem::path& path, const std::vector<uint8_t>& stream, size_t prefixSize,
                          size_t trailingSize)
{
    std::vector<uint8_t> bytes(prefixSize, 'S');
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    bytes.insert(bytes.end(), trailingSize, 0xA5);
    WriteWholeFile(path, bytes);
    return static_cast<uint32_t>(prefixSize);
}
