// Skinned menus drawn with the stored skins: owner-drawn items (separators from the picture's
// second cell, selection, disabled, checked and default items, shortcuts), the drawn menu bar
// of a dressed form (disabled items, accelerators, the menu taken and given back), the form's
// popup menus dressed and undressed, a popup window's frame, and GDI objects kept in check.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "skin/stored/SkinDataEvents_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/menus/SkinMenuItems_win.h"
#include "skin/menus/SkinMenuScratch_win.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "skin/stored/SkinStore.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "skin/stored/StoredSkinNames.h"
#include "skin/stored/StoredSkins_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/WideText_win.h"
#include "support/GdiRoom_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/Messages_win.h"

namespace {

class TMenuTestForm : public TForm {
public:
    explicit TMenuTestForm(TComponent* owner) : TForm(owner) {}
    const char* ClassName() const override { return "TSkinMenusTestForm"; }
    std::vector<LPARAM> keyMenusSeen;  // the characters of SC_KEYMENU commands that reached the form

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_KEYMENU) keyMenusSeen.push_back(message.LParam);
        TForm::WndProc(message);
    }
};

// A bitmap to draw on, read back pixel by pixel.
class TPixels {
public:
    TPixels(int width, int height) : width_(width), height_(height) {
        TWindowDC screen;
        bitmap_.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
        selected_ = std::make_unique<TSelection>(dc_.Get(), bitmap_.Get());
        PatBlt(dc_.Get(), 0, 0, width, height, WHITENESS);
    }
    HDC DC() const { return dc_.Get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    int Count(const RECT& box, COLORREF colour) const {
        int count = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) count += At(x, y) == colour;
        return count;
    }

private:
    int width_, height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    std::unique_ptr<TSelection> selected_;
};

class SkinMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        LoadStoredSkins(store_);
        data_.SkinFormtype = sfDialog;  // loads without announcing a switch to the manager
        font_.Reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体"));
    }
    void TearDown() override {
        app_.reset();
        TSkinManage::Finalize();
    }
    void Load(int index) {
        data_.LoadSkinFromStore(store_, index);
        ASSERT_FALSE(data_.NotReady());
    }
    COLORREF Colour(TColor colour) const { return ColorToRGB(colour); }
    // A pixel of the menu-item picture's cell (1-based).
    COLORREF CellPixel(int cell, int x, int y) {
        TBitmap& picture = *data_.MenuItem->Picture;
        int cellWidth = picture.Width() / data_.MenuItem->FrameCount;
        return GetPixel(picture.Canvas().Handle(), (cell - 1) * cellWidth + x, y);
    }
    void DrawItem(TPixels& pixels, const RECT& rect, const TSkinMenuItemLook& look, bool selected) {
        TSelection font(pixels.DC(), font_.Get());
        DrawSkinMenuItemLook(data_, pixels.DC(), rect, look, selected, nullptr);
    }
    static TSkinMenuItemLook Look(const char* caption) {
        TSkinMenuItemLook look;
        look.caption = WideFromAnsi(caption);
        return look;
    }

    std::unique_ptr<TApplication> app_;
    TSkinStore store_;
    TSkinData data_;
    TFontHandle font_;
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Pixels of a row's caption part that differ from the row's background (its right end).
int Ink(const TPixels& pixels, const RECT& row) {
    int ink = 0;
    for (int y = row.top; y < row.bottom; ++y) {
        COLORREF back = pixels.At(row.right - 3, y);
        for (int x = row.left + 20; x < row.left + 90; ++x) ink += pixels.At(x, y) != back;
    }
    return ink;
}

TEST_F(SkinMenusTest, ItemsInEverySkin) {
    for (int skin = 0; skin < StoredSkins::Count; ++skin) {
        SCOPED_TRACE(StoredSkins::ItemNames[skin]);
        Load(skin);
        ASSERT_TRUE(data_.MenuItem && data_.MenuItem->HasPicture());
        const int width = 160, height = 20;
        TPixels pixels(width, 8 * height);
        auto row = [&](int i) { return RECT{0, i * height, width, (i + 1) * height}; };
        TSkinMenuItemLook separator = Look("-");
        separator.separator = true;
        DrawItem(pixels, {0, 0, width, 8}, separator, false);
        DrawItem(pixels, row(1), Look("Normal"), false);
        DrawItem(pixels, row(2), Look("Selected"), true);
        TSkinMenuItemLook disabled = Look("Disabled");
        disabled.enabled = false;
        DrawItem(pixels, row(3), disabled, false);
        TSkinMenuItemLook checked = Look("Checked");
        checked.checked = true;
        DrawItem(pixels, row(4), checked, false);
        TSkinMenuItemLook bold = Look("Normal");
        bold.isDefault = true;
        DrawItem(pixels, row(5), bold, false);
        TSkinMenuItemLook shortcut = Look("X");
        shortcut.shortCut = L"Ctrl+F1";
        DrawItem(pixels, row(6), shortcut, false);
        DrawItem(pixels, row(7), disabled, true);

        // The separator line is the lowest 8 rows of the picture's second cell.
        int cellHeight = data_.MenuItem->Picture->Height();
        for (int y = 0; y < 8; ++y) {
            COLORREF expected = CellPixel(2, 16, cellHeight - 8 + y);
            if (expected != kMagenta) EXPECT_EQ(pixels.At(width / 2, y), expected) << "row " << y;
        }
        // Selected: the fourth cell's middle, in the HilightText colour.
        EXPECT_EQ(pixels.At(width / 2, 2 * height + height / 2 + 1), CellPixel(4, 16, height / 2 + 1));
        EXPECT_GT(pixels.Count(row(2), Colour(data_.Colours.HilightText)), 10);
        // Disabled text in the ButtonShadow colour, enabled in the MenuText colour.
        COLORREF shadow = data_.Colours.ButtonShadow == data_.Colours.MenuText ? GetSysColor(COLOR_BTNSHADOW)
                                                                              : Colour(data_.Colours.ButtonShadow);
        EXPECT_GT(pixels.Count(row(3), shadow), 10);
        // Selected and disabled: the selected cell all the same, with the disabled text colour.
        EXPECT_EQ(pixels.At(width / 2, 7 * height + height / 2 + 1), CellPixel(4, 16, height / 2 + 1));
        EXPECT_GT(pixels.Count(row(7), shadow), 10);
        EXPECT_EQ(pixels.Count(row(3), Colour(data_.Colours.MenuText)), 0);
        EXPECT_GT(pixels.Count(row(1), Colour(data_.Colours.MenuText)), 10);
        // The check mark in the glyph box; none in a plain item's.
        RECT glyph{1, 4 * height + 1, 17, 4 * height + 17};
        EXPECT_GT(pixels.Count(glyph, Colour(data_.Colours.MenuText)), 4);
        EXPECT_EQ(pixels.Count({1, height + 1, 17, height + 17}, Colour(data_.Colours.MenuText)), 0);
        // A default item is bold: more ink for the same caption.
        EXPECT_GT(Ink(pixels, row(5)), Ink(pixels, row(1)) + 10);
        // The shortcut ends 10 pixels before the right edge.
        EXPECT_GT(pixels.Count({width - 60, 6 * height, width - 10, 7 * height}, Colour(data_.Colours.MenuText)), 10);
        EXPECT_EQ(pixels.Count({width - 10, 6 * height, width, 7 * height}, Colour(data_.Colours.MenuText)), 0);
    }
}

// Cells drawn from a picture are kept for the next items by the picture's handle; after a decode
// the system may hand an old handle out again for a new picture. Here the same handle with new
// pixels stands for that: the items must show the new pixels.
TEST_F(SkinMenusTest, CellsKeptForAPictureAreForgottenWhenThePicturesAreReplaced) {
    Load(0);
    const RECT item{0, 0, 160, 20};
    TPixels before(160, 20), after(160, 20);
    DrawItem(before, item, Look("A"), true);
    TBitmap& picture = *data_.MenuItem->Picture;
    const COLORREF fresh = RGB(1, 2, 3);
    ASSERT_NE(before.At(80, 11), fresh);
    {
        TBrushHandle brush(CreateSolidBrush(fresh));
        RECT all{0, 0, picture.Width(), picture.Height()};
        FillRect(picture.Canvas().Handle(), &all, brush.Get());
    }
    SkinDataEvents::PicturesReplaced(data_);
    DrawItem(after, item, Look("A"), true);
    EXPECT_EQ(after.At(80, 11), fresh);
}

TEST_F(SkinMenusTest, WithoutTheItemPictureItemsArePlainFills) {
    Load(0);
    data_.MenuItem.reset();
    TPixels pixels(100, 40);
    DrawItem(pixels, {0, 0, 100, 20}, Look("Selected"), true);
    EXPECT_EQ(pixels.At(2, 2), Colour(data_.Colours.Hilight));
    DrawItem(pixels, {0, 20, 100, 40}, Look("Plain"), false);
    EXPECT_EQ(pixels.At(2, 22), Colour(data_.Colours.ButtonFace));
}

// A popup window's frame from the menu background, and items drawn over that background;
// the popup learns its menu from the first item drawn.
TEST_F(SkinMenusTest, PopupWindowFrameAndItemBackground) {
    Load(0);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 120, 70, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    HMENU menu = CreatePopupMenu();
    {
        TSkinPopupMenu popup(window, data_);
        TPixels printed(120, 70);
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT);
        TBitmap& back = *data_.MenuBackground->Picture;
        for (POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{2, 30}, POINT{119, 69}, POINT{60, 68}}) {
            int x = p.x < 3 ? p.x : p.x >= 117 ? back.Width() - (120 - p.x) : 3;
            int y = p.y < 3 ? p.y : p.y >= 67 ? back.Height() - (70 - p.y) : 3;
            EXPECT_EQ(printed.At(p.x, p.y), GetPixel(back.Canvas().Handle(), x, y)) << p.x << "," << p.y;
        }
        ASSERT_TRUE(popup.BackgroundDC());
        EXPECT_EQ(TSkinPopupMenu::ForItem(menu, nullptr), &popup);
        EXPECT_EQ(popup.Menu(), menu);
        // A transparent item pixel shows the background under it.
        TPixels item(120, 70);
        TSelection font(item.DC(), font_.Get());
        DrawSkinMenuItemLook(data_, item.DC(), {3, 20, 103, 40}, Look(""), false, menu);
        EXPECT_EQ(item.At(90, 30), GetPixel(popup.BackgroundDC(), 90, 30));
        // A popup of the same size takes the background rendered already; after a skin switch
        // the next one is rendered anew, while the open popup keeps its own.
        HWND twin = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 120, 70, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        {
            TSkinPopupMenu second(twin, data_);
            SendMessageA(twin, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT);
            EXPECT_EQ(second.BackgroundDC(), popup.BackgroundDC());
        }
        TSkinPopupMenu::ForgetPreparedBackgrounds();
        TSkinPopupMenu third(twin, data_);
        SendMessageA(twin, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT);
        EXPECT_NE(third.BackgroundDC(), popup.BackgroundDC());
        EXPECT_EQ(GetPixel(popup.BackgroundDC(), 0, 0), GetPixel(third.BackgroundDC(), 0, 0));
        DestroyWindow(twin);
    }
    DestroyMenu(menu);
    DestroyWindow(window);
}

// The off-screen room the menus draw in is kept and big enough; a painter inside a painter
// gets a room of its own; what a painter selected is put back when it is done.
TEST_F(SkinMenusTest, OffScreenRoomIsKeptAndNests) {
    HDC kept = nullptr;
    HGDIOBJ font = nullptr;
    {
        TMenuScratch outer({300, 40});
        ASSERT_TRUE(outer);
        kept = outer.Get();
        BITMAP held{};
        GetObjectA(GetCurrentObject(kept, OBJ_BITMAP), sizeof held, &held);
        EXPECT_GE(held.bmWidth, 300);
        EXPECT_GE(held.bmHeight, 40);
        font = GetCurrentObject(kept, OBJ_FONT);
        SelectObject(kept, font_.Get());
        TMenuScratch inner({10, 10});
        ASSERT_TRUE(inner);
        EXPECT_NE(inner.Get(), kept);
    }
    TMenuScratch again({20, 20});
    EXPECT_EQ(again.Get(), kept);
    EXPECT_EQ(GetCurrentObject(kept, OBJ_FONT), font);
}

class SkinMenuBarTest : public SkinMenusTest {
protected:
    void SetUp() override {
        SkinMenusTest::SetUp();
        form_ = app_->CreateForm<TMenuTestForm>();
        form_->SetClientSize(400, 200);
        auto* menu = new TMainMenu(form_);
        for (const char* caption : {"文件(&F)", "功能选择", "禁用(&D)", "帮助(&H)"}) {
            auto* top = new TMenuItem(form_);
            top->SetCaption(caption);
            menu->Items()->Add(top);
            auto* child = new TMenuItem(form_);
            child->SetCaption("项目(&I)");
            top->Add(child);
            bar_.push_back(top);
        }
        bar_[2]->SetEnabled(false);
        form_->SetMenu(menu);
        popup_ = new TPopupMenu(form_);
        for (int tag : {0, 999, 0}) {
            auto* item = new TMenuItem(form_);
            item->SetCaption("x");
            item->SetTag(tag);
            popup_->Items()->Add(item);
        }
        popup_->Items()->Items(2)->OnDrawItem = [](TMenuItem*, TCanvas&, const RECT&, bool) {};
        form_->SetVisible(true);
    }
    TMenuTestForm* form_ = nullptr;
    std::vector<TMenuItem*> bar_;
    TPopupMenu* popup_ = nullptr;
};

TEST_F(SkinMenuBarTest, BarItemsAccelerators) {
    Load(0);
    HMENU menu = GetMenu(form_->Handle());
    ASSERT_TRUE(menu);
    TSkinForm skin(form_->Handle());
    skin.AttachForm(data_, *form_);
    TSkinMenuBar* bar = skin.MenuBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetMenu(form_->Handle()), nullptr) << "the drawn bar takes the menu away";
    ASSERT_EQ(bar->Items().size(), 4u);
    EXPECT_EQ(bar->ItemForAccelerator('F'), bar->Items()[0].get());
    EXPECT_EQ(bar->ItemForAccelerator('d'), bar->Items()[2].get());
    EXPECT_EQ(bar->ItemForAccelerator('x'), nullptr);
    EXPECT_FALSE(bar->Items()[2]->ItemEnabled);

    RECT window{};
    GetWindowRect(form_->Handle(), &window);
    int width = window.right - window.left;
    RECT place{skin.BorderLeft(), skin.BorderTop(), width - skin.BorderRight(), skin.BorderTop() + skin.MenuBarHeight()};
    TPixels pixels(width, place.bottom + 4);
    bar->Paint(pixels.DC(), place);
    // Items follow each other from the background's left part + 4.
    const RECT& first = bar->Items()[0]->Bounds;
    EXPECT_EQ(first.left, place.left + data_.MenuBar->LeftWidth + 4);
    EXPECT_EQ(first.bottom, place.bottom - 1);
    EXPECT_EQ(bar->Items()[1]->Bounds.left, first.right);
    POINT inside{(bar->Items()[1]->Bounds.left + bar->Items()[1]->Bounds.right) / 2, place.top + 5};
    EXPECT_EQ(bar->ItemAt(inside), bar->Items()[1].get());
    EXPECT_EQ(bar->ItemAt({place.right - 3, place.top + 5}), nullptr);
    // The disabled item in the ButtonShadow colour, the others in MenuBarText.
    EXPECT_GT(pixels.Count(bar->Items()[2]->Bounds, Colour(data_.Colours.ButtonShadow)), 10);
    EXPECT_EQ(pixels.Count(bar->Items()[2]->Bounds, Colour(data_.Colours.MenuBarText)), 0);
    EXPECT_GT(pixels.Count(bar->Items()[3]->Bounds, Colour(data_.Colours.MenuBarText)), 10);
    // A disabled item does not open: nothing is tracked, nothing posted.
    bar->OpenBarItem(*bar->Items()[2]);
    EXPECT_FALSE(bar->MenuOpen());
    MSG posted{};
    EXPECT_FALSE(PeekMessageA(&posted, form_->Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));

    skin.Restore();
    EXPECT_EQ(GetMenu(form_->Handle()), menu) << "Restore gives the menu back";
}

// Alt with a letter of the bar's accelerators is the bar's; the character of another alphabet
// (Alt+ц on a Russian layout, U+0446, whose low byte is an "F") is left to the system.
TEST_F(SkinMenuBarTest, AltWithACharacterOfAnotherAlphabetIsNoAccelerator) {
    Load(0);
    TSkinForm skin(form_->Handle());
    skin.AttachForm(data_, *form_);
    for (LPARAM character : {LPARAM{'f'}, LPARAM{0x0446}}) {
        form_->keyMenusSeen.clear();
        SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, character);
        EXPECT_EQ(form_->keyMenusSeen.size(), character == 'f' ? 0u : 1u) << character;
        EXPECT_FALSE(skin.MenuBar()->MenuOpen()) << character;
    }
}

TEST_F(SkinMenuBarTest, PopupMenusDressedExceptTag999AndOwnDrawers) {
    Load(1);
    TSkinForm skin(form_->Handle());
    skin.AttachForm(data_, *form_);
    TMenuItem* plain = popup_->Items()->Items(0);
    TMenuItem* system = popup_->Items()->Items(1);
    TMenuItem* own = popup_->Items()->Items(2);
    EXPECT_TRUE(popup_->OwnerDraw());
    EXPECT_TRUE(plain->OnDrawItem && plain->OnMeasureItem);
    EXPECT_FALSE(system->OnDrawItem);
    EXPECT_EQ(GetMenuState(popup_->Handle(), 1, MF_BYPOSITION) & MF_OWNERDRAW, 0u) << "Tag 999: the system draws it";
    EXPECT_NE(GetMenuState(popup_->Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    // Measured wider than by its text alone.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, plain->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(plain)};
    DispatchMenuMeasureItem(&measure);
    UINT skinned = measure.itemWidth;
    skin.Restore();
    EXPECT_FALSE(plain->OnDrawItem);
    EXPECT_TRUE(own->OnDrawItem) << "an item's own drawing handler is kept";
    EXPECT_EQ(GetMenuState(popup_->Handle(), 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    DispatchMenuMeasureItem(&measure);
    EXPECT_EQ(measure.itemWidth + 28, skinned);
}

// Escape for the menu that is about to open, once it is up and drawn.
HWND g_escapeTarget = nullptr;
void CALLBACK PressEscape(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(g_escapeTarget, WM_KEYDOWN, VK_ESCAPE, 0);
}
void CloseMenuSoon(HWND window) {
    g_escapeTarget = window;
    SetTimer(nullptr, 0, 40, &PressEscape);
}

// The arrows follow the selected item: the right arrow on an item that opens a submenu opens
// it and the left arrow in that submenu closes it, neither moving to another bar item (which
// would post a press on that item); Escape then closes the bar's menu.
// Right, then Left, then Escape, each a while after the one before, as a user presses them.
void CALLBACK PressArrows(HWND, UINT, UINT_PTR timer, DWORD) {
    static const WPARAM keys[] = {VK_RIGHT, VK_LEFT, VK_ESCAPE};
    static size_t next = 0;
    KillTimer(nullptr, timer);
    PostMessageA(g_escapeTarget, WM_KEYDOWN, keys[next], 0);
    next = (next + 1) % 3;
    if (next != 0) SetTimer(nullptr, 0, 150, &PressArrows);
}

TEST_F(SkinMenuBarTest, ArrowsFollowTheSelectedItem) {
    auto* nested = new TMenuItem(form_);
    nested->SetCaption("更多(&M)");
    bar_[0]->Items(0)->Add(nested);
    Load(0);
    TSkinForm skin(form_->Handle());
    skin.AttachForm(data_, *form_);
    TSkinMenuBar* bar = skin.MenuBar();
    ASSERT_TRUE(bar);
    TWholeWindowDC dc(form_->Handle());
    bar->Paint(dc.Get(), {skin.BorderLeft(), skin.BorderTop(), 300, skin.BorderTop() + skin.MenuBarHeight()});
    g_escapeTarget = form_->Handle();
    SetTimer(nullptr, 0, 100, &PressArrows);
    bar->OpenBarItem(*bar->Items()[0]);
    MSG press{};
    bool switched = PeekMessageA(&press, form_->Handle(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
    RECT window{};
    GetWindowRect(form_->Handle(), &window);
    POINT at{PointX(press.lParam) - window.left, PointY(press.lParam) - window.top};
    EXPECT_FALSE(switched) << "moved to bar item " << (bar->ItemAt(at) ? bar->ItemAt(at)->Index : -1);
    while (PeekMessageA(&press, form_->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
    }
    skin.Restore();
}

// Opening and closing the bar's menus and a popup menu 200 times, with every item drawn from
// the skin, leaves the GDI object room as it was.
TEST_F(SkinMenuBarTest, GdiRoomStaysAfterOpeningMenus200Times) {
    Load(2);
    TSkinForm skin(form_->Handle());
    skin.AttachForm(data_, *form_);
    TSkinMenuBar* bar = skin.MenuBar();
    ASSERT_TRUE(bar);
    TWholeWindowDC dc(form_->Handle());
    RECT place{skin.BorderLeft(), skin.BorderTop(), 300, skin.BorderTop() + skin.MenuBarHeight()};
    auto openAndClose = [&](int i) {
        bar->Paint(dc.Get(), place);
        CloseMenuSoon(form_->Handle());
        bar->OpenBarItem(*bar->Items()[static_cast<size_t>(i % 2 == 0 ? 0 : 3)]);
        CloseMenuSoon(form_->Handle());
        popup_->Popup(10, 10);
        for (int round = 0; round < 3; ++round) app_->ProcessMessages();
    };
    openAndClose(0);
    size_t room = GdiRoom();
    for (int i = 0; i < 200; ++i) openAndClose(i);
    EXPECT_FALSE(bar->MenuOpen());
    EXPECT_EQ(GdiRoom(), room);
    skin.Restore();
}

}  // namespace
