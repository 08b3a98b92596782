// The control painters on a test form and on a plain window, in every stored skin: which
// controls get which painter, the cells and text colours they paint, and what Release gives back.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/GdiRoom_win.h"

#include <functional>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/controls/SkinPainters_win.h"
#include "skin/stored/SkinStore.h"
#include "skin/stored/StoredSkinNames.h"
#include "skin/stored/StoredSkins_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/BitBtn_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Edit_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/GroupBox_win.h"
#include "toolkit/RadioButton_win.h"
#include "toolkit/WideText_win.h"

namespace {

class TControlsTestForm : public TForm {
public:
    explicit TControlsTestForm(TComponent* owner) : TForm(owner) {}
    const char* ClassName() const override { return "TSkinControlsTestForm"; }
};

// A bitmap the size of a control, with a device context, to paint into and read back.
class TCanvasBitmap {
public:
    TCanvasBitmap(int width, int height) : width_(width), height_(height), dc_(screen_.Get()) {
        bitmap_.Reset(CreateCompatibleBitmap(screen_.Get(), width, height));
        selected_ = std::make_unique<TSelection>(dc_.Get(), bitmap_.Get());
    }
    HDC Dc() const { return dc_.Get(); }
    RECT Rect() const { return {0, 0, width_, height_}; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    // Pixels near the colour: smoothed text mixes its colour into the edges of its strokes.
    int Count(COLORREF colour, const RECT& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) count += Near(Pixel(x, y), colour);
        return count;
    }

private:
    static bool Near(COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 40 && std::abs(GetGValue(a) - GetGValue(b)) <= 40 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 40;
    }

public:

private:
    int width_, height_;
    TWindowDC screen_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    std::unique_ptr<TSelection> selected_;
};

class SkinControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TSkinManage::Finalize();
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        form_ = app_->CreateForm<TControlsTestForm>();
        form_->SetClientSize(320, 240);
        LoadStoredSkins(store_);
        data_ = std::make_unique<TSkinData>();
    }
    void TearDown() override {
        window_.reset();
        app_.reset();
        data_.reset();
        TSkinManage::Finalize();
    }

    template <typename T>
    T* Place(TWinControl* parent, int left, int top, int width, int height, const char* caption = "") {
        T* control = new T(form_);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent);
        control->SetCaption(caption);
        return control;
    }
    // The form's window dressed by a frame object that is never attached: it only owns the painters.
    void DressControls(int skin) {
        data_->LoadSkinFromStore(store_, skin);
        ASSERT_FALSE(data_->NotReady());
        window_ = std::make_unique<TSkinForm>(form_->Handle());
        SkinFormControls(*window_, *form_, *data_);
    }
    TSkinControl* Painter(TWinControl* control) { return FindControlPainter(*window_, control->Handle()); }
    void Pump() {
        for (int i = 0; i < 5; ++i) app_->ProcessMessages();
    }

    std::unique_ptr<TApplication> app_;
    TControlsTestForm* form_ = nullptr;
    TSkinStore store_;
    std::unique_ptr<TSkinData> data_;
    std::unique_ptr<TSkinForm> window_;
};

// The element's cell as DrawSkinElement makes it, at a size.
bool SamePixels(const TCanvasBitmap& painted, int x0, int y0, TBitmap& picture, int frames, int cell) {
    int width = picture.Width() / frames, height = picture.Height();
    HDC source = picture.Canvas().Handle();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (painted.Pixel(x0 + x, y0 + y) != GetPixel(source, (cell - 1) * width + x, y)) return false;
    return true;
}

// Whether the cell of the picture appears 1:1 somewhere near the control's left edge.
bool ShowsCell(const TCanvasBitmap& painted, int height, TBitmap& picture, int frames, int cell) {
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y + picture.Height() <= height; ++y)
            if (SamePixels(painted, x, y, picture, frames, cell)) return true;
    return false;
}

TEST_F(SkinControlsTest, DisabledTagsAndTheRuleTableChooseThePainters) {
    auto* pages = Place<TGroupBox>(form_, 4, 4, 150, 100, "组");
    auto* radio = Place<TRadioButton>(pages, 8, 20, 120, 20, "选项");
    auto* bitmapButton = Place<TBitBtn>(form_, 160, 4, 90, 30, "打开");
    auto* pushButton = Place<TButton>(form_, 160, 40, 90, 30, "确定");
    auto* edit = Place<TEdit>(form_, 160, 80, 90, 20);
    auto* kept99 = Place<TButton>(form_, 160, 110, 90, 30, "99");
    kept99->SetTag(99);
    auto* kept199 = Place<TEdit>(form_, 160, 150, 90, 20);
    kept199->SetTag(199);
    auto* tagged = Place<TButton>(form_, 160, 180, 90, 30, "1");
    tagged->SetTag(1);
    DressControls(0);
    struct Expected {
        TWinControl* control;
        const char* painter;
    } expected[] = {{pages, "TSkinBox"},          {radio, "TSkinRadioButton"}, {bitmapButton, "TSkinBitButton"},
                    {pushButton, "TSkinButton"}, {edit, "TSkinEdit"},         {tagged, "TSkinButton"},
                    {kept99, nullptr},           {kept199, nullptr}};
    for (const Expected& e : expected) {
        TSkinControl* painter = Painter(e.control);
        if (!e.painter) {
            EXPECT_EQ(painter, nullptr) << e.control->Tag();
            continue;
        }
        ASSERT_NE(painter, nullptr) << e.painter;
        EXPECT_STREQ(painter->ClassName(), e.painter);
    }
    // A second walk adds nothing; without the bitmap-button member bitmap buttons stay plain
    // (and are not taken for push buttons).
    size_t count = window_->Controls().size();
    SkinFormControls(*window_, *form_, *data_);
    EXPECT_EQ(window_->Controls().size(), count);
    ReleaseSkinControls(*window_);
    data_->SkinControls &= ~SkinControlBit(xcBitBtn);
    SkinFormControls(*window_, *form_, *data_);
    EXPECT_EQ(Painter(bitmapButton), nullptr);
    EXPECT_NE(Painter(pushButton), nullptr);
}

// A painted push button's left edge (no glyph or text there) is the push-button picture's
// `cell`, told apart from `otherCell`, which must differ from it there.
void ExpectLeftEdgeOfCell(const TCanvasBitmap& painted, TDataSkinButton& buttons, int cell, int otherCell) {
    const int width = painted.Rect().right, height = painted.Rect().bottom;
    TCanvasBitmap expected(width, height), other(width, height);
    DrawSkinElementTransparent(expected.Dc(), expected.Rect(), *buttons.Picture, ElementStyle(buttons), cell, false);
    DrawSkinElementTransparent(other.Dc(), other.Rect(), *buttons.Picture, ElementStyle(buttons), otherCell, false);
    int differing = 0, matching = 0;
    for (int y = 0; y < height; ++y) {
        differing += expected.Pixel(1, y) != other.Pixel(1, y);
        matching += painted.Pixel(1, y) == expected.Pixel(1, y);
    }
    EXPECT_GT(differing, 0);
    EXPECT_EQ(matching, height);
}

TEST_F(SkinControlsTest, DisabledButtonsPaintCellThreeWithShadowTextInEverySkin) {
    auto* button = Place<TBitBtn>(form_, 10, 10, 97, 41, "HHHH");
    button->SetEnabled(false);
    for (int skin = 0; skin < StoredSkins::Count; ++skin) {
        SCOPED_TRACE(StoredSkins::ItemNames[skin]);
        DressControls(skin);
        TSkinControl* painter = Painter(button);
        ASSERT_NE(painter, nullptr);
        TCanvasBitmap painted(97, 41), expected(97, 41);
        painter->Paint(painted.Dc(), painted.Rect());
        TDataSkinButton& buttons = data_->Buttons;
        DrawSkinElementTransparent(expected.Dc(), expected.Rect(), *buttons.Picture, ElementStyle(buttons), 3, false);
        // The left edge (no glyph or text there) is cell 3's, which differs from cell 1's.
        ExpectLeftEdgeOfCell(painted, buttons, 3, 1);
        // The caption is in the system's button-shadow colour, not the skin's text colour.
        COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        RECT text{40, 8, 97, 33};
        EXPECT_GT(painted.Count(shadow, text), expected.Count(shadow, text) + 10);
        EXPECT_EQ(painted.Count(ColorToRGB(buttons.NormalColour2), text), expected.Count(ColorToRGB(buttons.NormalColour2), text));
        window_.reset();
    }
}

TEST_F(SkinControlsTest, DisabledCheckedRadioButtonsPaintCellFourInEverySkin) {
    auto* group = Place<TGroupBox>(form_, 4, 4, 200, 80, "组");
    auto* radio = Place<TRadioButton>(group, 8, 20, 150, 25, "保存为256色图标");
    radio->SetChecked(true);
    radio->SetEnabled(false);
    for (int skin = 0; skin < StoredSkins::Count; ++skin) {
        SCOPED_TRACE(StoredSkins::ItemNames[skin]);
        DressControls(skin);
        TSkinControl* painter = Painter(radio);
        ASSERT_NE(painter, nullptr);
        TCanvasBitmap painted(150, 25);
        painter->Paint(painted.Dc(), painted.Rect());
        TDataSkinButton& buttons = data_->Buttons;
        EXPECT_TRUE(ShowsCell(painted, 25, *buttons.RadioPicture, buttons.RadioFrameCount, 4));
        EXPECT_FALSE(ShowsCell(painted, 25, *buttons.RadioPicture, buttons.RadioFrameCount, 2));
        // The painter set the radio button's colour to the skin's face; Release gives it back.
        EXPECT_EQ(radio->Color(), data_->Colours.ButtonFace);
        window_.reset();
        EXPECT_EQ(radio->Color(), TColor(clBtnFace));
    }
}

TEST_F(SkinControlsTest, PressedAndReleasedOverTheButtonClicksOnce) {
    auto* button = Place<TBitBtn>(form_, 10, 10, 97, 41, "打开");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form_->SetVisible(true);
    DressControls(0);
    HWND handle = button->Handle();
    struct Case {
        LPARAM release;
        int clicks;
    } cases[] = {{MAKELPARAM(20, 20), 1}, {MAKELPARAM(200, 20), 0}, {MAKELPARAM(-5, 20), 0}};
    for (const Case& c : cases) {
        clicks = 0;
        SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        EXPECT_TRUE(Painter(button)->Pressed());
        SendMessageA(handle, WM_MOUSEMOVE, MK_LBUTTON, c.release);
        SendMessageA(handle, WM_LBUTTONUP, 0, c.release);
        Pump();
        EXPECT_EQ(clicks, c.clicks) << c.release;
        EXPECT_FALSE(Painter(button)->Pressed());
    }
    // A release without a press on the button does nothing either.
    clicks = 0;
    SendMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Pump();
    EXPECT_EQ(clicks, 0);
}

// In form mode the toolkit's only mouse-leave comes while the press is tracked; released away
// from the button, the button is no longer hot, and once the focus moves on it looks normal.
TEST_F(SkinControlsTest, PressedDraggedOffAndReleasedTheButtonLooksNormalOnceTheFocusMovesOn) {
    auto* button = Place<TBitBtn>(form_, 10, 10, 97, 41, "");
    auto* other = Place<TBitBtn>(form_, 120, 10, 97, 41, "");
    form_->SetVisible(true);
    DressControls(0);
    HWND handle = button->Handle();
    SendMessageA(handle, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 20));
    button->Perform(CM_MOUSELEAVE);
    SendMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(200, 20));
    Pump();
    SetFocus(other->Handle());
    Pump();
    ASSERT_NE(GetFocus(), handle);
    TSkinControl* painter = Painter(button);
    EXPECT_FALSE(painter->Hot());
    EXPECT_NE(window_->HotControl(), painter);
    TCanvasBitmap painted(97, 41);
    painter->Paint(painted.Dc(), painted.Rect());
    ExpectLeftEdgeOfCell(painted, data_->Buttons, 1, 4);
}

TEST_F(SkinControlsTest, PlainWindowChildrenByClassAndStyleAndTheirProceduresGivenBack) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateWindowExA(0, "#32770", "dialog", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    struct Child {
        const char* windowClass;
        DWORD style;
        const char* painter;
        HWND handle = nullptr;
        WNDPROC proc = nullptr;
    } children[] = {
        {"button", BS_PUSHBUTTON, "TSkinButton"},         {"button", BS_DEFPUSHBUTTON, "TSkinButton"},
        {"button", BS_AUTOCHECKBOX, "TSkinCheckBox"},     {"button", BS_CHECKBOX, "TSkinCheckBox"},
        {"button", BS_AUTO3STATE, "TSkinCheckBox"},       {"button", BS_3STATE, "TSkinCheckBox"},
        {"button", BS_AUTORADIOBUTTON, "TSkinRadioButton"}, {"button", BS_RADIOBUTTON, "TSkinRadioButton"},
        {"button", BS_GROUPBOX, nullptr},                 {"button", BS_OWNERDRAW, nullptr},
        {"combobox", CBS_DROPDOWNLIST, "TSkinComBox"},    {"combobox", CBS_DROPDOWN, "TSkinComBox"},
        {"combobox", CBS_SIMPLE, nullptr},                {"edit", ES_LEFT, "TSkinEdit"},
        {"scrollbar", SBS_SIZEGRIP, "TSkinSizer"},        {"SysTabControl32", 0, "TSkinTab"},
        {"SysTabControl32", TCS_OWNERDRAWFIXED, nullptr}, {"static", SS_LEFT, nullptr},
    };
    int y = 0;
    for (Child& child : children) {
        // Wide windows, as every window of the program is.
        child.handle = CreateWindowExW(0, WideFromAnsi(child.windowClass).c_str(), L"x",
                                       WS_CHILD | WS_VISIBLE | child.style, 0, y, 80, 20, dialog, nullptr, nullptr,
                                       nullptr);
        ASSERT_NE(child.handle, nullptr) << child.windowClass;
        child.proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(child.handle, GWLP_WNDPROC));
        y += 21;
    }
    data_->LoadSkinFromStore(store_, 0);
    window_ = std::make_unique<TSkinForm>(dialog);
    SkinChildWindows(*window_, *data_);
    for (const Child& child : children) {
        TSkinControl* painter = FindControlPainter(*window_, child.handle);
        SCOPED_TRACE(std::string(child.windowClass) + " " + std::to_string(child.style));
        if (!child.painter) {
            EXPECT_EQ(painter, nullptr);
            continue;
        }
        ASSERT_NE(painter, nullptr);
        EXPECT_STREQ(painter->ClassName(), child.painter);
        EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(child.handle, GWLP_WNDPROC)), child.proc);
        // Hooked children keep working: the check box still checks.
        if (std::string(child.painter) == "TSkinCheckBox" && child.style == BS_AUTOCHECKBOX) {
            SendMessageA(child.handle, BM_CLICK, 0, 0);
            EXPECT_EQ(SendMessageA(child.handle, BM_GETCHECK, 0, 0), BST_CHECKED);
        }
    }
    ReleaseSkinControls(*window_);
    for (const Child& child : children)
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(child.handle, GWLP_WNDPROC)), child.proc);
    window_.reset();
    DestroyWindow(dialog);
}

// The box around the pixels that differ between two paintings of the same size.
RECT DifferingBox(const TCanvasBitmap& a, const TCanvasBitmap& b, const RECT& area) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
    return box;
}

TEST_F(SkinControlsTest, SideTabsTurnTheirCaptions) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateWindowExA(0, "#32770", "dialog", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    data_->LoadSkinFromStore(store_, 0);
    for (DWORD side : {DWORD(TCS_VERTICAL), DWORD(TCS_VERTICAL | TCS_RIGHT)}) {
        SCOPED_TRACE(side);
        HWND tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | TCS_MULTILINE | side, 0, 0,
                                    200, 200, dialog, nullptr, nullptr, nullptr);
        char caption[] = "图标提取";
        TCITEMA item{TCIF_TEXT};
        item.pszText = caption;
        SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        window_ = std::make_unique<TSkinForm>(dialog);
        SkinChildWindows(*window_, *data_);
        TSkinControl* painter = FindControlPainter(*window_, tabs);
        ASSERT_NE(painter, nullptr);
        TCanvasBitmap withText(200, 200), without(200, 200);
        painter->Paint(withText.Dc(), withText.Rect());
        item.pszText[0] = '\0';
        SendMessageA(tabs, TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        painter->Paint(without.Dc(), without.Rect());
        RECT tab;
        SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        RECT ink = DifferingBox(withText, without, tab);
        ASSERT_LT(ink.left, ink.right) << "the caption shows within its tab";
        EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left)) << "the caption runs along the tab";
        window_.reset();
        DestroyWindow(tabs);
    }
    DestroyWindow(dialog);
}

// A list box with its own vertical scroll bar, as other programs' lists and memos have them.
class TScrolledList : public TWinControl {
public:
    explicit TScrolledList(TComponent* owner) : TWinControl(owner) {}
    const char* ClassName() const override { return "TScrolledList"; }

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        params.systemClass = "LISTBOX";
        params.style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    }
};

// Presses the list's scroll bar at a point of its window; the release is already waiting, as
// is a mouse move to the cursor's place when one is given.
int PressScrollBar(HWND list, POINT at, bool moveFirst = false) {
    RECT outer;
    GetWindowRect(list, &outer);
    if (moveFirst) PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, 0);
    PostMessageA(list, WM_LBUTTONUP, 0, 0);
    SendMessageA(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(outer.left + at.x, outer.top + at.y));
    return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
}

TEST_F(SkinControlsTest, ScrollBarsArePaintedFromTheSkinAndTrackArrowsPagesAndTheThumb) {
    auto* list = Place<TScrolledList>(form_, 10, 10, 150, 200);
    for (int i = 0; i < 100; ++i) SendMessageA(list->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("项目"));
    form_->SetVisible(true);
    HWND handle = list->Handle();
    Pump();
    RECT outer;
    GetWindowRect(handle, &outer);
    SCROLLBARINFO bar{sizeof bar};
    ASSERT_TRUE(GetScrollBarInfo(handle, OBJID_VSCROLL, &bar));
    OffsetRect(&bar.rcScrollBar, -outer.left, -outer.top);
    const RECT area = bar.rcScrollBar;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    POINT downArrow{(area.left + area.right) / 2, area.bottom - arrow / 2};
    for (int skin = 0; skin < StoredSkins::Count; ++skin) {
        SCOPED_TRACE(StoredSkins::ItemNames[skin]);
        DressControls(skin);
        TSkinControl* painter = Painter(list);
        ASSERT_NE(painter, nullptr);
        EXPECT_STREQ(painter->ClassName(), "TSkinScrollBar");
        SendMessageA(handle, LB_SETTOPINDEX, 0, 0);
        RedrawWindow(handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        Pump();
        // The down arrow shows the normal down-arrow cell of the skin's 23-cell picture.
        TDataSkinObject& arrows = *data_->Scrollbar;
        TCanvasBitmap expected(area.right - area.left, arrow);
        RECT cellArea = expected.Rect();
        FillRect(expected.Dc(), &cellArea, GetSysColorBrush(COLOR_WINDOW));
        DrawSkinElementTransparent(expected.Dc(), expected.Rect(), *arrows.Picture, ElementStyle(arrows),
                                   SkinCells::ScrollDown, false);
        HDC shown = GetWindowDC(handle);
        int same = 0, opaque = 0;
        for (int y = 0; y < arrow; ++y)
            for (int x = 0; x < area.right - area.left; ++x) {
                COLORREF want = expected.Pixel(x, y);
                if (want == RGB(255, 0, 255)) continue;
                ++opaque;
                same += GetPixel(shown, area.left + x, area.bottom - arrow + y) == want;
            }
        ReleaseDC(handle, shown);
        EXPECT_GT(opaque, 0);
        EXPECT_GE(same * 10, opaque * 9);
        // A press on the arrow scrolls a line, on the track below the thumb a page, and the thumb
        // dragged to the track's end scrolls to the end.
        EXPECT_EQ(PressScrollBar(handle, downArrow), 1);
        GetScrollBarInfo(handle, OBJID_VSCROLL, &bar);
        int belowThumb = area.top + bar.xyThumbBottom + 4;
        EXPECT_GT(PressScrollBar(handle, {downArrow.x, belowThumb}), 5);
        GetScrollBarInfo(handle, OBJID_VSCROLL, &bar);
        SetCursorPos(outer.left + downArrow.x, outer.top + area.bottom - arrow - 1);
        RECT client;
        GetClientRect(handle, &client);
        int lastTop = 100 - client.bottom / static_cast<int>(SendMessageA(handle, LB_GETITEMHEIGHT, 0, 0));
        POINT thumb{downArrow.x, area.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
        EXPECT_GE(PressScrollBar(handle, thumb, true), lastTop - 1);
        window_.reset();
    }
}

}  // namespace

namespace {

// The program's main window, dressed by the skin manager as the program dresses it.
class MainWindowControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TSkinManage::Finalize();
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        form_ = app_->CreateForm<TVyrfForm1>();
        manager_ = TSkinManage::Instance();
        ASSERT_TRUE(PumpUntil([this] { return manager_->FindSkinnedWindow(form_->Handle()); }));
    }
    void TearDown() override {
        app_.reset();
        TSkinManage::Finalize();
    }
    bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 3000) {
        DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < milliseconds) {
            app_->ProcessMessages();
            Sleep(2);
        }
        return done();
    }
    // Chooses a skin, waits for the re-skin pass and paints every page in it.
    void SwitchAndShowEveryPage(int skin) {
        form_->SkinItems()[static_cast<size_t>(skin)]->Click();
        ASSERT_TRUE(PumpUntil([this] { return !manager_->ActionTimerRunning(); }));
        for (int page = 0; page < form_->PageControl1->PageCount(); ++page) {
            form_->PageControl1->SetActivePageIndex(page);
            RedrawWindow(form_->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            app_->ProcessMessages();
        }
    }

    std::unique_ptr<TApplication> app_;
    TVyrfForm1* form_ = nullptr;
    TSkinManage* manager_ = nullptr;
};

// The window opens on the About page: the other pages' controls get their windows when their
// page is first shown, and are dressed then, before they paint.
TEST_F(MainWindowControlsTest, EveryControlOfThePagesIsDressedWhenItsPageIsFirstShown) {
    TSkinForm* window = manager_->SkinnedWindow(form_->Handle());
    ASSERT_NE(window, nullptr);
    const std::vector<TWinControl*> pageControls{
        form_->BitBtn1, form_->BitBtn5, form_->BitBtn6, form_->BitBtn7, form_->BitBtn8, form_->BitBtn9,
        form_->BitBtn10, form_->Edit4, form_->Edit5, form_->Edit6, form_->Edit7, form_->GroupBox1,
        form_->GroupBox2, form_->RadioButton1, form_->RadioButton2, form_->RadioButton3, form_->RadioButton4,
        form_->TrackBar1};
    for (TWinControl* control : pageControls) EXPECT_FALSE(control->HandleAllocated()) << control->Name();
    EXPECT_NE(FindControlPainter(*window, form_->PageControl1->Handle()), nullptr);
    for (int page = 0; page < form_->PageControl1->PageCount(); ++page) {
        form_->PageControl1->SetActivePageIndex(page);
        for (TWinControl* control : pageControls)
            if (control->HandleAllocated())
                EXPECT_NE(FindControlPainter(*window, control->Handle()), nullptr) << control->Name();
    }
    for (TWinControl* control : pageControls) {
        ASSERT_TRUE(control->HandleAllocated()) << control->Name();
        EXPECT_NE(FindControlPainter(*window, control->Handle()), nullptr) << control->Name();
    }
    // The state kept before the windows existed reached them.
    EXPECT_NE(GetWindowLongW(form_->Edit4->Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(SendMessageW(form_->RadioButton1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(MainWindowControlsTest, GdiRoomIsUnchangedAfterAHundredSkinSwitchesWithEveryPageShown) {
    for (int skin = 0; skin < StoredSkins::Count; ++skin) SwitchAndShowEveryPage(skin);  // lasting objects made
    size_t room = GdiRoom();
    for (int i = 0; i < 100; ++i) SwitchAndShowEveryPage(i % StoredSkins::Count);
    // Caches made during the first round may have gone meanwhile; nothing may stay behind.
    EXPECT_GE(GdiRoom(), room);
}

}  // namespace
