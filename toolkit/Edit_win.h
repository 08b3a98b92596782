#pragma once
// Single-line edit boxes.
#include "toolkit/WinControl_win.h"

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    const char* ClassName() const override { return "TEdit"; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool readOnly_ = false;
};
