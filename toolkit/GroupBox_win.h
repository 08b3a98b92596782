#pragma once
// Group boxes: a captioned, etched frame around related controls (which are its children).
#include "toolkit/WinControl_win.h"

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    const char* ClassName() const override { return "TGroupBox"; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(TCanvas& canvas) override;
    void TextChanged() override { Invalidate(); }
};
