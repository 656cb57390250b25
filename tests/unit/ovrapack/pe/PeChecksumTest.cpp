#include <gtest/gtest.h>

#include "PackTestKit.h"
#include "tools/ovrapack/pe/PeChecksum.h"


TEST(PeChecksum, SumsWordsWithoutItsFieldAndAddsTheLength)
{
    const std::vector<uint8_t> file = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x05};
    CPeChecksum checksum(4);
    checksum.Update(file.data(), file.size());
    EXPECT_EQ(checksum.Final(), 0x0201u + 0x0403u + 0x0005u + 9u);
}

TEST(PeChecksum, PiecesOfAnySizeGiveTheSumOfTheWholeWithCarriesFolded)
{
    std::vector<uint8_t> file = PackTestKit::Pattern(100001, 7);
    std::fill(file.begin() + 5000, file.begin() + 60000, uint8_t(0xFF));
    const size_t field = 0xD8;
    CPeChecksum whole(field);
    whole.Update(file.data(), file.size());
    EXPECT_EQ(whole.Final(), PackTestKit::PeChecksum(file, field));
    for (const size_t piece : {size_t(1), size_t(3), size_t(217), size_t(4096)}) {
        CPeChecksum pieces(field);
        for (size_t at = 0; at < file.size(); at += piece)
            pieces.Update(file.data() + at, std::min(piece, file.size() - at));
        EXPECT_EQ(pieces.Final(), whole.Final()) << piece;
    }
}
