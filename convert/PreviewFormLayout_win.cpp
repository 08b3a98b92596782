#include "convert/PreviewForm_win.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    SetName("Form2");
    SetCaption("Quorlin图片处理Tervane---图片预览--Quorlin电脑工作室");
    SetBorderStyle(bsToolWindow);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(522, 429);
    SetHint("放大后的图片,点击关闭此窗口");
    SetShowHint(true);
    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetBounds(1, 0, 520, 425);
    Image1->SetStretch(true);
    Image1->SetCursor(crHandPoint);
    Image1->SetParent(this);
    Image1->OnClick = [this](TObject* sender) { Image1Click(sender); };
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    Form2 = this;
}

// The outer size follows the image's, the window being a frame around the enlarged picture.
void TForm2::FormCreate(TObject*) {
    SetWidth(Image1->Width());
    SetHeight(Image1->Height());
}

// Closing hides the window and ends its modal display; it is used again next time.
void TForm2::Image1Click(TObject*) { Close(); }
