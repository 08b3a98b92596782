// A test form dressed in the stored skins without the skin manager: its outline, client size,
// caption pixels, hit tests, caption buttons, caption changes, GDI objects, and the
// multiple-document frame's client window.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/stored/SkinStore.h"
#include "skin/stored/StoredSkinNames.h"
#include "skin/stored/StoredSkins_win.h"
#include "support/BitmapsMade_win.h"
#include "support/GdiRoom_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Menus_win.h"
#include "win/toolkit/ToolkitTestSupport.h"

namespace {

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

SIZE WindowSize(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

LPARAM ScreenPoint(HWND window, int x, int y) {
    RECT outer;
    GetWindowRect(window, &outer);
    return MAKELPARAM(outer.left + x, outer.top + y);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// The messages waiting for a window, taken from its queue (timers and paints aside).
std::vector<MSG> TakePosted(HWND window) {
    std::vector<MSG> taken;
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
        if (message.message != WM_TIMER && message.message != WM_PAINT) taken.push_back(message);
    }
    return taken;
}

class SkinFormTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        LoadStoredSkins(store_);
        data_.LoadSkinFromStore(store_, 0);
        ASSERT_FALSE(data_.NotReady());
    }
    void TearDown() override {
        skin_.reset();
        ToolkitTest::TearDown();
    }

    // Shows the form and dresses it as the manager would: attach, then the first showing.
    void Dress(TSkinData& data) {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Pump();
        skin_ = std::make_unique<TSkinForm>(form_->Handle());
        skin_->AttachForm(data, *form_);
        SendMessageA(form_->Handle(), WM_SKIN_FIRSTSHOW, 0, 1000);
        Pump();
    }

    // A point of the top border's fixed left part that no icon or title covers and that the
    // picture does not mark transparent, with the colour the picture gives it.
    bool TopBorderSample(POINT& at, COLORREF& expected) {
        TDataSkinBorder& top = data_.Top;
        int cellTop = skin_->Active() ? 0 : top.Picture->Height() / 2;
        HDC picture = top.Picture->Canvas().Handle();
        for (int y = 0; y < skin_->BorderTop(); ++y) {
            for (int x = 0; x < 4 && x < top.LeftWidth; ++x) {
                COLORREF colour = GetPixel(picture, x, cellTop + y);
                if (colour == RGB(255, 0, 255)) continue;
                at = {skin_->BorderLeft() + x, y};
                expected = colour;
                return true;
            }
        }
        return false;
    }

    TSkinStore store_;
    TSkinData data_;
    std::unique_ptr<TSkinForm> skin_;
};

TEST_F(SkinFormTest, DressedFormKeepsItsClientAreaAndIsShapedByTheBorders) {
    for (bool withMenu : {false, true}) {
        SCOPED_TRACE(withMenu ? "with a menu" : "without a menu");
        if (withMenu) {
            auto* menu = new TMainMenu(form_);
            auto* item = new TMenuItem(form_);
            item->SetCaption("文件(&F)");
            menu->Items()->Add(item);
            form_->SetMenu(menu);
            form_->SetClientSize(300, 200);
        }
        HWND window = form_->Handle();
        SIZE client = ClientSize(window);
        ASSERT_EQ(client.cx, 300);
        ASSERT_EQ(client.cy, 200);
        Dress(data_);
        EXPECT_EQ(skin_->SkinState(), TSkinForm::ssSkinned);
        EXPECT_EQ(ClientSize(window).cx, 300);
        EXPECT_EQ(ClientSize(window).cy, 200);
        SIZE outer = WindowSize(window);
        EXPECT_EQ(outer.cx, 300 + skin_->BorderLeft() + skin_->BorderRight());
        EXPECT_EQ(outer.cy, 200 + skin_->BorderTop() + skin_->MenuBarHeight() + skin_->BorderBottom());
        EXPECT_EQ(skin_->BorderTop(), data_.Top.Picture->Height() / 2);
        // The toolkit still knows its form behind the replaced window procedure.
        EXPECT_EQ(TWinControl::FromHandle(window), form_);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_SYSMENU, 0);

        // The first skin's borders round the outer corners off with magenta.
        ASSERT_EQ(GetPixel(data_.Left.Picture->Canvas().Handle(), 0, 0), RGB(255, 0, 255));
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(GetWindowRgn(window, region), COMPLEXREGION);
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_TRUE(PtInRegion(region, outer.cx / 2, outer.cy / 2));
        EXPECT_TRUE(PtInRegion(region, outer.cx / 2, 2));
        EXPECT_TRUE(PtInRegion(region, outer.cx / 2, outer.cy - 1));
        DeleteObject(region);

        skin_->Restore();
        EXPECT_EQ(ClientSize(window).cx, 300);
        EXPECT_EQ(ClientSize(window).cy, 200);
        region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(window, region), ERROR);
        DeleteObject(region);
        EXPECT_NE(GetWindowLongPtrA(window, GWL_STYLE) & WS_SYSMENU, 0);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), &ToolkitWindowProc);
        skin_.reset();
    }
}

TEST_F(SkinFormTest, CaptionIsDrawnFromTheSkinAndHitTestsFollowTheFrame) {
    form_->SetCaption("Quorlin图片处理Tervane--测试窗口");
    Dress(data_);
    HWND window = form_->Handle();
    POINT at;
    COLORREF expected;
    ASSERT_TRUE(TopBorderSample(at, expected));
    EXPECT_EQ(WindowPixel(window, at.x, at.y), expected);

    SIZE outer = WindowSize(window);
    int captionY = skin_->BorderTop() / 2;
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, ScreenPoint(window, outer.cx / 2, captionY)), HTCAPTION);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, ScreenPoint(window, outer.cx / 2, outer.cy / 2)), HTCLIENT);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, ScreenPoint(window, 1, outer.cy / 2)), HTBORDER);

    // A new caption shows at once, and the skin's caption stays (the system draws none).
    RECT title = skin_->CaptionTextRect();
    COLORREF before = WindowPixel(window, title.left + 30, (title.top + title.bottom) / 2);
    form_->SetCaption("短");
    EXPECT_EQ(WindowPixel(window, at.x, at.y), expected);
    EXPECT_NE(WindowPixel(window, title.left + 30, (title.top + title.bottom) / 2), before);
    EXPECT_LT(skin_->CaptionTextRect().right - skin_->CaptionTextRect().left, title.right - title.left);
}

TEST_F(SkinFormTest, CaptionButtonsActAndTheProgramsOwnActionIsPosted) {
    // A button of the program's own (action 500), beside the close button.
    auto own = std::make_unique<TDataSkinSysButton>("Button.Own");
    TDataSkinSysButton& close = *data_.SysButtons[0];
    own->Picture->Assign(close.Picture.get());
    own->FrameCount = close.FrameCount;
    own->Action = 500;
    own->Align = 1;
    own->XCoord = close.XCoord + 60;
    own->YCoord = close.YCoord;
    own->Visibility = 200;
    data_.SysButtons.push_back(std::move(own));
    form_->SetCaption("短");
    Dress(data_);
    HWND window = form_->Handle();
    struct Case {
        int action;
        UINT message;
        WPARAM wParam;
    } cases[] = {{500, WM_SKIN_BUTTONACTION, 500}, {0, WM_CLOSE, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        const TWinSysButton* button = nullptr;
        for (const auto& candidate : skin_->CaptionButtons())
            if (candidate->Definition().Action == c.action && candidate->Visible) button = candidate.get();
        ASSERT_NE(button, nullptr);
        LPARAM point = ScreenPoint(window, (button->Bounds.left + button->Bounds.right) / 2,
                                   (button->Bounds.top + button->Bounds.bottom) / 2);
        TakePosted(window);
        SendMessageA(window, WM_NCMOUSEMOVE, HTCAPTION, point);
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, point);
        EXPECT_EQ(button->State, TNCObject::Pressed);
        SendMessageA(window, WM_NCLBUTTONUP, HTCAPTION, point);
        EXPECT_EQ(button->State, TNCObject::MouseOver);
        std::vector<MSG> posted = TakePosted(window);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].message, c.message);
        EXPECT_EQ(posted[0].wParam, c.wParam);
    }
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(SkinFormTest, DoubleClickWithoutMaximiseBoxDoesNothing) {
    Dress(data_);
    HWND window = form_->Handle();
    TakePosted(window);
    SIZE outer = WindowSize(window);
    EXPECT_EQ(SendMessageA(window, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenPoint(window, outer.cx / 2, 5)), 0);
    EXPECT_TRUE(TakePosted(window).empty());
    EXPECT_FALSE(IsZoomed(window));
}

TEST_F(SkinFormTest, PopupWithoutCaptionGetsNoFrameButStaysDressed) {
    form_->SetBorderStyle(bsNone);
    Dress(data_);
    HWND window = form_->Handle();
    EXPECT_EQ(skin_->BorderLeft() + skin_->BorderTop() + skin_->BorderRight() + skin_->BorderBottom(), 0);
    EXPECT_EQ(ClientSize(window).cx, 300);
    EXPECT_EQ(ClientSize(window).cy, 200);
    EXPECT_EQ(WindowSize(window).cx, 300);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(window, region), ERROR);
    DeleteObject(region);
    EXPECT_EQ(form_->Color(), data_.Colours.ButtonFace);
}

// Once the caption bitmap exists, painting the frame, the caption and a caption button under
// the mouse makes no bitmap at all (the keyed drawing uses masks the pictures keep), and leaves
// no GDI object behind.
TEST_F(SkinFormTest, FrameRepaintsMakeNoBitmapsAndLeaveNoGdiObjectsBehind) {
    form_->SetCaption("短");
    Dress(data_);
    HWND window = form_->Handle();
    const TWinSysButton* close = nullptr;
    for (const auto& button : skin_->CaptionButtons())
        if (button->Definition().Action == 0 && button->Visible) close = button.get();
    ASSERT_NE(close, nullptr);
    LPARAM overClose = ScreenPoint(window, (close->Bounds.left + close->Bounds.right) / 2,
                                   (close->Bounds.top + close->Bounds.bottom) / 2);
    LPARAM overCaption = ScreenPoint(window, skin_->BorderLeft() + 2, skin_->BorderTop() / 2);
    auto repaint = [&](int times) {
        for (int i = 0; i < times; ++i) {
            SendMessageA(window, WM_SKIN_REPAINTFRAME, 0, 0);
            SendMessageA(window, WM_NCACTIVATE, i % 2, 0);
            SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
            SendMessageA(window, WM_NCMOUSEMOVE, HTCAPTION, overClose);
            SendMessageA(window, WM_NCMOUSEMOVE, HTCAPTION, overCaption);
        }
    };
    repaint(4);
    size_t room = GdiRoom();
    {
        TBitmapsMade bitmaps;
        repaint(50);
        EXPECT_EQ(bitmaps.Made(), 0);
        RECT outer;
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 10, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(window, WM_SKIN_REPAINTFRAME, 0, 0);
        EXPECT_GT(bitmaps.Made(), 0);  // the new outline and caption bitmap are seen being made
    }
    repaint(150);
    EXPECT_EQ(GdiRoom(), room);
}

// A dialog-type component loaded on its own announces no switch: the windows it dresses keep
// their caption buttons, which must still have the definitions they were made from.
TEST_F(SkinFormTest, CaptionButtonsOutliveTheirDefinitionsReplacedByALoadOfTheirOwn) {
    data_.SkinFormtype = sfDialog;
    Dress(data_);
    ASSERT_FALSE(skin_->CaptionButtons().empty());
    std::weak_ptr<TDataSkinSysButton> first = data_.SysButtons[0];
    int frames = first.lock()->FrameCount;
    data_.LoadSkinFromStore(store_, 1);
    ASSERT_FALSE(data_.NotReady());
    ASSERT_FALSE(first.expired());
    EXPECT_NE(data_.SysButtons[0], first.lock());
    EXPECT_EQ(&skin_->CaptionButtons()[0]->Definition(), first.lock().get());
    EXPECT_EQ(skin_->CaptionButtons()[0]->Definition().FrameCount, frames);
    SendMessageA(form_->Handle(), WM_SKIN_REPAINTFRAME, 0, 0);
}

// Caption objects draw through a guard of the window's device context: a painting error gives
// it back all the same.
TEST_F(SkinFormTest, APaintingErrorOfACaptionObjectGivesTheWindowsDeviceContextBack) {
    class TFailingObject : public TNCObject {
    public:
        using TNCObject::TNCObject;
        void Paint(HDC) override { throw std::runtime_error("painting failed"); }
    };
    form_->Show();
    Pump();
    TFailingObject object(form_->Handle());
    size_t room = GdiRoom();
    for (int i = 0; i < 100; ++i) {
        EXPECT_ANY_THROW(object.MouseDown());
        EXPECT_ANY_THROW(object.MouseLeave());
    }
    EXPECT_EQ(GdiRoom(), room);
}

// A plain multiple-document frame made with the system's classes, dressed in plain-window mode.
LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FindWindowExA(window, nullptr, "MDIClient", nullptr);
    return DefFrameProcA(window, client, msg, wParam, lParam);
}

TEST_F(SkinFormTest, MultipleDocumentFrameAndChild) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.lpszClassName = "SkinTestMDIFrame";
    RegisterClassA(&frameClass);
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = DefMDIChildProcA;
    childClass.hInstance = instance;
    childClass.lpszClassName = "SkinTestMDIChild";
    RegisterClassA(&childClass);
    HWND frame = CreateWindowExA(0, "SkinTestMDIFrame", "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                 nullptr, nullptr, instance, nullptr);
    CLIENTCREATESTRUCT clientInfo{nullptr, 100};
    HWND client = CreateWindowExA(0, "MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 200,
                                  frame, nullptr, instance, &clientInfo);
    HWND child = CreateMDIWindowA("SkinTestMDIChild", "Child", 0, 10, 10, 200, 120, client, instance, 0);
    ASSERT_NE(child, nullptr);
    auto clientProc = GetWindowLongPtrA(client, GWLP_WNDPROC);
    {
        TSkinForm frameSkin(frame);
        frameSkin.AttachWindow(data_);
        SendMessageA(frame, WM_SKIN_FIRSTSHOW, 0, 1000);
        EXPECT_EQ(frameSkin.WindowKind(), TSkinForm::wkMDIFrame);
        EXPECT_NE(GetWindowLongPtrA(client, GWLP_WNDPROC), clientProc);
        TSkinForm childSkin(child);
        childSkin.AttachWindow(data_);
        SendMessageA(child, WM_SKIN_FIRSTSHOW, 0, 1000);
        EXPECT_EQ(childSkin.WindowKind(), TSkinForm::wkMDIChild);
        EXPECT_EQ(ClientSize(child).cx, WindowSize(child).cx - childSkin.BorderLeft() - childSkin.BorderRight());
        // The frame's client window loses its own scroll bars while the frame is dressed.
        SetWindowLongPtrA(client, GWL_STYLE, GetWindowLongPtrA(client, GWL_STYLE) | WS_VSCROLL);
        SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        EXPECT_EQ(GetWindowLongPtrA(client, GWL_STYLE) & WS_VSCROLL, 0);
        childSkin.Restore();
    }
    EXPECT_EQ(GetWindowLongPtrA(client, GWLP_WNDPROC), clientProc);
    DestroyWindow(frame);
}

}  // namespace
