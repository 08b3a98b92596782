// Building an icon from a picture: the colour of the picture's bottom-left pixel becomes the
// transparent colour. The icon format wants transparent pixels black in the colour image, so
// black pixels that must stay visible are first parked on a substitute colour, and brought
// back to black once the mask has been taken.
#include <windows.h>

#include "base/Exceptions.h"
#include "icowriter/IconWriter_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// Red 250, green 249, blue 248: close enough to white not to show, rare enough in pictures.
constexpr TColor SubstituteColour = 0xF8F9FA;

std::unique_ptr<TBitmap> NewBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);  // new bitmaps start white
    return bitmap;
}

// Work := `fill` where image has exactly `replaced`, image elsewhere; then image := work.
void ReplaceColour(TBitmap& image, TBitmap& work, const RECT& rect, TColor replaced, TColor fill) {
    work.Canvas().Brush().SetColor(fill);
    work.Canvas().FillRect(rect);
    work.Canvas().BrushCopy(rect, image.Canvas(), rect, replaced);
    image.Assign(&work);
}

}  // namespace

std::unique_ptr<TIcon> TIconWriter::IconFromBitmap(TBitmap& source) const {
    const int width = SystemIconWidth();
    const int height = SystemIconHeight();
    const RECT rect = MakeRect(0, 0, width, height);

    std::unique_ptr<TBitmap> image = NewBitmap(width, height);
    image->Canvas().Draw(0, 0, &source);  // own size: a larger picture is cut, a smaller one framed in white
    const TColor key = image->Canvas().Pixel(0, height - 1);

    std::unique_ptr<TBitmap> mask = NewBitmap(width, height);
    mask->Canvas().Brush().SetColor(clWhite);
    mask->Canvas().FillRect(rect);
    std::unique_ptr<TBitmap> work = NewBitmap(width, height);

    if (key != clBlack) ReplaceColour(*image, *work, rect, clBlack, SubstituteColour);
    ReplaceColour(*image, *work, rect, key, clBlack);

    // The mask: white where the image is black (transparent), black where it has a colour.
    image->SetTransparentColor(clBlack);
    image->SetTransparent(true);
    mask->Canvas().Draw(0, 0, image.get());
    image->SetTransparent(false);
    mask->Canvas().SetCopyMode(SRCINVERT);
    mask->Canvas().CopyRect(rect, image->Canvas(), rect);
    mask->SetMonochrome(true);  // white -> 1 (transparent), black -> 0

    // Parked black pixels, and source pixels that had the substitute colour, become black.
    ReplaceColour(*image, *work, rect, SubstituteColour, clBlack);

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask->Handle();
    info.hbmColor = image->Handle();
    HICON handle = CreateIconIndirect(&info);
    if (!handle) throw EOutOfResources(ErrorText::OutOfResources);
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(handle);
    return icon;
}
