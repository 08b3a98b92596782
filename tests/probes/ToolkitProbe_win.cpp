// A window built on the toolkit with one button whose handler fails and one that counts, so
// a test can see the default error display and that the program goes on afterwards; and two
// that run the open dialog and the folder browser and show what they returned in the caption.
#include <windows.h>

#include "base/Exceptions.h"
#include "toolkit/Application_win.h"
#include "toolkit/Button_win.h"
#include "toolkit/FileDialogs_win.h"
#include "toolkit/FolderBrowser_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/HintWindow_win.h"

namespace {

class TToolkitProbeForm : public TForm {
public:
    explicit TToolkitProbeForm(TComponent* owner) : TForm(owner) {
        SetCaption("工具包探针");
        SetBorderStyle(bsToolWindow);
        SetBorderIcons(biSystemMenu);
        SetPosition(poScreenCenter);
        SetClientSize(240, 120);
        SetShowHint(true);
        failing_ = AddButton("出错", 16, 24, "这个按钮的处理程序会出错");
        failing_->OnClick = [](TObject*) { throw EInvalidGraphic(ErrorText::InvalidBitmap); };
        counting_ = AddButton("计数 0", 128, 24, "");
        counting_->OnClick = [this](TObject*) { counting_->SetCaption("计数 " + std::to_string(++count_)); };
        open_ = new TOpenDialog(this);
        open_->SetFilter("ICO file(*.ico)|*.ICO|BMP file(*.bmp)|*.BMP|ALL files(*.*)|*.*");
        AddButton("打开", 16, 64, "")->OnClick = [this](TObject*) {
            open_->SetTitle("请选择要打开的文件");
            open_->SetFileName("");
            bool chosen = open_->Execute();
            SetCaption((chosen ? open_->FileName() : std::string("取消")) + "|" + std::to_string(open_->FilterIndex()));
        };
        AddButton("文件夹", 128, 64, "")->OnClick = [this](TObject*) {
            std::string folder;
            SetCaption(SelectDirectory("请选择文件夹", folder) ? folder : std::string("取消"));
        };
        SetVisible(true);
    }
    const char* ClassName() const override { return "TToolkitProbeForm"; }

private:
    TButton* AddButton(const char* caption, int left, int top, const char* hint) {
        auto* button = new TButton(this);
        button->SetBounds(left, top, 96, 28);
        button->SetCaption(caption);
        button->SetHint(hint);
        button->SetParent(this);
        return button;
    }

    TButton* failing_;
    TButton* counting_;
    TOpenDialog* open_;
    int count_ = 0;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    application.SetHintWindowClass(MakeHintWindow<THintWindow>);
    application.Initialize();
    application.SetTitle("Quorlin图片处理Tervane");
    application.CreateForm<TToolkitProbeForm>();
    application.Run();
    return 0;
}
