#include "ResourceSection.h"

#include <algorithm>

namespace {

uint64_t AlignUp(uint64_t value, uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// Every directory but the certificate table's holds an address in the image.
bool IsAddress(size_t directory)
{
    return directory != CPeImage::kCertificateDirectory;
}

} // namespace

std::optional<CResourceSection> CResourceSection::Locate(const std::vector<uint8_t>& image, std::string& error)
{
    auto layout = CPeImage::Parse(image, error);
    if (!layout)
        return std::nullopt;
    const CPeImage::SDirectory resources = layout->Directory(CPeImage::kResourceDirectory);
    const auto& sections = layout->Sections();
    const auto found = std::find_if(sections.begin(), sections.end(),
                                    [&](const CPeImage::SSection& s) { return s.nRva == resources.nRva; });
    if (resources.nRva == 0 || resources.nSize == 0) {
        error = "the executable has no resources";
        return std::nullopt;
    }
    if (found == sections.end() || found->nRawSize == 0) {
        error = "the executable's resources do not begin a section of their own";
        return std::nullopt;
    }
    const auto index = static_cast<size_t>(found - sections.begin());
    for (size_t d = 0; d < layout->Directories().size(); ++d) {
        const CPeImage::SDirectory other = layout->Directories()[d];
        if (d != CPeImage::kResourceDirectory && IsAddress(d) && other.nSize != 0 && found->Contains(other.nRva)) {
            error = "the resource section " + found->strName + " holds other data (directory " + std::to_string(d) + ")";
            return std::nullopt;
        }
    }
    const auto begin = image.begin() + found->nRawPointer;
    const std::vector<uint8_t> bytes(begin, begin + std::min(found->nRawSize, found->Extent()));
    auto tree = CResourceTree::Parse(bytes, found->nRva, error);
    if (!tree) {
        error = "resources of section " + found->strName + ": " + error;
        return std::nullopt;
    }
    return CResourceSection(std::move(*layout), index, std::move(*tree));
}

bool CResourceSection::CheckMovable(const std::vector<size_t>& moving, std::string& error) const
{
    const auto& sections = m_layout.Sections();
    const CPeImage::SSection& resources = sections[m_nSection];
    for (size_t i = 0; i < sections.size(); ++i) {
        const CPeImage::SSection& section = sections[i];
        const bool behindInFile = section.nRawSize != 0 && section.nRawPointer >= resources.nRawPointer && i != m_nSection;
        const bool moves = std::find(moving.begin(), moving.end(), i) != moving.end();
        if (behindInFile && !moves) {
            error = "section " + section.strName + " lies behind the resources in the file but not in memory";
            return false;
        }
        if (!moves)
            continue;
        const bool behindInMemory =
            section.nRva >= AlignUp(uint64_t(resources.nRva) + resources.Extent(), m_layout.SectionAlignment()) &&
            (section.nRawSize == 0 || section.nRawPointer >= uint64_t(resources.nRawPointer) + resources.nRawSize);
        if ((section.nCharacteristics & CPeImage::kDiscardable) == 0 || !behindInMemory) {
            error = "section " + section.strName + " follows the resources and cannot be moved";
            return false;
        }
        for (size_t d = 0; d < m_layout.Directories().size(); ++d) {
            const CPeImage::SDirectory directory = m_layout.Directories()[d];
            if (d != CPeImage::kBaseRelocationDirectory && IsAddress(d) && directory.nSize != 0 &&
                section.Contains(directory.nRva)) {
                error = "section " + section.strName + " follows the resources and holds directory " +
                        std::to_string(d) + ", which cannot move";
                return false;
            }
        }
    }
    return true;
}

bool CResourceSection::Replace(std::vector<uint8_t>& image, const CResourceTree& tree, std::string& error) const
{
    CPeImage layout = m_layout;
    auto& sections = layout.Sections();
    CPeImage::SSection& resources = sections[m_nSection];
    std::vector<size_t> moving;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].nRva > resources.nRva)
            moving.push_back(i);
    }
    if (!CheckMovable(moving, error))
        return false;

    const std::vector<uint8_t> content = tree.Serialize(resources.nRva);
    const uint64_t rawSize = AlignUp(content.size(), layout.FileAlignment());
    const uint64_t oldEnd = AlignUp(uint64_t(resources.nRva) + resources.Extent(), layout.SectionAlignment());
    const uint64_t newEnd = AlignUp(uint64_t(resources.nRva) + content.size(), layout.SectionAlignment());
    const int64_t memoryShift = int64_t(newEnd) - int64_t(oldEnd);
    // Linkers may leave the raw size unaligned; the next section starts at the boundary.
    const uint64_t oldRawSize = std::min<uint64_t>(AlignUp(resources.nRawSize, layout.FileAlignment()),
                                                   image.size() - resources.nRawPointer);
    const int64_t fileShift = int64_t(rawSize) - int64_t(oldRawSize);
    uint64_t lastEnd = newEnd;
    for (const size_t i : moving)
        lastEnd = std::max<uint64_t>(lastEnd, uint64_t(int64_t(sections[i].nRva) + memoryShift) + sections[i].Extent());
    if (lastEnd > UINT32_MAX || image.size() + rawSize > UINT32_MAX) {
        error = "the resources make the image larger than 4 GiB";
        return false;
    }

    const size_t oldRawEnd = size_t(resources.nRawPointer + oldRawSize);
    std::vector<uint8_t> rebuilt(image.begin(), image.begin() + resources.nRawPointer);
    rebuilt.insert(rebuilt.end(), content.begin(), content.end());
    rebuilt.resize(resources.nRawPointer + rawSize, 0);
    rebuilt.insert(rebuilt.end(), image.begin() + static_cast<std::ptrdiff_t>(oldRawEnd), image.end());

    for (const size_t i : moving) {
        CPeImage::SSection& section = sections[i];
        const bool relocations = section.Contains(layout.Directory(CPeImage::kBaseRelocationDirectory).nRva);
        section.nRva = static_cast<uint32_t>(int64_t(section.nRva) + memoryShift);
        if (section.nRawSize != 0)
            section.nRawPointer = static_cast<uint32_t>(int64_t(section.nRawPointer) + fileShift);
        if (relocations && layout.Directory(CPeImage::kBaseRelocationDirectory).nSize != 0) {
            auto& directory = layout.Directories()[CPeImage::kBaseRelocationDirectory];
            directory.nRva = static_cast<uint32_t>(int64_t(directory.nRva) + memoryShift);
        }
    }
    if ((resources.nCharacteristics & CPeImage::kInitialisedData) != 0)
        layout.SetSizeOfInitialisedData(static_cast<uint32_t>(int64_t(layout.SizeOfInitialisedData()) +
                                                              int64_t(rawSize) - int64_t(resources.nRawSize)));
    if (layout.SymbolTable() >= oldRawEnd)
        layout.SetSymbolTable(static_cast<uint32_t>(int64_t(layout.SymbolTable()) + fileShift));
    resources.nVirtualSize = static_cast<uint32_t>(content.size());
    resources.nRawSize = static_cast<uint32_t>(rawSize);
    layout.Directories()[CPeImage::kResourceDirectory].nSize = static_cast<uint32_t>(content.size());
    layout.Store(rebuilt);
    image = std::move(rebuilt);
    return true;
}
