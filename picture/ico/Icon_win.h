#pragma once
// An icon picture: an icon handle it owns, made on first need from the icon file bytes it
// was loaded from, or given by the caller. Icons draw at their own size whatever the
// rectangle they are given.
#include <windows.h>

#include <memory>
#include <vector>

#include "picture/graphic/Graphic_win.h"
#include "picture/ico/IconDirectory.h"
#include "toolkit/GdiGuards_win.h"

class TIcon : public TGraphic {
public:
    TERVANE_GRAPHIC_CLASS(TIcon)

    TIcon();
    ~TIcon() override;

    // Another icon: share its image. nullptr: become empty.
    void Assign(const TGraphic* source) override;
    // DrawIconEx at the rectangle's top-left corner at the icon's own size.
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Empty() const override;
    // The chosen image's size once the handle is made from file bytes; the system icon size
    // before that, for icons made from a handle, and for empty icons.
    int Width() const override;
    int Height() const override;
    // Refused: an icon's size is its image's.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // Icons are always drawn through their masks; the flag changes nothing.
    void SetTransparent(bool) override {}

    // Keeps the bytes (the handle is made on first need). Refuses anything but icon files.
    void LoadFromStream(TStream& stream) override;
    // The bytes the icon was loaded from; an icon made from a handle is written as a
    // one-image icon file at its colour bitmap's depth.
    void SaveToStream(TStream& stream) const override;

    // The icon handle, made now from the file bytes if need be (nullptr when empty).
    HICON Handle() const;
    // Takes ownership of the handle (nullptr empties the icon).
    void SetHandle(HICON handle);
    // Gives the caller the handle (a copy when shared); the icon is left empty.
    HICON ReleaseHandle();
    // Whether the handle exists yet.
    bool HandleAllocated() const;
    bool SharesImageWith(const TIcon& other) const { return image_ == other.image_; }

private:
    struct TIconData {
        TIconHandle handle;
        std::vector<uint8_t> memory;  // the icon file bytes, when loaded from a stream
        int width = 0;                // the chosen image's size, once the handle is made
        int height = 0;
    };
    void HandleNeeded() const;
    void NewImage(std::shared_ptr<TIconData> image);

    std::shared_ptr<TIconData> image_;
};

// The icon's colour image at the colour bitmap's own depth and its mask, as the system holds
// them. EInvalidGraphic "Icon image is not valid" for a handle without a colour bitmap.
TIconImage IconImageOf(HICON handle);
