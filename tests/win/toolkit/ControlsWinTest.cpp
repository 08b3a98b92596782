// Windowed controls: class names the skin engine relies on, the replaceable message handler,
// the page control, the track bar, radio buttons, and errors that leave a handler.
#include "ToolkitTestSupport.h"

#include <commctrl.h>

#include <vector>

#include "base/Exceptions.h"
#include "toolkit/BitBtn_win.h"
#include "toolkit/BusyState_win.h"
#include "toolkit/Edit_win.h"
#include "toolkit/GroupBox_win.h"
#include "toolkit/Label_win.h"
#include "toolkit/PageControl_win.h"
#include "toolkit/RadioButton_win.h"
#include "toolkit/TrackBar_win.h"

namespace {

template <typename T>
T* Add(TWinControl* parent, TComponent* owner, int left, int top, int width, int height) {
    T* control = new T(owner);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

TEST_F(ToolkitTest, WindowClassesCarryTheToolkitClassNames) {
    auto* pages = Add<TPageControl>(form_, form_, 0, 0, 300, 200);
    auto* sheet = new TTabSheet(form_);
    sheet->SetPageControl(pages);
    auto* group = Add<TGroupBox>(sheet, form_, 10, 10, 150, 80);
    auto* radio = Add<TRadioButton>(group, form_, 10, 20, 100, 20);
    auto* edit = Add<TEdit>(sheet, form_, 10, 100, 100, 20);
    auto* button = Add<TBitBtn>(sheet, form_, 170, 10, 89, 41);
    auto* track = Add<TTrackBar>(sheet, form_, 10, 130, 200, 17);
    form_->Show();
    EXPECT_EQ(WindowClassOf(form_->Handle()), "TToolkitTestForm");
    EXPECT_EQ(WindowClassOf(pages->Handle()), "TPageControl");
    EXPECT_EQ(WindowClassOf(sheet->Handle()), "TTabSheet");
    EXPECT_EQ(WindowClassOf(group->Handle()), "TGroupBox");
    EXPECT_EQ(WindowClassOf(radio->Handle()), "TRadioButton");
    EXPECT_EQ(WindowClassOf(edit->Handle()), "TEdit");
    EXPECT_EQ(WindowClassOf(button->Handle()), "TBitBtn");
    EXPECT_EQ(WindowClassOf(track->Handle()), "TTrackBar");
    EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);
    EXPECT_EQ(GetParent(radio->Handle()), group->Handle());
    EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);
}

// Asking a child for its window first makes the parents' windows, which make their children's:
// the child must not get a second window beside the one its parent made.
TEST_F(ToolkitTest, AChildAskedForItsWindowBeforeItsParentsGetsExactlyOne) {
    auto* form = app_->CreateForm<TTestForm>();
    ASSERT_FALSE(form->HandleAllocated());
    auto* group = Add<TGroupBox>(form, form, 10, 10, 150, 80);
    auto* edit = Add<TEdit>(group, form, 10, 20, 100, 20);
    HWND window = edit->Handle();
    int windows = 0;
    EnumChildWindows(form->Handle(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 2);
    EXPECT_EQ(GetParent(window), group->Handle());
}

TEST_F(ToolkitTest, ToolWindowWithExactClientSizeOwnedByTheApplication) {
    form_->Show();
    HWND window = form_->Handle();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(window, GW_OWNER), app_->Handle());
    EXPECT_EQ(WindowClassOf(app_->Handle()), "TApplication");
}

// A form designed with a client size that then asks for an outer size keeps the outer size
// when its window is made and when the size changes later; asking for the client size again
// brings it back.
TEST_F(ToolkitTest, ExplicitOuterSizeWinsOverAnEarlierClientSize) {
    form_->SetWidth(260);
    form_->SetHeight(180);
    form_->Show();
    HWND window = form_->Handle();
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 260);
    EXPECT_EQ(outer.bottom - outer.top, 180);
    form_->SetBounds(form_->Left(), form_->Top(), 240, 150);
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 240);
    EXPECT_EQ(outer.bottom - outer.top, 150);
    form_->SetClientSize(120, 90);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 120);
    EXPECT_EQ(client.bottom, 90);
}

TEST_F(ToolkitTest, MessageHooksSeeMessagesNewestFirstAndComeOffInAnyOrder) {
    auto* edit = Add<TEdit>(form_, form_, 10, 10, 100, 20);
    form_->Show();
    std::string order;
    auto recorder = [&](char name) {
        return [&order, name](TMessage& message, const TWndMethod& next) {
            if (message.Msg == WM_SETTEXT) order += name;
            next(message);
        };
    };
    TMessageHookToken first = edit->AddMessageHook(recorder('a'));
    TMessageHookToken second = edit->AddMessageHook(recorder('b'));
    edit->SetText("abc");  // through the window procedure
    edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xyz"));  // the windows are wide
    EXPECT_EQ(order, "baba");
    EXPECT_EQ(edit->Text(), "xyz") << "the message went on to the edit";

    // The first party leaving does not unhook the second (replacing WindowProc would).
    edit->RemoveMessageHook(first);
    order.clear();
    edit->SetText("def");
    EXPECT_EQ(order, "b");
    EXPECT_EQ(edit->Text(), "def");

    // A hook that removes itself while a message is on its way still passes it on once.
    TMessageHookToken third = 0;
    third = edit->AddMessageHook([&](TMessage& message, const TWndMethod& next) {
        if (message.Msg == WM_SETTEXT) {
            order += 'c';
            edit->RemoveMessageHook(third);
        }
        next(message);
    });
    order.clear();
    edit->SetText("ghi");
    edit->SetText("jkl");
    EXPECT_EQ(order, "cbb");
    EXPECT_EQ(edit->Text(), "jkl");
    edit->RemoveMessageHook(second);
    EXPECT_FALSE(edit->HasMessageHooks());
}

TEST_F(ToolkitTest, MouseEnterAndLeaveReachTheHandler) {
    auto* button = Add<TBitBtn>(form_, form_, 10, 10, 89, 41);
    form_->Show();
    std::vector<UINT> notifications;
    TWndMethod previous = button->WindowProc;
    button->WindowProc = [&](TMessage& message) {
        if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) notifications.push_back(message.Msg);
        previous(message);
    };
    POINT inside = button->ClientToScreen({20, 20});
    SetCursorPos(inside.x, inside.y);
    app_->HandleMessage();  // an empty queue runs the idle check
    Pump();
    POINT outside = form_->ClientToScreen({250, 180});
    SetCursorPos(outside.x, outside.y);
    app_->ProcessMessages();
    Sleep(150);  // the pointer check runs from a timer as well
    Pump();
    ASSERT_GE(notifications.size(), 2u);
    EXPECT_EQ(notifications[0], CM_MOUSEENTER);
    EXPECT_EQ(notifications[1], CM_MOUSELEAVE);
    button->WindowProc = previous;
}

// Pages not shown get their windows (and their controls') when first shown, and the form is told
// once per page, so that whoever dresses the form's controls can dress those too.
TEST_F(ToolkitTest, PageControlShowsOnePageAndKeepsItFilling) {
    auto* pages = Add<TPageControl>(form_, form_, 0, 0, 300, 200);
    TTabSheet* sheets[3];
    int shown[3] = {};
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(form_);
        sheets[i]->SetCaption("页" + std::to_string(i));
        sheets[i]->SetPageControl(pages);
        sheets[i]->OnShow = [&shown, i](TObject*) { ++shown[i]; };
    }
    auto* edit = Add<TEdit>(sheets[1], form_, 8, 8, 100, 20);
    edit->SetText("后来");
    edit->SetReadOnly(true);
    std::vector<LPARAM> made;
    form_->AddMessageHook([&made](TMessage& message, const TWndMethod& next) {
        if (message.Msg == CM_CONTROLSCREATED) made.push_back(message.LParam);
        next(message);
    });
    form_->Show();
    EXPECT_EQ(pages->ActivePage(), sheets[0]) << "the first page added is active";
    EXPECT_FALSE(sheets[1]->HandleAllocated());
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_TRUE(made.empty());
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(shown[2], 1);
    EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 2);
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(shown[2], 1) << "showing the page already shown runs nothing";
    RECT display = pages->DisplayRect();
    sheets[1]->SetLeft(sheets[1]->Left() + 500);
    EXPECT_EQ(sheets[1]->Left(), display.left) << "a page is put straight back";
    EXPECT_EQ(sheets[1]->Width(), display.right - display.left);
    // A click on a tab arrives as a selection change notification.
    SendMessageA(pages->Handle(), TCM_SETCURSEL, 1, 0);
    NMHDR header{pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(shown[1], 1);
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(edit->Handle()));
    EXPECT_EQ(edit->Text(), "后来");
    EXPECT_NE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(made, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(sheets[2]), reinterpret_cast<LPARAM>(sheets[1])}));
}

TEST_F(ToolkitTest, TrackBarReportsChangesWithinItsRange) {
    auto* track = Add<TTrackBar>(form_, form_, 10, 10, 200, 17);
    track->SetRange(0, 100);
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    track->SetPosition(65);
    form_->Show();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 65);
    track->SetPosition(65);
    EXPECT_EQ(changes, 1);
    track->SetPosition(250);
    EXPECT_EQ(track->Position(), 100);
    // The user drags the thumb: the control moves and tells its parent.
    SendMessageA(track->Handle(), TBM_SETPOS, TRUE, 30);
    SendMessageA(form_->Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 30), reinterpret_cast<LPARAM>(track->Handle()));
    EXPECT_EQ(track->Position(), 30);
    EXPECT_EQ(changes, 3);
}

TEST_F(ToolkitTest, RadioButtonsOfOneParentExcludeEachOther) {
    auto* group = Add<TGroupBox>(form_, form_, 10, 10, 177, 81);
    auto* first = Add<TRadioButton>(group, form_, 24, 16, 113, 25);
    auto* second = Add<TRadioButton>(group, form_, 24, 48, 121, 25);
    auto* elsewhere = Add<TRadioButton>(form_, form_, 200, 16, 80, 25);
    first->SetChecked(true);
    elsewhere->SetChecked(true);
    form_->Show();
    EXPECT_EQ(SendMessageA(first->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(second->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(SendMessageA(first->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(elsewhere->Checked()) << "a radio button of another parent is left alone";
}

TEST_F(ToolkitTest, ErrorLeavingAHandlerIsShownAndTheLoopGoesOn) {
    auto* button = Add<TBitBtn>(form_, form_, 10, 10, 89, 41);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        throw EInvalidGraphic(ErrorText::InvalidBitmap);
    };
    form_->Show();
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    PostMessageA(button->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errors_, (std::vector<std::string>{"Bitmap image is not valid", "Bitmap image is not valid"}));
}

TEST_F(ToolkitTest, MessageHookSeesQueuedMessagesAndCanStopThem) {
    auto* edit = Add<TEdit>(form_, form_, 10, 10, 100, 20);
    form_->Show();
    constexpr UINT kProbe = WM_APP + 7;
    int hooked = 0, arrived = 0;
    TWndMethod previous = edit->WindowProc;
    edit->WindowProc = [&](TMessage& message) {
        if (message.Msg == kProbe) ++arrived;
        previous(message);
    };
    app_->OnMessage = [&](MSG& message, bool& handled) {
        if (message.message != kProbe) return;
        ++hooked;
        handled = message.wParam == 1;
    };
    PostMessageA(edit->Handle(), kProbe, 0, 0);
    PostMessageA(edit->Handle(), kProbe, 1, 0);
    Pump();
    EXPECT_EQ(hooked, 2);
    EXPECT_EQ(arrived, 1) << "the handled message was not dispatched";
    edit->WindowProc = previous;
}

// Long work shows its wait text; ended by an error, the status line says again what it said
// before (not merely nothing), and the window takes drops again; finished, it says the result.
TEST_F(ToolkitTest, BusyStatePutsTheStatusLineBackAfterAnError) {
    auto* status = Add<TEdit>(form_, form_, 10, 10, 100, 20);
    form_->OnFileDrop = [](TObject*, const std::string&) {};
    form_->Show();
    auto accepts = [&] { return (GetWindowLongW(form_->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; };
    status->SetText("图片已保存为a.gif");
    try {
        TBusyState busy(*status, "正在保存文件,请稍等...");
        EXPECT_EQ(status->Text(), "正在保存文件,请稍等...");
        EXPECT_FALSE(accepts());
        throw EWriteError("disk full");
    } catch (const EWriteError&) {
    }
    EXPECT_EQ(status->Text(), "图片已保存为a.gif");
    EXPECT_TRUE(accepts());
    {
        TBusyState busy(*status, "正在保存文件,请稍等...");
        busy.Finish("图片已保存为b.gif");
    }
    EXPECT_EQ(status->Text(), "图片已保存为b.gif");
}

TEST_F(ToolkitTest, LabelsSizeThemselvesToTheirText) {
    auto* label = new TLabel(form_);
    label->SetBounds(8, 184, 0, 0);
    label->SetParent(form_);
    label->SetCaption("JPEG图片质量(0-100):");
    EXPECT_GE(label->Height(), 12) << "the form's 12-pixel font";
    EXPECT_LE(label->Height(), 16);
    EXPECT_GE(label->Width(), 100);
    int shortWidth = label->Width();
    label->SetCaption("图片预览");
    EXPECT_LT(label->Width(), shortWidth);
    EXPECT_EQ(label->Left(), 8);
}
