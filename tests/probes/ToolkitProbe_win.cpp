// A window built on the toolkit with one button whose handler fails and one that counts, so
// a test can see the default error display and that the program goes on afterwards.
#include <windows.h>

#include "toolkit/Application_win.h"
#include "toolkit/Button_win.h"
#include "toolkit/Exceptions.h"
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
        SetClientSize(240, 80);
        SetShowHint(true);
        failing_ = AddButton("出错", 16, "这个按钮的处理程序会出错");
        failing_->OnClick = [](TObject*) { throw EInvalidGraphic(ErrorText::InvalidBitmap); };
        counting_ = AddButton("计数 0", 128, "");
        counting_->OnClick = [this](TObject*) { counting_->SetCaption("计数 " + std::to_string(++count_)); };
        SetVisible(true);
    }
    const char* ClassName() const override { return "TToolkitProbeForm"; }

private:
    TButton* AddButton(const char* caption, int left, const char* hint) {
        auto* button = new TButton(this);
        button->SetBounds(left, 24, 96, 28);
        button->SetCaption(caption);
        button->SetHint(hint);
        button->SetParent(this);
        return button;
    }

    TButton* failing_;
    TButton* counting_;
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
