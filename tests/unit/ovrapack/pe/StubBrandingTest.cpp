#include <gtest/gtest.h>

#include "ResourceStub.h"
#include "TestIcon.h"
#include "payload/ContainerLayout.h"
#include "tools/ovrapack/pe/IconFile.h"
#include "tools/ovrapack/pe/ResourceSection.h"
#include "tools/ovrapack/pe/StubBranding.h"

namespace {

using SKey = CResourceTree::SKey;
const SKey kIcon = SKey::Id(3);
const SKey kGroup = SKey::Id(14);
const SKey kVersion = SKey::Id(16);

std::vector<uint8_t> Group(const std::vector<uint16_t>& ids)
{
    std::vector<uint8_t> group = {0, 0, 1, 0, static_cast<uint8_t>(ids.size()), 0};
    for (const uint16_t id : ids) {
        group.insert(group.end(), {16, 16, 0, 0, 1, 0, 32, 0, 8, 0, 0, 0});
        LittleEndian::AppendU16(group, id);
    }
    return group;
}

// The stub's own resources: icon 131 of images 1 and 2, another group that shares
// image 2, a bitmap, a named dictionary and a German version resource.
CResourceTree StubTree()
{
    CResourceTree tree;
    for (uint16_t id = 1; id <= 3; ++id)
        tree.Put({kIcon, SKey::Id(id), 0x409, 0, std::vector<uint8_t>(8, uint8_t(id))});
    tree.Put({kGroup, SKey::Id(131), 0x409, 0, Group({1, 2})});
    tree.Put({kGroup, SKey::Id(200), 0x409, 0, Group({2, 3})});
    tree.Put({SKey::Id(2), SKey::Id(129), 0x409, 0, std::vector<uint8_t>(50, 'p')});
    tree.Put({SKey{0, u"DICTIONARY"}, SKey::Id(137), 0x409, 0, std::vector<uint8_t>(30, 'd')});
    tree.Put({kVersion, SKey::Id(1), 0x407, 0, std::vector<uint8_t>(92, 'v')});
    return tree;
}

const std::vector<TestIcon::SImageShape> kImages = {{16, 8, false, 11}, {32, 32, false, 12}, {256, 32, true, 13}};

CResourceTree Brand(const CStubBranding& branding, const CResourceTree& tree = StubTree())
{
    auto stub = ResourceStub::Make(tree.Serialize(ResourceStub::kResourceRva), ResourceStub::ETrailer::Relocations);
    std::string error;
    EXPECT_TRUE(branding.Apply(stub, error)) << error;
    const auto section = CResourceSection::Locate(stub, error);
    EXPECT_TRUE(section) << error;
    return section ? section->Tree() : CResourceTree();
}

CStubBranding WithIcon()
{
    CStubBranding branding;
    std::string error;
    auto icon = CIconFile::Parse(TestIcon::Make(kImages), error);
    EXPECT_TRUE(icon) << error;
    branding.SetIcon(std::move(*icon));
    return branding;
}

std::vector<uint16_t> GroupIds(const CResourceTree& tree, uint16_t group)
{
    std::vector<uint16_t> ids;
    const auto* resource = tree.Find(kGroup, SKey::Id(group), 0x409);
    EXPECT_TRUE(resource && CIconFile::GroupImageIds(resource->data, ids));
    return ids;
}

} // namespace

TEST(StubBranding, IconReplacesGroup131AndTheImagesNoOtherGroupShows)
{
    const CResourceTree original = StubTree();
    const CResourceTree tree = Brand(WithIcon());
    // Image 1 was the group's alone; 2 and 3 belong to group 200 as well.
    EXPECT_EQ(GroupIds(tree, 131), (std::vector<uint16_t>{1, 4, 5}));
    EXPECT_EQ(GroupIds(tree, 200), (std::vector<uint16_t>{2, 3}));
    for (size_t i = 0; i < kImages.size(); ++i) {
        const auto* image = tree.Find(kIcon, SKey::Id(GroupIds(tree, 131)[i]), 0x409);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->data, TestIcon::Image(kImages[i])) << i;
    }
    for (const auto& resource : original.Resources()) {
        if (resource.type == kGroup && resource.name == SKey::Id(131))
            continue;
        if (resource.type == kIcon && resource.name == SKey::Id(1))
            continue;
        const auto* kept = tree.Find(resource.type, resource.name, resource.nLanguage);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->data, resource.data);
    }
    EXPECT_EQ(tree.Resources().size(), original.Resources().size() + 2);
}

TEST(StubBranding, IconGroupIsCreatedWhereTheStubHasNone)
{
    CResourceTree bare;
    bare.Put({SKey::Id(2), SKey::Id(129), 0x409, 0, std::vector<uint8_t>(50, 'p')});
    const CResourceTree tree = Brand(WithIcon(), bare);
    EXPECT_EQ(GroupIds(tree, 131), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(tree.Resources().size(), 5u);
}

TEST(StubBranding, VersionInfoReplacesTheStubsVersionResource)
{
    CStubBranding branding;
    std::string error;
    ASSERT_TRUE(branding.VersionInfo().Set("ProductName=Ovra Viewer", error));
    const CResourceTree tree = Brand(branding);
    EXPECT_EQ(tree.Find(kVersion, SKey::Id(1), 0x407), nullptr);
    const auto* version = tree.Find(kVersion, SKey::Id(1), 0x409);
    ASSERT_NE(version, nullptr);
    std::vector<uint8_t> expected;
    ASSERT_TRUE(branding.VersionInfo().Build(expected, error));
    EXPECT_EQ(version->data, expected);
    EXPECT_EQ(GroupIds(tree, 131), (std::vector<uint16_t>{1, 2}));
}

TEST(StubBranding, LoadNamesTheOptionAtFault)
{
    std::string error;
    CStubBranding::SOptions options;
    options.icon = "/nonexistent/product.ico";
    EXPECT_FALSE(CStubBranding::Load(options, error));
    EXPECT_EQ(error.rfind("--icon: cannot open", 0), 0u) << error;

    options.icon.clear();
    options.versionInfo = {"ProductName=A", "Version=1"};
    EXPECT_FALSE(CStubBranding::Load(options, error));
    EXPECT_EQ(error.rfind("--version-info: \"Version=1\" is not KEY=VALUE", 0), 0u) << error;

    options.versionInfo = {"FileVersion=3.1"};
    const auto branding = CStubBranding::Load(options, error);
    ASSERT_TRUE(branding) << error;
    EXPECT_FALSE(branding->Empty());
    EXPECT_TRUE(CStubBranding::Load({}, error)->Empty());
}
