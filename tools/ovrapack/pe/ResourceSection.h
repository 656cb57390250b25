#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "PeImage.h"
#include "ResourceTree.h"

// The resource section of an executable held in memory. A new tree is laid out at
// the section's own address and the section grows or shrinks in place; sections
// behind it move along, which only those are allowed to that nothing but the image's
// headers refers to (base relocations, debugging data), since code holds addresses.
class CResourceSection
{
public:
    [[nodiscard]] static std::optional<CResourceSection> Locate(const std::vector<uint8_t>& image, std::string& error);

    const CResourceTree& Tree() const { return m_tree; }

    // Replaces the section's content in `image` (the image Locate read, nothing
    // appended behind its sections) with `tree`, fixing the headers.
    [[nodiscard]] bool Replace(std::vector<uint8_t>& image, const CResourceTree& tree, std::string& error) const;

private:
    CResourceSection(CPeImage layout, size_t section, CResourceTree tree)
        : m_layout(std::move(layout)), m_nSection(section), m_tree(std::move(tree))
    {
    }

    [[nodiscard]] bool CheckMovable(const std::vector<size_t>& moving, std::string& error) const;

    CPeImage m_layout;
    size_t m_nSection;
    CResourceTree m_tree;
};
