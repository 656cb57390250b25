#include "PatchBlockScanner.h"

#include <cstring>
#include <set>
#include <vector>

#include "tools/ovrapack/io/PathText.h"
#include "payload/FileStream.h"
#include "payload/PatchBlockEditor.h"

namespace {

constexpr size_t kWindow = 1 << 20;

// Blocks that start in [from, to), searched window by window; windows overlap so that
// no block is cut in two.
bool ScanRange(CFileStream& file, uint64_t from, uint64_t to, std::set<uint64_t>& found, std::string& error)
{
    std::vector<uint8_t> window;
    for (uint64_t start = from; start < to; start += kWindow - (PatchLayout::kSize - 1)) {
        window.resize(kWindow);
        if (!file.SeekTo(start)) {
            error = "cannot seek";
            return false;
        }
        window.resize(file.Read(window.data(), kWindow));
        if (file.HasError()) {
            error = "cannot read";
            return false;
        }
        for (size_t offset : CPatchBlockEditor::FindBlocks(window)) {
            if (start + offset < to)
                found.insert(start + offset);
        }
        if (window.size() < kWindow)
            break;
        if (!found.empty() && from == 0)
            break;
    }
    return true;
}

} // namespace

std::optional<CPatchBlockScanner::SFound> CPatchBlockScanner::Scan(const std::filesystem::path& path,
                                                                   std::string& error)
{
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(path, ec);
    CFileStream file;
    if (ec || !file.Open(path, CFileStream::Mode::Read)) {
        error = "cannot open \"" + PathText::Display(path) + "\"";
        return std::nullopt;
    }
    std::set<uint64_t> found;
    if (!ScanRange(file, 0, size, found, error))
        return std::nullopt;
    if (found.empty()) {
        error = "no patch block found (is this an OvraSFX package?)";
        return std::nullopt;
    }
    SFound result{*found.begin(), {}, size};
    if (!file.SeekTo(result.nOffset) || file.Read(result.block.data(), result.block.size()) != result.block.size()) {
        error = "cannot read the patch block";
        return std::nullopt;
    }
    // The stub ends where the picture or the stream begins; a second block there is ambiguous.
    const CPatchBlock block(result.block.data());
    uint64_t stubEnd = block.StreamOffset();
    if (block.PictureOffset() != 0 && block.PictureOffset() < stubEnd)
        stubEnd = block.PictureOffset();
    if (stubEnd > size)
        stubEnd = size;
    if (!ScanRange(file, result.nOffset + 1, stubEnd, found, error))
        return std::nullopt;
    if (found.size() > 1) {
        error = "found " + std::to_string(found.size()) + " patch blocks; expected exactly one";
        return std::nullopt;
    }
    return result;
}
