#include <gtest/gtest.h>

#include <cstring>

#include "PackTestKit.h"
#include "tools/ovrapack/pack/CabinetLayout.h"

namespace {

std::optional<CCabinetLayout> ParseBytes(const std::vector<uint8_t>& bytes)
{
    return CCabinetLayout::Parse(bytes.size(), [&bytes](uint64_t offset, void* buffer, size_t length) {
        if (offset + length > bytes.size())
            return false;
        std::memcpy(buffer, bytes.data() + offset, length);
        return true;
    });
}

} // namespace

TEST(CabinetLayout, FindsTheFolderContentAndItsMembers)
{
    const auto first = PackTestKit::Pattern(40000, 1);
    const auto second = PackTestKit::Pattern(30000, 2);
    const auto cab = PackTestKit::MakeCabinet({first, second});
    const auto layout = ParseBytes(cab);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->Folders().size(), 1u);
    const auto& folder = layout->Folders()[0];
    EXPECT_EQ(folder.nContentLength, 70000u);
    ASSERT_EQ(folder.members.size(), 2u);
    EXPECT_EQ(folder.members[1].nStart, 40000u);
    EXPECT_EQ(folder.members[1].nLength, 30000u);
    // The member's first byte of its second block lies behind the second block header.
    const uint64_t at = CCabinetLayout::FileOffsetOf(folder, 40000);
    EXPECT_EQ(at, folder.nFirstBlock + 32776u + 8 + (40000 - 32768));
    EXPECT_EQ(cab[at], second[0]);
}

TEST(CabinetLayout, RefusesCompressedFolders)
{
    auto cab = PackTestKit::MakeCabinet({PackTestKit::Pattern(100, 1)});
    cab[36 + 6] = 1;  // MSZIP
    EXPECT_FALSE(ParseBytes(cab));
}

TEST(CabinetLayout, RefusesBlocksThatAreNotFullBeforeTheLast)
{
    auto cab = PackTestKit::MakeCabinet({PackTestKit::Pattern(70000, 1)});
    const uint32_t firstBlock = cab[36] | (cab[37] << 8);
    cab[firstBlock + 5] = 0x7F;  // first block claims 32512 bytes
    cab[firstBlock + 7] = 0x7F;
    EXPECT_FALSE(ParseBytes(cab));
}

TEST(CabinetLayout, RefusesPerBlockReserveAndWrongTotalSize)
{
    auto cab = PackTestKit::MakeCabinet({PackTestKit::Pattern(100, 1)});
    auto wrongSize = cab;
    wrongSize[8] ^= 1;
    EXPECT_FALSE(ParseBytes(wrongSize));
    auto truncated = cab;
    truncated.resize(cab.size() - 1);
    EXPECT_FALSE(ParseBytes(truncated));
    EXPECT_FALSE(ParseBytes(std::vector<uint8_t>(cab.begin(), cab.begin() + 20)));
}
