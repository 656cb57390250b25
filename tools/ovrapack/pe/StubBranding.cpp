#include "StubBranding.h"

#include <algorithm>

#include "tools/ovrapack/io/FileBytes.h"
#include "ResourceSection.h"
#include "resources/resource.h"
#include "tools/ovrapack/io/PathText.h"

namespace {

using SKey = CResourceTree::SKey;

const SKey kIconType = SKey::Id(3);
const SKey kGroupIconType = SKey::Id(14);
const SKey kVersionType = SKey::Id(16);
const SKey kVersionName = SKey::Id(1);
const SKey kMainIcon = SKey::Id(IDR_MAINFRAME);

bool HasName(const CResourceTree& tree, const SKey& type, const SKey& name)
{
    const auto& resources = tree.Resources();
    return std::any_of(resources.begin(), resources.end(),
                       [&](const CResourceTree::SResource& r) { return r.type == type && r.name == name; });
}

using PathText::Display;

} // namespace

std::optional<CStubBranding> CStubBranding::Load(const SOptions& options, std::string& error)
{
    CStubBranding branding;
    if (!options.icon.empty()) {
        std::vector<uint8_t> bytes;
        if (!FileBytes::Read(options.icon, bytes, error)) {
            error = "--icon: " + error;
            return std::nullopt;
        }
        auto icon = CIconFile::Parse(bytes, error);
        if (!icon) {
            error = "--icon \"" + Display(options.icon) + "\": " + error;
            return std::nullopt;
        }
        branding.m_icon = std::move(*icon);
    }
    for (const std::string& assignment : options.versionInfo) {
        if (!branding.m_versionInfo.Set(assignment, error)) {
            error = "--version-info: " + error;
            return std::nullopt;
        }
    }
    return branding;
}

bool CStubBranding::Apply(std::vector<uint8_t>& stub, std::string& error) const
{
    auto section = CResourceSection::Locate(stub, error);
    if (!section) {
        error = "stub: " + error;
        return false;
    }
    CResourceTree tree = section->Tree();
    if ((m_icon && !ReplaceIcon(tree, error)) || (!m_versionInfo.Empty() && !ReplaceVersionInfo(tree, error)))
        return false;
    if (!section->Replace(stub, tree, error)) {
        error = "stub: " + error;
        return false;
    }
    return true;
}

// The group's old images go unless another group shows them too; the new ones take
// the lowest free numbers and the group's language.
bool CStubBranding::ReplaceIcon(CResourceTree& tree, std::string& error) const
{
    uint16_t language = CVersionInfo::kLanguage;
    std::vector<uint16_t> replaced;
    std::vector<uint16_t> shared;
    for (const CResourceTree::SResource& resource : tree.Resources()) {
        if (!(resource.type == kGroupIconType))
            continue;
        std::vector<uint16_t> ids;
        if (!CIconFile::GroupImageIds(resource.data, ids)) {
            error = "stub: an icon group of its resources is damaged";
            return false;
        }
        std::vector<uint16_t>& list = resource.name == kMainIcon ? replaced : shared;
        list.insert(list.end(), ids.begin(), ids.end());
        if (resource.name == kMainIcon)
            language = resource.nLanguage;
    }
    tree.Remove(kGroupIconType, kMainIcon);
    for (const uint16_t id : replaced) {
        if (std::find(shared.begin(), shared.end(), id) == shared.end())
            tree.Remove(kIconType, SKey::Id(id));
    }
    std::vector<uint16_t> ids;
    uint32_t candidate = 1;
    for (const CIconFile::SImage& image : m_icon->Images()) {
        while (candidate <= UINT16_MAX && HasName(tree, kIconType, SKey::Id(static_cast<uint16_t>(candidate))))
            ++candidate;
        if (candidate > UINT16_MAX) {
            error = "stub: no free icon numbers left";
            return false;
        }
        const auto id = static_cast<uint16_t>(candidate);
        tree.Put({kIconType, SKey::Id(id), language, 0, image.bytes});
        ids.push_back(id);
    }
    tree.Put({kGroupIconType, kMainIcon, language, 0, m_icon->GroupResource(ids)});
    return true;
}

bool CStubBranding::ReplaceVersionInfo(CResourceTree& tree, std::string& error) const
{
    std::vector<uint8_t> block;
    if (!m_versionInfo.Build(block, error)) {
        error = "--version-info: " + error;
        return false;
    }
    std::vector<SKey> names;
    for (const CResourceTree::SResource& resource : tree.Resources()) {
        if (resource.type == kVersionType)
            names.push_back(resource.name);
    }
    for (const SKey& name : names)
        tree.Remove(kVersionType, name);
    tree.Put({kVersionType, kVersionName, CVersionInfo::kLanguage, 0, std::move(block)});
    return true;
}
