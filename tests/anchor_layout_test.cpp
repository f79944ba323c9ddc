#include "ui/anchor_layout.h"

#include <array>
#include <gtest/gtest.h>

#include "res/resource.h"

namespace tov {
namespace {

// The summary dialog's controls (in dialog units): the edit, the list's caption, the list,
// the note and the picture.
constexpr std::array<AnchorRule, 5> kRules = {{
    {IDC_TEXT, Anchor::Scale, Anchor::Stretch, true},
    {IDC_CHECK_CAPTION, Anchor::Shift, Anchor::Fixed, true},
    {IDC_CHECK_LIST, Anchor::Scale, Anchor::Scale, true},
    {IDC_NOTE, Anchor::Scale, Anchor::Shift, true},
    {IDC_LOGO, Anchor::Fixed, Anchor::Fixed, false},
}};
constexpr std::array<LayoutRect, 5> kOriginals = {{
    {4, 30, 198, 196},
    {202, 4, 327, 12},
    {202, 14, 431, 169},
    {202, 172, 431, 196},
    {4, 4, 25, 24},
}};

TEST(AnchorLayout, TheOriginalSizeGivesTheOriginalRectangles) {
    const AnchorLayout layout(kRules, kOriginals, 435, 200);
    const std::vector<LayoutRect> arranged = layout.Arrange(435, 200);
    ASSERT_EQ(arranged.size(), kOriginals.size());
    for (std::size_t i = 0; i < arranged.size(); ++i) {
        EXPECT_EQ(arranged[i], kOriginals[i]) << i;
    }
}

TEST(AnchorLayout, GrowingSharesTheExtraSpaceByThePlacesInTheGroup) {
    const AnchorLayout layout(kRules, kOriginals, 435, 200);
    for (const auto& [width, height] :
         {std::pair{435 + 427, 200 + 192}, std::pair{900, 201}, std::pair{436, 700}}) {
        const int dx = width - 435;
        const int dy = height - 200;
        const std::vector<LayoutRect> r = layout.Arrange(width, height);
        const LayoutRect &edit = r[0], &caption = r[1], &list = r[2], &note = r[3];
        // The edit keeps its top and left edges and takes all the extra height.
        EXPECT_EQ(edit.left, 4);
        EXPECT_EQ(edit.top, 30);
        EXPECT_EQ(edit.bottom, 196 + dy);
        EXPECT_GE(edit.right, 198);
        // The list reaches the right edge as before; the caption moves with the list.
        EXPECT_EQ(list.right, 431 + dx);
        EXPECT_EQ(caption.left, list.left);
        EXPECT_EQ(caption.right - caption.left, 125);
        EXPECT_EQ(caption.top, 4);
        EXPECT_LE(edit.right, list.left);  // never overlapping
        // The list moves down and grows; the note moves down keeping its height.
        EXPECT_GE(list.top, 14);
        EXPECT_GE(list.bottom - list.top, 155);
        EXPECT_LE(list.bottom, note.top);
        EXPECT_EQ(note.bottom - note.top, 24);
        EXPECT_EQ(note.left, list.left);
        EXPECT_EQ(note.right, list.right);
        EXPECT_EQ(r[4], kOriginals[4]);
    }
    // Exactly doubling the group's extent doubles the group's places and sizes.
    const std::vector<LayoutRect> doubled = layout.Arrange(435 + 427, 200 + 192);
    EXPECT_EQ(doubled[0].right, 4 + 2 * 194);
    EXPECT_EQ(doubled[2].left, 4 + 2 * 198);
    EXPECT_EQ(doubled[2].top, 4 + 2 * 10);
    EXPECT_EQ(doubled[2].bottom, 4 + 2 * 165);
    EXPECT_EQ(doubled[3].top, 4 + 2 * 168);
}

TEST(AnchorLayout, ShrinkingNeverGivesNegativeSizes) {
    const AnchorLayout layout(kRules, kOriginals, 435, 200);
    for (const LayoutRect& rect : layout.Arrange(10, 5)) {
        EXPECT_GE(rect.right, rect.left);
        EXPECT_GE(rect.bottom, rect.top);
    }
}

}  // namespace
}  // namespace tov
