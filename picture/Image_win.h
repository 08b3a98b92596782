#pragma once
// Image controls: show a picture (any graphic class), stretched over the control or at the
// graphic's own size from the top-left corner, optionally taking the graphic's size.
#include <memory>

#include "toolkit/Control_win.h"

class TBitmap;
class TGraphic;
class TPicture;

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    const char* ClassName() const override { return "TImage"; }

    // The image's own picture; assigning another picture copies that picture's graphic.
    TPicture& Picture() { return *picture_; }
    void SetPicture(const TPicture* source);

    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // Takes the width and height of every graphic shown, keeping the top-left corner.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Passed on to graphics that draw through a mask (not icons or metafiles).
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void Paint(TCanvas& canvas) override;
    // The rectangle the graphic is drawn into, in the control's coordinates.
    RECT DestRect() const;

private:
    void PictureChanged();
    // The graphic shrunk to the rectangle once, or nullptr where drawing it each time is as cheap.
    TBitmap* ShrunkGraphic(TGraphic& graphic, const RECT& dest);

    std::unique_ptr<TPicture> picture_;
    // A big still picture shrunk into the control, kept until the picture or the size changes:
    // a photograph in a small preview is then scaled once, not at every repaint.
    std::unique_ptr<TBitmap> shrunk_;
    bool stretch_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
};
