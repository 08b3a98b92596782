// Skinned menus' arithmetic: bar captions and accelerators, the bar's item places, menu item
// sizes and parts, the separator rows, and the arrows' walk along the bar.
#include <gtest/gtest.h>

#include "skin/menus/SkinMenuLayout.h"

using namespace SkinMenuLayout;

TEST(SkinMenuLayoutTest, CaptionsAreCutAt80BytesBetweenCharacters) {
    std::string ascii(100, 'a');
    EXPECT_EQ(LimitCaption(ascii), std::string(80, 'a'));
    // 79 single bytes, then a two-byte character that would end at byte 81: left out whole.
    std::string mixed = std::string(79, 'a') + "\xCE\xC4" + "b";
    EXPECT_EQ(LimitCaption(mixed), std::string(79, 'a'));
    EXPECT_EQ(LimitCaption("\xCE\xC4\xBC\xFE(&F)"), "\xCE\xC4\xBC\xFE(&F)");
    // The system's own texts, in UTF-16, are cut where the same text in code page 936 would be,
    // and a character beyond the basic plane (a surrogate pair) is never split.
    EXPECT_EQ(LimitCaption(std::wstring(100, L'a')), std::wstring(80, L'a'));
    EXPECT_EQ(LimitCaption(std::wstring(79, L'a') + L"\x00D6b"), std::wstring(79, L'a'));
    EXPECT_EQ(LimitCaption(std::wstring(76, L'a') + L"\xD83D\xDE00" + L"b"), std::wstring(76, L'a') + L"\xD83D\xDE00");
    EXPECT_EQ(LimitCaption(std::wstring(77, L'a') + L"\xD83D\xDE00"), std::wstring(77, L'a'));
    EXPECT_EQ(LimitCaption(std::wstring(L"\x00D6ffnen")), L"\x00D6ffnen");
}

TEST(SkinMenuLayoutTest, AcceleratorsFollowASingleAmpersand) {
    struct Case {
        const char* caption;
        char key;
    } cases[] = {
        {"\xCE\xC4\xBC\xFE(&F)", 'f'},  // 文件(&F)
        {"&Help", 'h'},
        {"Fish && &Chips", 'c'},
        {"R&&D", 0},
        {"\xB9\xA6\xC4\xDC", 0},        // 功能: no mark at all
        {"\xB9\x26\xC4\xDC", 0},        // a trail byte that looks like '&' is no mark
        {"end&", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(AcceleratorOf(c.caption), c.key) << c.caption;
    EXPECT_TRUE(SameAccelerator('f', 'F'));
    EXPECT_FALSE(SameAccelerator(0, 0));
}

TEST(SkinMenuLayoutTest, BarItemsFollowEachOtherFromTheFirstPlace) {
    EXPECT_EQ(FirstItemLeft(false, 4, 400), 6);
    EXPECT_EQ(FirstItemLeft(true, 4, 400), 8);
    EXPECT_EQ(FirstItemLeft(true, 20, 10), 12);
    std::vector<TSkinRect> items = LayOutBar({4, 30, 404, 49}, 8, {40, 0, 52});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], (TSkinRect{12, 30, 62, 48}));
    EXPECT_TRUE(items[1].Empty());
    EXPECT_EQ(items[2], (TSkinRect{62, 30, 124, 48}));
}

TEST(SkinMenuLayoutTest, ArrowsWrapAroundAndSkipItemsThatCannotOpen) {
    std::vector<bool> open{true, true, false, true};
    EXPECT_EQ(NextBarItem(3, open, +1), 0);
    EXPECT_EQ(NextBarItem(0, open, -1), 3);
    EXPECT_EQ(NextBarItem(1, open, +1), 3);
    EXPECT_EQ(NextBarItem(0, {true, false}, +1), 0);
    EXPECT_EQ(NextBarItem(0, {}, +1), 0);
}

TEST(SkinMenuLayoutTest, ItemSizesAndParts) {
    EXPECT_EQ(MeasureBarMenuItem(60, 12, false, false).width, 86);
    EXPECT_EQ(MeasureBarMenuItem(60, 12, false, false).height, 16);
    EXPECT_EQ(MeasureBarMenuItem(0, 12, true, false).height, 8);
    EXPECT_EQ(MeasureBarMenuItem(60, 12, true, true).height, 12);
    TItemSize grown = GrowToolkitMenuItem({100, 19}, false, true);
    EXPECT_EQ(grown.width, 128);
    EXPECT_EQ(grown.height, 23);
    EXPECT_EQ(GrowToolkitMenuItem({0, 8}, true, true).height, 8);
    TItemParts parts = ItemParts({3, 10, 103, 29});
    EXPECT_EQ(parts.glyph, (TSkinRect{4, 11, 20, 27}));
    EXPECT_EQ(parts.caption, (TSkinRect{23, 10, 102, 29}));
    EXPECT_EQ(parts.shortcut, (TSkinRect{23, 10, 93, 29}));
    EXPECT_EQ(SeparatorSource({32, 0, 64, 20}, 8), (TSkinRect{32, 12, 64, 20}));
    EXPECT_EQ(SeparatorSource({32, 0, 64, 20}, 30), (TSkinRect{32, 0, 64, 20}));
}
