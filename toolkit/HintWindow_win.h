#pragma once
// The window that shows a hint: a borderless-looking popup with a thin border in the hint
// colour. The application makes one of its hint window class (which the program may replace
// with a class of its own that sizes and paints differently) and reuses it for every hint.
#include <string>

#include "toolkit/WinControl_win.h"

class THintWindow : public TWinControl {
public:
    explicit THintWindow(TComponent* owner);
    const char* ClassName() const override { return "THintWindow"; }

    // The rectangle (from 0, 0) the hint needs: the text measured with word breaks within
    // maxWidth, plus 6 pixels across and 2 down.
    virtual RECT CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Shows the hint in the rectangle (screen coordinates) without activating it.
    virtual void ActivateHint(const RECT& rect, const std::string& hint);
    void ReleaseHint();

protected:
    void CreateParams(TCreateParams& params) override;
    // The text in the hint font's colour, moved in by 2 pixels at the left and the top.
    void Paint(TCanvas& canvas) override;
    void WndProc(TMessage& message) override;
};
