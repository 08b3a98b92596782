// All seven stored skins, taken from the test program's resources (the same resource script
// the program is built with), decode into every element the generator draws.
#include <gtest/gtest.h>
#include <windows.h>

#include "skin/stored/SkinData_win.h"
#include "skin/stored/SkinReader.h"
#include "skin/stored/SkinStore.h"
#include "skin/stored/StoredSkinNames.h"
#include "skin/stored/StoredSkins_win.h"
#include "toolkit/Canvas_win.h"

namespace {

class StoredSkinsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadStoredSkins(store_); }
    TSkinStore store_;
};

void ExpectCells(const TDataSkinObject* element, int frames, int cellWidth, int cellHeight, bool stacked,
                 const char* what) {
    ASSERT_NE(element, nullptr) << what;
    ASSERT_TRUE(element->HasPicture()) << what;
    EXPECT_EQ(element->FrameCount, frames) << what;
    EXPECT_EQ(element->Picture->Width(), stacked ? cellWidth : cellWidth * frames) << what;
    EXPECT_EQ(element->Picture->Height(), stacked ? cellHeight * frames : cellHeight) << what;
}

bool IsMagenta(TBitmap& picture, int x, int y) { return GetPixel(picture.Canvas().Handle(), x, y) == RGB(255, 0, 255); }

TEST_F(StoredSkinsTest, WindowOutlinesAreShapedByMagentaBorderPixels) {
    TSkinData data;
    for (int i = 0; i < StoredSkins::Count; ++i) {
        SCOPED_TRACE(StoredSkins::ItemNames[i]);
        data.LoadSkinFromStore(store_, i);
        ASSERT_FALSE(data.NotReady());
        // Rounded corners leave the outer corner of the left and right borders transparent;
        // the castle cuts battlements into the top edge of its caption instead.
        TBitmap& left = *data.Left.Picture;
        TBitmap& top = *data.Top.Picture;
        int topCutouts = 0;
        for (int x = 0; x < top.Width(); ++x) topCutouts += IsMagenta(top, x, 0);
        EXPECT_TRUE(IsMagenta(left, 0, 0) || topCutouts > 8);
        EXPECT_TRUE(IsMagenta(*data.Right.Picture, data.Right.Picture->Width() / 2 - 1, 0) || topCutouts > 8);
        // The side borders are opaque beside the client area.
        EXPECT_FALSE(IsMagenta(left, 0, data.Left.TopHeight + 2));
        // Caption buttons are round or square shapes on magenta.
        TBitmap& close = *data.SysButtons[0]->Picture;
        EXPECT_FALSE(IsMagenta(close, close.Height() / 2, close.Height() / 2));
    }
}

TEST_F(StoredSkinsTest, TheStoreHoldsTheSevenSkinsInOrder) {
    ASSERT_EQ(store_.Store().Count(), StoredSkins::Count);
    for (int i = 0; i < StoredSkins::Count; ++i) {
        const TSkinCollectionItem& item = store_.Store().Items(i);
        EXPECT_EQ(item.Name(), StoredSkins::ItemNames[i]);
        EXPECT_GT(item.DataSize(), 10000);
        TSkinReader reader;
        ASSERT_TRUE(reader.Open(item.DataStream().Bytes())) << item.Name();
        EXPECT_GE(reader.Count(), 26u);
        EXPECT_LE(reader.Count(), 42u);
        EXPECT_EQ(reader.Names().back(), "skin.ini");
    }
}

TEST_F(StoredSkinsTest, EverySkinDecodesWithAllItsElements) {
    char tempFolder[MAX_PATH + 1];
    GetTempPathA(sizeof tempFolder, tempFolder);
    std::string leftover = std::string(tempFolder) + "skin.ini";
    TSkinData data;
    for (int i = 0; i < StoredSkins::Count; ++i) {
        SCOPED_TRACE(StoredSkins::ItemNames[i]);
        data.LoadSkinFromStore(store_, i);
        ASSERT_FALSE(data.NotReady());
        EXPECT_EQ(data.SkinName, StoredSkins::SkinNames[i]);
        EXPECT_EQ(GetFileAttributesA(leftover.c_str()), INVALID_FILE_ATTRIBUTES) << "settings file left behind";

        // Frame: two states each; the caption height is the left border's fixed top part.
        int caption = data.Left.TopHeight;
        EXPECT_GE(caption, 26);
        for (TDataSkinBorder* border : {&data.Left, &data.Right, &data.Top, &data.Bottom}) {
            EXPECT_TRUE(border->HasPicture()) << border->Name;
            EXPECT_EQ(border->FrameCount, 2) << border->Name;
            EXPECT_EQ(border->Trans, 1) << border->Name;
        }
        EXPECT_EQ(data.Top.Picture->Height(), 2 * caption);
        EXPECT_EQ(data.Left.Picture->Height(), data.Right.Picture->Height());
        EXPECT_EQ(data.Left.BottomHeight, data.Bottom.Picture->Height() / 2);

        // Caption buttons: close, maximise, restore, minimise, the window icon, then the
        // three multiple-document buttons.
        ASSERT_EQ(data.SysButtons.size(), 8u);
        const int actions[] = {0, 1, 1, 2, 3, 7, 8, 9};
        for (size_t k = 0; k < 8; ++k) EXPECT_EQ(data.SysButtons[k]->Action, actions[k]) << k;
        for (size_t k = 0; k < 4; ++k) {
            TDataSkinSysButton& button = *data.SysButtons[k];
            EXPECT_EQ(button.FrameCount, 4);
            EXPECT_EQ(button.Align, 1);
            EXPECT_EQ(button.Picture->Width(), 4 * button.Picture->Height());
            EXPECT_LT(button.YCoord + button.Picture->Height(), caption);
        }
        EXPECT_TRUE(data.SysButtons[4]->Picture->Empty());  // shows the window's icon
        for (size_t k = 5; k < 8; ++k) {
            TDataSkinSysButton& button = *data.SysButtons[k];
            EXPECT_EQ(button.Visibility, 100);
            EXPECT_EQ(button.FrameCount, 4);
            EXPECT_EQ(button.Picture->Width(), 64);
            EXPECT_EQ(button.XCoord, 20 * static_cast<int>(8 - k));
        }

        ExpectCells(&data.Buttons, 5, 30, 22, false, "push buttons");
        EXPECT_EQ(data.Buttons.CheckFrameCount, 4);
        EXPECT_EQ(data.Buttons.RadioFrameCount, 4);
        EXPECT_EQ(data.Buttons.CheckPicture->Width(), 52);
        EXPECT_EQ(data.Buttons.RadioPicture->Height(), 13);
        EXPECT_EQ(data.Title.FrameCount, 2);
        EXPECT_GT(data.Title.TextShift(), data.Left.Picture->Width() / 2);
        EXPECT_NE(data.Title.ActiveTextColour, clNone);
        EXPECT_NE(data.Title.InactiveTextColour, clNone);

        ExpectCells(data.Progress.get(), 2, 60, 14, true, "progress");
        ExpectCells(data.MenuBar.get(), 2, 64, 20, true, "menu bar");
        ExpectCells(data.GroupBoxEdge.get(), 2, 24, 24, false, "group box");
        ExpectCells(data.Toolbars.get(), 5, 24, 22, false, "toolbars");
        ExpectCells(data.Tabs.get(), 5, 44, 22, false, "tabs");
        EXPECT_EQ(data.Tabs->Picture2->Width(), 24);
        ExpectCells(data.StatusBarEdges.get(), 3, 20, 20, false, "status bar");
        ExpectCells(data.ComboButton.get(), 4, 17, 20, false, "combo button");
        ExpectCells(data.SunkEdge.get(), 4, 20, 20, false, "sunken edge");
        ExpectCells(data.ExtraImages.get(), 5, 9, 9, false, "extra images");
        ExpectCells(data.Headerbar.get(), 5, 40, 20, false, "header");
        ExpectCells(data.MenuItem.get(), 5, 32, 20, false, "menu item");
        ExpectCells(data.MenuBackground.get(), 1, 40, 40, false, "menu background");
        ExpectCells(data.Scrollbar.get(), 23, 16, 16, false, "scroll arrows");
        ExpectCells(data.HorzScroll.get(), 4, 32, 16, true, "horizontal track");
        ExpectCells(data.VertScroll.get(), 4, 16, 32, false, "vertical track");
        ExpectCells(data.HorzScrollThumb.get(), 3, 40, 16, true, "horizontal thumb");
        ExpectCells(data.VertScrollThumb.get(), 3, 16, 40, false, "vertical thumb");
        EXPECT_EQ(data.MenuBackground->LeftWidth, 3);

        EXPECT_EQ(data.ColourTable.size(), 4u);
        EXPECT_EQ(data.Colours.TitleTextActive, data.Title.ActiveTextColour);
        EXPECT_EQ(data.Colours.TitleTextInactive, data.Title.InactiveTextColour);
        EXPECT_NE(data.Colours.TitleTextActive, data.Colours.TitleTextInactive);
        EXPECT_EQ(data.Colours.Menubar & clSystemColor, 0u);
        EXPECT_NE(data.ButtonFaceBrush(), nullptr);
        LOGBRUSH brush{};
        GetObjectA(data.ButtonFaceBrush(), sizeof brush, &brush);
        EXPECT_EQ(brush.lbColor, data.Colours.ButtonFace);
    }
}

}  // namespace
