// Menus (texts, states, shortcuts before the focused control, the change notification),
// modal forms, the message dialog, minimising, the file dialogs' remembered filter entry and
// the hint window's size.
#include "ToolkitTestSupport.h"

#include <commdlg.h>

#include "base/Exceptions.h"
#include "toolkit/Edit_win.h"
#include "toolkit/FileDialogs_win.h"
#include "toolkit/HintWindow_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/MessageForm_win.h"
#include "toolkit/WideText_win.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

UINT MenuState(HMENU menu, UINT position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    GetMenuItemInfoA(menu, position, TRUE, &info);
    return info.fState;
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* caption, TShortCut shortCut = 0) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

WPARAM g_keyToPress = 0;

// Presses a key in the focused window once the modal loop is running.
void CALLBACK PressKeyInModalForm(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(GetFocus(), WM_KEYDOWN, g_keyToPress, 0);
}

TModalResult AnswerMessageDlg(WPARAM key) {
    g_keyToPress = key;
    SetTimer(nullptr, 0, 100, PressKeyInModalForm);
    return MessageDlg("D:\\x\\allicons\\0.ico已经存在,是否覆盖原文件?", mtConfirmation,
                      MsgDlgButtons({mbYes, mbNo, mbNoToAll, mbYesToAll}));
}

}  // namespace

TEST_F(ToolkitTest, MenuItemsCarryTextsShortcutsAndStates) {
    auto* menu = new TMainMenu(form_);
    TMenuItem* file = AddItem(form_, menu->Items(), "文件(&F)");
    TMenuItem* minimise = AddItem(form_, file, "最小化窗口(&M)", scCtrl | 'M');
    TMenuItem* help = AddItem(form_, file, "帮助文件(&F)", 112);
    minimise->SetChecked(true);
    help->SetEnabled(false);
    form_->SetMenu(menu);
    form_->Show();
    HMENU bar = GetMenu(form_->Handle());
    ASSERT_EQ(bar, menu->Handle());
    EXPECT_EQ(MenuText(bar, 0), "文件(&F)");
    HMENU sub = GetSubMenu(bar, 0);
    EXPECT_EQ(MenuText(sub, 0), "最小化窗口(&M)\tCtrl+M");
    EXPECT_EQ(MenuText(sub, 1), "帮助文件(&F)\tF1");
    EXPECT_TRUE(MenuState(sub, 0) & MFS_CHECKED);
    EXPECT_TRUE(MenuState(sub, 1) & MFS_GRAYED);
    minimise->SetChecked(false);
    EXPECT_FALSE(MenuState(sub, 0) & MFS_CHECKED);
    help->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(sub), 1);
    RECT client;
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.bottom, 200) << "the client size holds with the menu bar";
}

// The window is made with its menu bar, at its client size and already centred, so that
// nothing is laid out or moved again before it shows; shown, it is on top and told once.
TEST_F(ToolkitTest, AFormIsMadeWithItsMenuAtItsSizeAndPlace) {
    auto* menu = new TMainMenu(form_);
    AddItem(form_, menu->Items(), "文件(&F)");
    form_->SetBorderStyle(bsSingle);
    form_->SetMenu(menu);
    form_->SetClientSize(437, 290);
    form_->SetPosition(poScreenCenter);
    HWND window = form_->Handle();
    EXPECT_EQ(GetMenu(window), menu->Handle());
    RECT client, outer, area;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 437);
    EXPECT_EQ(client.bottom, 290);
    GetWindowRect(window, &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR(outer.left - area.left, area.right - outer.right, 1);
    EXPECT_NEAR(outer.top - area.top, area.bottom - outer.bottom, 1);
    int shown = 0;
    form_->OnShow = [&](TObject*) { ++shown; };
    form_->Show();
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&outer, &after)) << "showing it did not move it";
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(GetActiveWindow(), window);
}

// The first form of a class is made with its icon as the class's; a second form of the class
// with another icon is given its own, and the class never keeps an icon a form destroyed.
TEST_F(ToolkitTest, AFormLendsItsClassItsIconAndTakesItBack) {
    class TIconForm : public TForm {
    public:
        using TForm::TForm;
        const char* ClassName() const override { return "TToolkitIconTestForm"; }
    };
    auto classIcon = [](TForm* form, int which = GCLP_HICON) {
        return reinterpret_cast<HICON>(GetClassLongPtrW(form->Handle(), which));
    };
    auto* first = app_->CreateForm<TIconForm>();
    first->SetIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    EXPECT_EQ(classIcon(first), first->Icon());
    EXPECT_EQ(classIcon(first, GCLP_HICONSM), first->Icon()) << "no scaled copy made at registration";
    EXPECT_EQ(SendMessageW(first->Handle(), WM_GETICON, ICON_BIG, 0), 0) << "no second fetch of the same icon";
    auto* second = app_->CreateForm<TIconForm>();
    second->SetIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING))));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(second->Handle(), WM_GETICON, ICON_BIG, 0)), second->Icon());
    first->SetIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_ERROR))));
    EXPECT_EQ(classIcon(second), nullptr) << "the replaced icon left the class";
    EXPECT_EQ(classIcon(second, GCLP_HICONSM), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(first->Handle(), WM_GETICON, ICON_BIG, 0)), first->Icon());
}

// A form destroyed the normal way takes its icon out of the class too: the next form of the
// class must not be made with a freed icon.
TEST_F(ToolkitTest, AFormDestroyedTakesItsIconOutOfItsClass) {
    class TIconForm : public TForm {
    public:
        using TForm::TForm;
        const char* ClassName() const override { return "TToolkitDestroyedIconForm"; }
    };
    auto* first = app_->CreateForm<TIconForm>();
    first->SetIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    first->Handle();  // the class is registered with the first form's icon
    auto* second = app_->CreateForm<TIconForm>();
    HWND survivor = second->Handle();
    ASSERT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(survivor, GCLP_HICON)), first->Icon());
    first->Free();  // as its owner frees it
    EXPECT_EQ(GetClassLongPtrW(survivor, GCLP_HICON), 0u);
    EXPECT_EQ(GetClassLongPtrW(survivor, GCLP_HICONSM), 0u);
}

// A form whose OnCreate failed is reported as failed, and shows when it is shown later.
TEST_F(ToolkitTest, AFormWhoseOnCreateFailedShowsLater) {
    class TFailingForm : public TForm {
    public:
        explicit TFailingForm(TComponent* owner) : TForm(owner) {
            OnCreate = [](TObject*) { throw EInvalidOperation("not today"); };
            SetClientSize(100, 50);
            SetVisible(true);
        }
        const char* ClassName() const override { return "TToolkitFailingForm"; }
    };
    EXPECT_THROW(app_->CreateForm<TFailingForm>(), EInvalidOperation);
    TForm* failed = app_->Forms().back();
    EXPECT_FALSE(failed->HandleAllocated() && IsWindowVisible(failed->Handle())) << "not shown half made";
    failed->Show();
    EXPECT_TRUE(IsWindowVisible(failed->Handle()));
}

// A form shown for the first time is activated before it is mapped (a skin dresses it out of
// sight); what its activation posted to it comes after it shows, as from any queue.
TEST_F(ToolkitTest, AFormIsActivatedBeforeItIsFirstSeen) {
    constexpr UINT kPostedAtActivation = WM_APP + 7;
    class TWatchedForm : public TForm {
    public:
        using TForm::TForm;
        const char* ClassName() const override { return "TToolkitWatchedForm"; }
        std::vector<std::string> seen;

    protected:
        void WndProc(TMessage& message) override {
            if (message.Msg == WM_ACTIVATE && LOWORD(message.WParam) != WA_INACTIVE) {
                seen.push_back(IsWindowVisible(Handle()) ? "activated shown" : "activated hidden");
                PostMessageW(Handle(), kPostedAtActivation, 0, 0);
            }
            if (message.Msg == kPostedAtActivation)
                seen.push_back(IsWindowVisible(Handle()) ? "posted handled shown" : "posted handled hidden");
            TForm::WndProc(message);
        }
    };
    auto* form = app_->CreateForm<TWatchedForm>();
    form->SetClientSize(200, 100);
    form->Show();
    Pump();
    EXPECT_EQ(form->seen, (std::vector<std::string>{"activated hidden", "posted handled shown"}));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    form->Show();
    EXPECT_EQ(form->seen.size(), 2u) << "a window already up is not activated again";
}

// A form made visible in its constructor shows once its OnCreate has run (which sets up what
// it shows), as one made from a stored form does; forms its constructor makes are not held back.
TEST_F(ToolkitTest, AFormMadeVisibleShowsAfterItsOnCreate) {
    class TVisibleForm : public TForm {
    public:
        explicit TVisibleForm(TComponent* owner) : TForm(owner), inner(new TForm(this)) {
            OnCreate = [this](TObject*) { shownAtCreate = IsWindowVisible(Handle()) != FALSE; };
            inner->SetVisible(true);
            SetVisible(true);
        }
        const char* ClassName() const override { return "TToolkitVisibleForm"; }
        TForm* inner;
        bool shownAtCreate = true;
    };
    auto* form = app_->CreateForm<TVisibleForm>();
    EXPECT_FALSE(form->shownAtCreate);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_TRUE(IsWindowVisible(form->inner->Handle())) << "shown when its constructor's owner asked";
}

TEST_F(ToolkitTest, ShortcutRunsTheMenuCommandBeforeTheFocusedEdit) {
    auto* menu = new TMainMenu(form_);
    TMenuItem* functions = AddItem(form_, menu->Items(), "功能选择");
    TMenuItem* convert = AddItem(form_, functions, "图片转换(&C)", scCtrl | 'C');
    int clicks = 0;
    convert->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, convert);
        ++clicks;
    };
    form_->SetMenu(menu);
    auto* edit = new TEdit(form_);
    edit->SetBounds(10, 10, 100, 20);
    edit->SetParent(form_);
    edit->SetText("abc");
    form_->Show();
    edit->SetFocus();
    SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
    // Ctrl+C as the keyboard delivers it: the key message goes to the focused edit.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(edit->Handle(), WM_KEYDOWN, 'C', 0);
    Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(clicks, 1);
    // A WM_COMMAND from the menu runs the same item.
    SendMessageA(form_->Handle(), WM_COMMAND, convert->Command(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ToolkitTest, PopupMenuDefaultItemAndMenuChangeNotification) {
    auto* popup = new TPopupMenu(form_);
    TMenuItem* show = AddItem(form_, popup->Items(), "显示主窗口(&S)");
    AddItem(form_, popup->Items(), "退出(&Q)");
    show->SetDefault(true);
    EXPECT_TRUE(MenuState(popup->Handle(), 0) & MFS_DEFAULT);
    EXPECT_EQ(GetMenuDefaultItem(popup->Handle(), TRUE, 0), 0u);
    popup->SetAlignment(paRight);
    EXPECT_EQ(popup->Alignment(), paRight);

    auto* menu = new TMainMenu(form_);
    TMenuItem* skins = AddItem(form_, menu->Items(), "界面(&S)");
    TMenuItem* first = AddItem(form_, skins, "蓝色心情(&1)", scCtrl | 0x70);
    form_->SetMenu(menu);
    form_->Show();
    int changes = 0;
    TWndMethod previous = form_->WindowProc;
    form_->WindowProc = [&](TMessage& message) {
        if (message.Msg == CM_MENUCHANGED) ++changes;
        previous(message);
    };
    first->SetChecked(true);
    EXPECT_GE(changes, 1);
    form_->WindowProc = previous;
}

TEST_F(ToolkitTest, OwnerDrawnItemsGoThroughTheirHandlers) {
    auto* popup = new TPopupMenu(form_);
    TMenuItem* item = AddItem(form_, popup->Items(), "最小化主窗口(&M)");
    AddItem(form_, popup->Items(), "退出(&Q)");
    int drawn = 0, measured = 0;
    item->OnDrawItem = [&](TMenuItem* sender, TCanvas&, const RECT&, bool selected) {
        EXPECT_EQ(sender, item);
        EXPECT_TRUE(selected);
        ++drawn;
    };
    item->OnMeasureItem = [&](TMenuItem*, TCanvas&, int& width, int& height) {
        EXPECT_GT(width, 0);
        width += 28;
        height = 22;
        ++measured;
    };
    popup->SetOwnerDraw(true);
    MENUITEMINFOA info = {sizeof info, MIIM_FTYPE};
    GetMenuItemInfoA(popup->Handle(), 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    GetMenuItemInfoA(popup->Handle(), 1, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << "an item without a drawing handler is drawn by the system";

    form_->Show();
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
    SendMessageA(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(measure.itemHeight, 22u);
    HDC dc = GetDC(form_->Handle());
    DRAWITEMSTRUCT draw = {ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, ODS_SELECTED,
                           reinterpret_cast<HWND>(popup->Handle()), dc, {0, 0, 100, 20},
                           reinterpret_cast<ULONG_PTR>(item)};
    SendMessageA(app_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    ReleaseDC(form_->Handle(), dc);
    EXPECT_EQ(drawn, 1);
    popup->SetOwnerDraw(false);
    GetMenuItemInfoA(popup->Handle(), 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(ToolkitTest, MessageDialogAnswers) {
    form_->Show();
    EXPECT_EQ(AnswerMessageDlg(VK_ESCAPE), mrNo) << "Escape answers No";
    EXPECT_EQ(AnswerMessageDlg(VK_RETURN), mrYes) << "Yes is the default button";
    EXPECT_TRUE(IsWindowEnabled(form_->Handle())) << "the form is enabled again after the dialog";
}

TEST_F(ToolkitTest, MessageFormLayoutAndCaption) {
    auto* dialog = new TMessageForm(app_.get(), "要保存的文件已经存在", mtConfirmation,
                                    MsgDlgButtons({mbYes, mbNo, mbNoToAll, mbYesToAll}));
    EXPECT_EQ(WindowClassOf(dialog->Handle()), "TMessageForm");
    char caption[64] = {};
    GetWindowTextA(dialog->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "确认--Quorlin图片处理Tervane");
    ASSERT_EQ(dialog->Buttons().size(), 4u);
    const char* captions[] = {"是(&Y)", "否(&N)", "全否(&O)", "全是(&A)"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog->Buttons()[i]->Caption(), captions[i]);
        if (i > 0) {
            EXPECT_GT(dialog->Buttons()[i]->Left(), dialog->Buttons()[i - 1]->Left());
        }
    }
    EXPECT_EQ(dialog->DefaultButton(), dialog->Buttons()[0]);
    EXPECT_TRUE(GetWindowLongA(dialog->Buttons()[0]->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_LE(dialog->Buttons()[3]->Left() + dialog->Buttons()[3]->Width(), dialog->ClientWidth());
    dialog->Free();
}

TEST_F(ToolkitTest, ClosingTheMainFormEndsTheLoop) {
    form_->Show();
    PostMessageA(form_->Handle(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 20 && !app_->Terminated(); ++i) app_->ProcessMessages();
    EXPECT_TRUE(app_->Terminated());
    EXPECT_TRUE(IsWindow(form_->Handle())) << "the window is destroyed with the form, not by the close";
}

TEST_F(ToolkitTest, MinimiseHidesTheWindowsAndRestoreBringsThemBack) {
    form_->Show();
    app_->Minimize();
    EXPECT_TRUE(app_->IsMinimized());
    EXPECT_FALSE(IsWindowVisible(form_->Handle()));
    app_->Minimize();
    EXPECT_TRUE(app_->IsMinimized()) << "a second minimise changes nothing";
    app_->Restore();
    EXPECT_FALSE(app_->IsMinimized());
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
}

namespace {

// Stands in for the system dialog: checks what the toolkit asks for and answers.
class TScriptedOpenDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    DWORD askedIndex = 0;
    std::string askedFilter, askedTitle;
    DWORD chosenIndex = 0;
    bool confirm = true;

protected:
    bool RunSystemDialog(void* data) override {
        auto* dialog = static_cast<OPENFILENAMEW*>(data);
        askedIndex = dialog->nFilterIndex;
        askedTitle = AnsiFromWide(dialog->lpstrTitle);
        askedFilter = AnsiFromWide(dialog->lpstrFilter, 22);
        EXPECT_TRUE(dialog->Flags & OFN_HIDEREADONLY);
        EXPECT_TRUE(dialog->Flags & OFN_ENABLESIZING);
        EXPECT_FALSE(dialog->Flags & (OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT));
        dialog->nFilterIndex = chosenIndex;
        if (confirm) lstrcpyW(dialog->lpstrFile, Wide("C:\\图片\\a.jpg"));
        return confirm;
    }
};

}  // namespace

TEST_F(ToolkitTest, OpenDialogRemembersTheChosenFilterEntry) {
    TScriptedOpenDialog dialog(form_);
    dialog.SetTitle("请选择要打开的文件 Quorlin图片处理Tervane--Quorlin电脑工作室");
    dialog.SetFilter("ICO file(*.ico)|*.ICO|BMP file(*.bmp)|*.BMP|JPEG file(*.jpg;*.jpeg)|*.JPG;*.JPEG");
    dialog.chosenIndex = 3;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.askedIndex, 1u) << "the first entry at the first use";
    EXPECT_EQ(dialog.askedFilter, std::string("ICO file(*.ico)\0*.ICO\0", 22));
    EXPECT_EQ(dialog.FileName(), "C:\\图片\\a.jpg");
    EXPECT_EQ(dialog.FilterIndex(), 3);
    dialog.SetFilter("EXE file(*.exe)|*.EXE|DLL file(*.dll)|*.DLL");
    dialog.chosenIndex = 2;
    dialog.confirm = false;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.askedIndex, 2u) << "a remembered index past the new filter's end is kept inside it";
    EXPECT_EQ(dialog.FileName(), "C:\\图片\\a.jpg") << "a cancelled dialog keeps the name";
}

TEST_F(ToolkitTest, HintWindowMeasuresItsText) {
    THintWindow hint(nullptr);
    RECT one = hint.CalcHintRect(1024, "图标预览", nullptr);
    RECT two = hint.CalcHintRect(1024, "图标预览图标预览", nullptr);
    EXPECT_EQ(one.left, 0);
    EXPECT_EQ(one.top, 0);
    EXPECT_GT(two.right - 6, (one.right - 6) * 3 / 2) << "twice the text is about twice as wide";
    RECT narrow = hint.CalcHintRect(40, "word word word word", nullptr);
    EXPECT_GT(narrow.bottom, one.bottom) << "text breaks into lines within the maximum width";
    hint.ActivateHint({100, 100, 100 + one.right, 100 + one.bottom + 4}, "图标预览");
    EXPECT_TRUE(IsWindowVisible(hint.Handle()));
    EXPECT_EQ(WindowClassOf(hint.Handle()), "THintWindow");
    EXPECT_TRUE(GetWindowLongA(hint.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    hint.ReleaseHint();
    EXPECT_FALSE(IsWindowVisible(hint.Handle()));
}
