#include "core/elements.h"

#include <gtest/gtest.h>

namespace plumbo {
namespace {

TEST(ElementArray, GrowsToOneSpareBeyondTheAskedCountAndNeverShrinks) {
    ElementArray<LineElement> a(LineElement{1.0f, 2.0f, 3.0f, 4.0f, 0x00ABCDEF, true});
    ASSERT_EQ(a.Count(), 1u);
    a.EnsureCount(3);  // fewer than 3: load up to index 3 inclusive
    EXPECT_EQ(a.Count(), 4u);
    a.EnsureCount(4);  // already 4
    EXPECT_EQ(a.Count(), 4u);
    a.EnsureCount(2);
    EXPECT_EQ(a.Count(), 4u);
    // Loaded elements copy the design but start hidden.
    for (std::size_t i = 1; i < a.Count(); ++i) {
        EXPECT_EQ(a[i].x2, 3.0f);
        EXPECT_EQ(a[i].color, 0x00ABCDEFu);
        EXPECT_FALSE(a[i].visible) << "element " << i;
    }
    EXPECT_TRUE(a[0].visible);
}

TEST(ElementArray, ColourSetBeforeGrowingReachesLaterElements) {
    ElementArray<LabelElement> a(LabelElement{L"1", 5.0f, 6.0f, 7.0f, 8.0f, 0x000000FF, true});
    a.EnsureCount(2);
    a.SetColor(0x00123456);
    EXPECT_EQ(a[2].color, 0x00123456u);
    a.EnsureCount(4);
    EXPECT_EQ(a[4].color, 0x00123456u);
    EXPECT_EQ(a[4].caption, L"1");
}

}  // namespace
}  // namespace plumbo
