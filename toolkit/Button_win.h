#pragma once
// Push buttons. A button with a modal result closes its modal form with that answer.
#include "base/ModalResult.h"
#include "toolkit/WinControl_win.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    const char* ClassName() const override { return "TButton"; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // The default button of its form (drawn with the heavy border; Enter presses it).
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TModalResult modalResult_ = mrNone;
    bool default_ = false;
};
