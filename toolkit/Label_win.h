#pragma once
// Labels: text painted on the parent's background, sized to the text unless told otherwise.
#include "toolkit/Control_win.h"

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    const char* ClassName() const override { return "TLabel"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Transparent labels leave the parent's background as it is under the text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void Paint(TCanvas& canvas) override;

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();

    bool autoSize_ = true;
    bool transparent_ = false;
};
