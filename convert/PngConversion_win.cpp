#include "convert/PngConversion_win.h"

#include <cstring>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "gif/colour/WebPaletteRow.h"
#include "icowriter/IconWriter_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/IconDirectory.h"
#include "picture/ico/Icon_win.h"
#include "picture/png/PngImage_win.h"
#include "picture/png/StoredIconImage.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

constexpr int WebLevels = 6, WebColors = 216;
// The transparent pixels' own colour: no web colour (their channels are multiples of 51).
constexpr TRgbQuad TransparentKey{1, 2, 3, 0};

std::unique_ptr<TBitmap> FilledBitmap(int width, int height, TColor colour) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas().Brush().SetColor(colour);
    bitmap->Canvas().FillRect(RECT{0, 0, width, height});
    return bitmap;
}

std::vector<TRgbQuad> WebPaletteWithKey() {
    std::vector<TRgbQuad> table;
    for (int i = 0; i < WebColors; ++i) {
        const auto level = [](int l) { return static_cast<uint8_t>(l * 51); };
        table.push_back(TRgbQuad{level(i % WebLevels), level(i / WebLevels % WebLevels), level(i / 36), 0});
    }
    table.push_back(TransparentKey);
    return table;
}

uint8_t OnWhite(uint8_t channel, uint8_t alpha) { return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255); }

}  // namespace

TAlphaPicture AlphaPictureOfIconFile(const std::string& fileName) {
    TFileStream file(fileName, TFileMode::OpenRead);
    const std::vector<uint8_t> bytes = file.ReadRemaining();
    const TIconDirectory directory = ReadIconDirectory(bytes.data(), bytes.size());
    if (directory.type == 0) {  // no images: the system's application icon, as the icon picture shows
        TIcon icon;
        TMemoryStream stream(bytes);
        icon.LoadFromStream(stream);
        return AlphaPictureFromIconImage(IconImageOf(icon.Handle()));
    }
    // The largest image: a PNG target can hold what the icon's big sizes carry.
    const std::vector<TIconGroup> groups = ListIconGroups(bytes.data(), bytes.size());
    const TStoredImage largest = groups.empty() ? TStoredImage{} : LargestImage(bytes.data(), groups.front());
    if (largest.size == 0) throw EInvalidGraphic(ErrorText::InvalidIcon);
    return AlphaPictureOfStoredImage(largest);
}

TAlphaPicture AlphaPictureOfGraphic(TGraphic& graphic) {
    const int width = graphic.Width(), height = graphic.Height();
    auto onWhite = FilledBitmap(width, height, clWhite), onBlack = FilledBitmap(width, height, clBlack);
    onWhite->Canvas().Draw(0, 0, &graphic);
    onBlack->Canvas().Draw(0, 0, &graphic);
    TAlphaPicture picture(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* white = static_cast<const uint8_t*>(onWhite->ScanLine(y));
        const auto* black = static_cast<const uint8_t*>(onBlack->ScanLine(y));
        for (int x = 0; x < width; ++x, white += 3, black += 3) {
            if (std::memcmp(white, black, 3) != 0) continue;  // stays transparent
            std::memcpy(picture.Pixel(x, y), white, 3);
            picture.Pixel(x, y)[3] = 255;
        }
    }
    return picture;
}

std::unique_ptr<TBitmap> TransparentGifBitmap(const TAlphaPicture& picture) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf8bit);
    bitmap->SetSize(picture.Width, picture.Height);
    bitmap->SetColorTable(WebPaletteWithKey());
    std::vector<uint8_t> bgr(size_t(picture.Width) * 3);
    for (int32_t y = 0; y < picture.Height; ++y) {
        const uint8_t* p = picture.Row(y);
        for (int32_t x = 0; x < picture.Width; ++x, p += 4)
            for (int c = 0; c < 3; ++c) bgr[size_t(x) * 3 + c] = OnWhite(p[c], p[3]);
        auto* indices = static_cast<uint8_t*>(bitmap->ScanLine(y));
        MapRowToWebPalette(bgr.data(), indices, picture.Width);
        for (int32_t x = 0; x < picture.Width; ++x)
            if (picture.Pixel(x, y)[3] == 0) indices[x] = WebColors;
    }
    bitmap->SetTransparentColor(RGB(TransparentKey.red, TransparentKey.green, TransparentKey.blue));
    bitmap->SetTransparent(true);
    return bitmap;
}

void WriteAlphaPictureAsIcon(const TAlphaPicture& picture, const std::string& target, bool trueColor, int iconWidth,
                             int iconHeight, const TIconWriter& writer) {
    TMemoryStream file(WriteIconFile(IconImageFromAlphaPicture(FitAlphaPicture(picture, iconWidth, iconHeight))));
    TIcon icon;
    icon.LoadFromStream(file);
    if (trueColor) writer.SaveIconAsTrueColor(icon, target);
    else writer.SaveIconAs256Colors(icon, target);
}

void WritePngFile(const TAlphaPicture& picture, const std::string& target) {
    SaveFileSafely(target, [&picture](TStream& out) { WritePngPicture(out, picture); });
}
