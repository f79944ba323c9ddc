#include "app/window_rect.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(CenteredWindowRect, CentresEightHundredBySixHundredOnTheDesktop) {
    EXPECT_EQ(CenteredWindowRect(Rect{0, 0, 1024, 768}), (Rect{112, 84, 912, 684}));
    EXPECT_EQ(CenteredWindowRect(Rect{0, 0, 800, 600}), (Rect{0, 0, 800, 600}));
}

TEST(CenteredWindowRect, AnOddMarginIsTruncatedAndLeavesTheWindowOnePixelLarger) {
    const Rect rect = CenteredWindowRect(Rect{0, 0, 1025, 769});
    EXPECT_EQ(rect.left, 112);
    EXPECT_EQ(rect.right - rect.left, 801);
    EXPECT_EQ(rect.top, 84);
    EXPECT_EQ(rect.bottom - rect.top, 601);
}

TEST(CenteredWindowRect, ASmallDesktopGivesARectangleReachingPastItStillCentred) {
    EXPECT_EQ(CenteredWindowRect(Rect{0, 0, 640, 480}), (Rect{-80, -60, 720, 540}));
    // Negative odd margins truncate toward zero: (799 - 800) / 2 = 0.
    EXPECT_EQ(CenteredWindowRect(Rect{0, 0, 799, 599}), (Rect{0, 0, 799, 599}));
    EXPECT_EQ(CenteredWindowRect(Rect{0, 0, 797, 597}), (Rect{-1, -1, 798, 598}));
}

TEST(CenteredWindowRect, ADesktopNotAtTheOriginKeepsItsOffset) {
    EXPECT_EQ(CenteredWindowRect(Rect{-1024, 0, 0, 768}), (Rect{-912, 84, -112, 684}));
}

}  // namespace
}  // namespace tov
