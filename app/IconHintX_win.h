#pragma once
// The program's hint window: the hint text at the top and the program's icon below it.
#include "toolkit/HintWindow_win.h"

class TIconHintX : public THintWindow {
public:
    explicit TIconHintX(TComponent* owner) : THintWindow(owner) {}
    const char* ClassName() const override { return "TIconHintX"; }

    RECT CalcHintRect(int maxWidth, const std::string& hint, void* data) override;

protected:
    void Paint(TCanvas& canvas) override;
};
