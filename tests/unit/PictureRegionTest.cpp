#include <gtest/gtest.h>

#include "dialog/PictureRegion.h"

namespace {

TEST(PictureRegion, PictureRunsFromFieldFiveToTheStream)
{
    EXPECT_EQ(PictureRegion::Length(0x35F000, 0x3D3898, 0x500000), 477336u);
}

TEST(PictureRegion, NoPictureWhenFieldFiveIsZero)
{
    EXPECT_FALSE(PictureRegion::Length(0, 1000, 5000));
}

TEST(PictureRegion, NoPictureWhenFieldFiveIsNotBelowTheStream)
{
    EXPECT_FALSE(PictureRegion::Length(1000, 1000, 5000));
    EXPECT_FALSE(PictureRegion::Length(2000, 1000, 5000));
}

TEST(PictureRegion, NoHugeBufferForAPictureLargerThanTheFile)
{
    EXPECT_FALSE(PictureRegion::Length(1, 0xFFFFFFFF, 4096));
    EXPECT_FALSE(PictureRegion::Length(5000, 6000, 5000));
}

TEST(PictureRegion, AFileShorterThanTheStreamOffsetStillReadsWhatIsThere)
{
    EXPECT_EQ(PictureRegion::Length(100, 300, 200), 200u);
}

} // namespace
