// The main window's own handlers: start-up, closing, a dropped file, the menu commands that
// switch pages, minimise, restore and end the program, and the application message hook.
#include "app/MainForm_win.h"

#include "app/AboutPage_win.h"
#include "app/DroppedFilePage.h"
#include "app/TrayIcon_win.h"
#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "convert/ConvertPage_win.h"
#include "icons/IconPage_win.h"
#include "pages/PageMessages_win.h"
#include "picture/graphic/FileFormatsList.h"
#include "toolkit/Application_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

// The command the window menu of the taskbar button gets for "关于(&A)...".
constexpr UINT kAboutCommand = 99;

}  // namespace

void TVyrfForm1::AssignHandlers() {
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    OnFileDrop = [this](TObject* sender, const std::string& fileName) { FormFileDrop(sender, fileName); };
    Q1->OnClick = [this](TObject* sender) { Q1Click(sender); };
    N2->OnClick = [this](TObject* sender) { N2Click(sender); };
    N5->OnClick = [this](TObject* sender) { N5Click(sender); };
    N6->OnClick = [this](TObject* sender) { N6Click(sender); };
    A1->OnClick = [this](TObject* sender) { A1Click(sender); };
    M1->OnClick = [this](TObject* sender) { M1Click(sender); };
    M2->OnClick = [this](TObject* sender) { M2Click(sender); };
    N1->OnClick = [this](TObject* sender) { N1Click(sender); };
    AssignSkinHandlers();
}

void TVyrfForm1::FormCreate(TObject*) {
    Screen->MenuFont().SetName("宋体");
    Screen->MenuFont().SetSize(9);
    Application->OnMessage = [this](MSG& message, bool& handled) { WinMsg(message, handled); };
    AttachParts();
    HMENU windowMenu = GetSystemMenu(Application->Handle(), FALSE);
    AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(windowMenu, MF_STRING, kAboutCommand, Wide("关于(&A)..."));
}

// The tray icon first (it is the third start-up step), then the pages' handlers.
void TVyrfForm1::AttachParts() {
    auto attach = [this](std::unique_ptr<TMainFormPart> part) {
        if (part) parts_.push_back(std::move(part));
    };
    attach(AttachTrayIcon(*this));
    attach(AttachIconPage(*this));
    attach(AttachConvertPage(*this));
    attach(AttachAboutPage(*this));
}

void TVyrfForm1::FormClose(TObject*, TCloseAction&) { Application->Terminate(); }

void TVyrfForm1::FormDestroy(TObject*) {
    for (auto& part : parts_) part->FormDestroying();
}

void TVyrfForm1::FormFileDrop(TObject*, const std::string& fileName) {
    TTabSheet* page = PageControl1->ActivePage();
    if (page == TabSheet3) {
        // A folder, or a file gone meanwhile, gets what the pages say of it, whatever its "extension".
        if (!FileExists(fileName)) {
            ShowMissingFileMessage(Handle());
            return;
        }
        const TDroppedFilePage kind = DroppedFilePage(fileName);
        if (kind == TDroppedFilePage::None)
            throw EInvalidGraphic(Format(ErrorText::UnknownExtension, PictureFileExtension(fileName).c_str()));
        page = kind == TDroppedFilePage::Icons ? TabSheet2 : TabSheet4;
        PageControl1->SetActivePage(page);
    }
    for (auto& part : parts_)
        if (part->FileDropped(page, fileName)) return;
}

void TVyrfForm1::Q1Click(TObject*) { Application->Terminate(); }

void TVyrfForm1::N2Click(TObject*) { Application->Terminate(); }

void TVyrfForm1::N5Click(TObject*) { PageControl1->SetActivePage(TabSheet2); }

void TVyrfForm1::N6Click(TObject*) { PageControl1->SetActivePage(TabSheet4); }

void TVyrfForm1::A1Click(TObject*) { PageControl1->SetActivePage(TabSheet3); }

void TVyrfForm1::M1Click(TObject*) { Application->Minimize(); }

void TVyrfForm1::M2Click(TObject*) { Application->Minimize(); }

void TVyrfForm1::N1Click(TObject*) { Application->Restore(); }

// Every message passes on as usual (handled stays false); the system ignores command 99.
void TVyrfForm1::WinMsg(MSG& message, bool&) {
    if (message.message == WM_SYSCOMMAND && message.wParam == kAboutCommand) {
        Application->Restore();
        PageControl1->SetActivePage(TabSheet3);
    }
}
