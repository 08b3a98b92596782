// The frame's arithmetic: caption-button visibility, placement and cells, the title's place,
// the actions, the frame sizes and what a point is over.
#include <gtest/gtest.h>

#include "skin/frame/SkinCaptionLayout.h"

namespace {

// Windows described by what they had and how they are now.
TCaptionFacts Facts(int captionKind, bool sysMenu, bool minimize, bool maximize, bool maximized, bool active) {
    TCaptionFacts facts;
    facts.captionKind = captionKind;
    facts.hadSystemMenu = sysMenu;
    facts.hadMinimize = minimize;
    facts.hadMaximize = maximize;
    facts.maximized = maximized;
    facts.active = active;
    return facts;
}

TEST(SkinCaptionLayout, VisibilityTableForEveryCode) {
    const TCaptionFacts plain = Facts(0, true, true, true, false, true);  // normal, active, all boxes
    const TCaptionFacts bare = Facts(3, false, false, false, true, false);  // maximised, inactive, no boxes
    struct Case {
        int code;
        bool firstPlain, firstBare;    // as "Visibility" (action 5, no fixed rule)
        bool secondPlain, secondBare;  // as "Visibility1" with "Visibility" 200
    } cases[] = {
        {0, true, false, true, true},  {1, false, true, false, true},  {2, true, false, true, false},
        {3, true, false, true, false}, {4, false, true, false, true},  {5, false, false, false, false},
        {6, true, false, true, false}, {7, false, true, false, true},  {8, true, false, true, false},
        {9, false, true, false, true}, {10, false, false, false, false}, {-1, false, false, false, false},
        {100, false, false, true, true}, {200, true, true, true, true}, {2000, true, true, true, true},
        {2001, false, false, false, false}, {199, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(CaptionButtonVisible(5, c.code, 0, plain), c.firstPlain);
        EXPECT_EQ(CaptionButtonVisible(5, c.code, 0, bare), c.firstBare);
        EXPECT_EQ(CaptionButtonVisible(5, 200, c.code, plain), c.secondPlain);
        EXPECT_EQ(CaptionButtonVisible(5, 200, c.code, bare), c.secondBare);
    }
}

TEST(SkinCaptionLayout, VisibilityRulesOfTheButtonsTheSkinsDefine) {
    // The program's main window: a tool window with a system menu and neither box.
    TCaptionFacts main = Facts(0, true, false, false, false, true);
    EXPECT_TRUE(CaptionButtonVisible(0, 0, 0, main));    // close
    EXPECT_FALSE(CaptionButtonVisible(1, 6, 2, main));   // maximise
    EXPECT_FALSE(CaptionButtonVisible(1, 6, 1, main));   // restore
    EXPECT_FALSE(CaptionButtonVisible(2, 8, 0, main));   // minimise
    EXPECT_TRUE(CaptionButtonVisible(3, 0, 0, main));    // the window's icon
    // Close needs a system menu under code 0; other actions do not.
    main.hadSystemMenu = false;
    EXPECT_FALSE(CaptionButtonVisible(0, 0, 0, main));
    EXPECT_TRUE(CaptionButtonVisible(3, 0, 0, main));
    // A window with both boxes: maximise while normal, restore while maximised.
    TCaptionFacts full = Facts(0, true, true, true, false, true);
    EXPECT_TRUE(CaptionButtonVisible(1, 6, 2, full));
    EXPECT_FALSE(CaptionButtonVisible(1, 6, 1, full));
    full.maximized = true;
    EXPECT_FALSE(CaptionButtonVisible(1, 6, 2, full));
    EXPECT_TRUE(CaptionButtonVisible(1, 6, 1, full));
    // The fixed rules win over codes that always show.
    TCaptionFacts none = Facts(0, true, false, false, false, true);
    EXPECT_FALSE(CaptionButtonVisible(1, 200, 200, none));
    EXPECT_FALSE(CaptionButtonVisible(2, 200, 200, none));
    EXPECT_TRUE(CaptionButtonVisible(22, 200, 200, none));
    // The multiple-document buttons show only in a frame whose child is maximised.
    none.childMaximizedInMenuBar = true;
    EXPECT_TRUE(CaptionButtonVisible(7, 100, 0, none));
}

TEST(SkinCaptionLayout, ButtonPlacesByAlignment) {
    TCaptionSpace space;
    space.windowWidth = 400;
    space.borderRight = 6;
    space.titleRect = {40, 8, 140, 22};
    space.menuTop = 30;
    space.menuHeight = 20;
    space.menuBackLeft = 4;
    struct Case {
        int align;
        TSkinRect expected;
    } cases[] = {
        {0, {5, 7, 21, 23}},       {1, {395, 7, 411, 23}},     {2, {19, 7, 35, 23}},  {8, {19, 7, 35, 23}},
        {3, {145, 7, 161, 23}},    {9, {145, 7, 161, 23}},     {100, {385, 32, 401, 48}},
        {4, {5, 7, 21, 23}},  // unknown alignments place from the top-left
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionButtonRect({c.align, 5, 7, 16, 16}, space), c.expected) << "align " << c.align;
}

TEST(SkinCaptionLayout, TitlePlacesAndClips) {
    TTitleMetrics title{0, 30, 4, 80, 12, 12};
    // From the text shift, centred vertically, moved down by half the vertical shift.
    EXPECT_EQ(TitleTextRect(title, 100, 14, 460, 30), (TSkinRect{30, 10, 154, 24}));
    title.alignment = 1;
    EXPECT_EQ(TitleTextRect(title, 100, 14, 460, 30), (TSkinRect{168, 10, 292, 24}));
    title.alignment = 2;
    EXPECT_EQ(TitleTextRect(title, 100, 14, 460, 30), (TSkinRect{256, 10, 380, 24}));
    // A long title stops at the right clip; one that cannot start is empty.
    title.alignment = 0;
    EXPECT_EQ(TitleTextRect(title, 1000, 14, 460, 30), (TSkinRect{30, 10, 380, 24}));
    EXPECT_TRUE(TitleTextRect(title, 100, 14, 100, 30).Empty());
}

TEST(SkinCaptionLayout, CellsOfBordersAndButtons) {
    EXPECT_EQ(BorderCell(true, 2), 1);
    EXPECT_EQ(BorderCell(false, 2), 2);
    EXPECT_EQ(BorderCell(false, 1), 1);
    struct Case {
        int state;
        bool menuBar, active;
        int frames, expected;
    } cases[] = {
        {1, false, true, 4, 1}, {2, false, true, 4, 2}, {3, false, true, 4, 3}, {3, true, true, 4, 4},
        {1, false, false, 4, 4}, {2, false, false, 3, 2}, {3, true, false, 4, 4}, {1, false, false, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionButtonCell(c.state, c.menuBar, c.active, c.frames), c.expected)
            << c.state << c.menuBar << c.active << c.frames;
}

TEST(SkinCaptionLayout, ActionsAndTheirEffects) {
    struct Case {
        int action;
        TCaptionAction effect;
    } cases[] = {
        {0, TCaptionAction::Close},          {1, TCaptionAction::MaximizeOrRestore},
        {22, TCaptionAction::MaximizeOrRestore}, {2, TCaptionAction::MinimizeOrRestore},
        {23, TCaptionAction::MinimizeOrRestore}, {3, TCaptionAction::SystemMenu},
        {11, TCaptionAction::SystemMenu},    {12, TCaptionAction::SystemMenu},
        {7, TCaptionAction::MinimizeChild},  {60, TCaptionAction::MinimizeChild},
        {8, TCaptionAction::RestoreChild},   {61, TCaptionAction::RestoreChild},
        {9, TCaptionAction::CloseChild},     {62, TCaptionAction::CloseChild},
        {500, TCaptionAction::PostToWindow}, {4, TCaptionAction::PostToWindow},
        {-1, TCaptionAction::PostToWindow},
    };
    for (const Case& c : cases) EXPECT_EQ(CaptionActionFor(c.action), c.effect) << c.action;
}

TEST(SkinCaptionLayout, FrameSizesAndHitTests) {
    TFrameSizes frame = FrameSizesFromBorders({8, 300, 2}, {12, 300, 2}, {64, 60, 2}, {64, 9, 3}, false, 19);
    EXPECT_EQ(frame.left, 4);
    EXPECT_EQ(frame.right, 6);
    EXPECT_EQ(frame.top, 30);
    EXPECT_EQ(frame.bottom, 3);
    EXPECT_EQ(frame.menu, 19);
    TFrameSizes none = FrameSizesFromBorders({8, 300, 2}, {12, 300, 2}, {64, 60, 2}, {64, 9, 3}, true, 19);
    EXPECT_EQ(none.left + none.top + none.right + none.bottom + none.menu, 0);

    struct Case {
        int x, y;
        bool sizeable;
        TFrameHit expected;
    } cases[] = {
        {100, 10, false, TFrameHit::Caption}, {2, 10, false, TFrameHit::Caption},  {100, 35, false, TFrameHit::Menu},
        {100, 60, false, TFrameHit::Client},  {2, 60, false, TFrameHit::Border},   {100, 198, false, TFrameHit::Border},
        {1, 1, true, TFrameHit::TopLeft},     {199, 199, true, TFrameHit::BottomRight}, {1, 60, true, TFrameHit::Left},
        {100, 1, true, TFrameHit::Top},       {100, 10, true, TFrameHit::Caption}, {200, 10, false, TFrameHit::Nowhere},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FrameHitTest(c.x, c.y, 200, 200, frame, c.sizeable, 4), c.expected) << c.x << "," << c.y;
}

}  // namespace
