#pragma once
// The icon writer: turns an icon or a bitmap into a one-image .ico file, either with 256
// colours (8 bits per pixel and a 256-entry colour table) or in "true colour" (16 bits per
// pixel, 5 bits each of red, green and blue).
//
// The system delivers the icon's colour image and mask at the wanted depth; the file's layout
// comes from IconFileLayout. Everything is read and checked before the file is touched, and
// the file is replaced only once it was written completely, so a failed save never leaves an
// empty or partial file behind. The writer keeps no state between calls.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Streams.h"
#include "icowriter/IconFileLayout.h"

class TBitmap;
class TIcon;

// A non-visual component; the main window owns one, IconWriter1.
class TIconWriter : public TComponent {
public:
    explicit TIconWriter(TComponent* owner) : TComponent(owner) {}
    const char* ClassName() const override { return "TIconWriter"; }

    // Writes the icon's image (its handle stays the icon's) to the file, replacing it.
    // EInvalidGraphic "Bitmap image is not valid" for an icon without usable bitmaps,
    // EFCreateError when the file cannot be created.
    void SaveIconAs256Colors(TIcon& icon, const std::string& fileName) const;
    void SaveIconAsTrueColor(TIcon& icon, const std::string& fileName) const;

    // An icon of the system icon size made from the bitmap's top-left part; pixels of the
    // colour of the bottom-left corner are transparent, all others opaque.
    std::unique_ptr<TIcon> IconFromBitmap(TBitmap& bitmap) const;
    void SaveBitmapAs256ColorIcon(TBitmap& bitmap, const std::string& fileName) const;
    void SaveBitmapAsTrueColorIcon(TBitmap& bitmap, const std::string& fileName) const;

    // The steps below, open for the icon and conversion tests.

    // Writes a whole .ico file for the icon at colourCount (256 or 65536) into the stream.
    static void WriteIconStream(TStream& stream, HICON icon, uint32_t colourCount);
    // Reads the icon's colour image at colourCount and its mask, all checked, nothing written.
    static TIconImageData ReadIconImage(HICON icon, uint32_t colourCount);
    // The information header for the bitmap at the depth of colourCount (2, 256 or 65536).
    static void FillBitmapInfoHeader(HBITMAP bitmap, TBitmapInfoHeader& header, uint32_t colourCount);
    static TDIBSizes MeasureDIB(HBITMAP bitmap, uint32_t colourCount);
    // The bitmap's header, colour table and rows at the depth of colourCount, into buffers
    // of at least the sizes MeasureDIB gives; true when the system delivered the rows.
    static bool ReadDIBBits(HBITMAP bitmap, uint32_t colourCount, std::vector<uint8_t>& header,
                            std::vector<uint8_t>& pixels);

private:
    static void SaveIcon(TIcon& icon, const std::string& fileName, uint32_t colourCount);
    void SaveBitmapAsIcon(TBitmap& bitmap, const std::string& fileName, uint32_t colourCount) const;
};
