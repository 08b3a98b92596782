#include "toolkit/RadioButton_win.h"

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    clickOnMouseUp_ = false;
    SetTabStop(true);
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
        if (sibling && sibling != this) sibling->SetChecked(false);
    }
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.systemClass = "BUTTON";
    params.style |= BS_RADIOBUTTON;
}

void TRadioButton::HandleCreated() {
    TWinControl::HandleCreated();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED || HIWORD(message.WParam) == BN_DOUBLECLICKED) {
            SetChecked(true);
            Click();
        }
        return;
    }
    TWinControl::WndProc(message);
}
