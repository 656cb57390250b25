#include "FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "PathText.h"

namespace FileBytes {

namespace {
struct SFileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, SFileCloser>;

std::string Describe(const std::filesystem::path& path, const char* what)
{
    return std::string("cannot ") + what + " \"" + PathText::Display(path) + "\": " + std::strerror(errno);
}
} // namespace

bool Read(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error)
{
    FilePtr file(PathText::Open(path, "rb"));
    if (!file) {
        error = Describe(path, "open");
        return false;
    }
    bytes.clear();
    uint8_t buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (std::ferror(file.get())) {
        error = Describe(path, "read");
        return false;
    }
    return true;
}

bool WriteAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        FilePtr file(PathText::Open(temporary, "wb"));
        if (!file) {
            error = Describe(temporary, "create");
            return false;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
        const bool flushed = std::fflush(file.get()) == 0;
        if (!written || !flushed) {
            error = Describe(temporary, "write");
            file.reset();
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        error = "cannot rename \"" + PathText::Display(temporary) + "\" to \"" + PathText::Display(path) + "\": " +
                ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace FileBytes
