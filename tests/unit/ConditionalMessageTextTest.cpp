#include <gtest/gtest.h>

#include "framework/controls/ConditionalMessageText.h"

namespace {

TEST(ConditionalMessageForms, LineBreaksBecomeBreakTagsAndTagsLeaveThePlainText)
{
    const SConditionalMessageForms forms =
        DeriveConditionalMessageForms(L"<b>Bold</b> text\nsee <a href=\"http://x/\">here</a>");
    EXPECT_EQ(forms.markup, L"<b>Bold</b> text<br> see <a href=\"http://x/\">here</a>");
    EXPECT_EQ(forms.plain, L"Bold text\n see here\n");
}

TEST(ConditionalMessageForms, BreakTagsOfTheMessageAreLineFeedsInThePlainText)
{
    const SConditionalMessageForms forms = DeriveConditionalMessageForms(L"one<br>two");
    EXPECT_EQ(forms.markup, L"one<br>two");
    EXPECT_EQ(forms.plain, L"one\ntwo\n");
}

TEST(ConditionalMessageForms, AnOpenAngleWithoutCloseStaysWithTheRest)
{
    EXPECT_EQ(DeriveConditionalMessageForms(L"a <i>b</i> < c").plain, L"a b < c\n");
    EXPECT_EQ(DeriveConditionalMessageForms(L"").plain, L"\n");
}

} // namespace
