#pragma once
// Radio buttons: checking one unchecks the other radio buttons of the same parent.
#include "toolkit/WinControl_win.h"

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    const char* ClassName() const override { return "TRadioButton"; }

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
};
