#include "convert/PictureConversion_win.h"

#include <memory>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "convert/JpegGifPipeline.h"
#include "convert/JpegPngPipeline.h"
#include "convert/PngConversion_win.h"
#include "gif/codec/GifImageModel.h"
#include "icowriter/IconWriter_win.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/jpeg/JpegBitmapRows_win.h"
#include "picture/jpeg/JpegImage_win.h"
#include "picture/png/PngBitmaps_win.h"
#include "picture/png/PngImage_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

// The GIF picture class comes from the format registry, so this engine needs nothing of the
// GIF unit but its registration; without one a GIF is refused like any unknown extension.
std::unique_ptr<TGraphic> NewGifGraphic() {
    TGraphicClass gifClass = TPicture::FileFormats().FindExt("gif");
    if (!gifClass) throw EInvalidGraphic(Format(ErrorText::UnknownExtension, "gif"));
    return TGraphic::Construct(gifClass);
}

// A bitmap of the graphic's own size with the graphic drawn at the top-left corner.
std::unique_ptr<TBitmap> DrawCopy(TGraphic& graphic) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(graphic.Width(), graphic.Height());
    bitmap->Canvas().Draw(0, 0, &graphic);
    return bitmap;
}

// A bitmap of exactly the icon size with the graphic stretched over all of it.
std::unique_ptr<TBitmap> StretchToIconSize(TGraphic& graphic, const TConversionSettings& settings) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(settings.iconWidth, settings.iconHeight);
    bitmap->Canvas().StretchDraw(RECT{0, 0, settings.iconWidth, settings.iconHeight}, &graphic);
    return bitmap;
}

// The draw copy of a JPEG picture for a GIF. Drawn unscaled onto a new bitmap, a picture
// decoded to 24 bits keeps every pixel wherever new bitmaps hold 24 bits or more, so there
// its own decoded bitmap is that copy: the GIF comes out the same, without two passes over
// the whole photograph through the display's format.
std::unique_ptr<TBitmap> JpegDrawCopyForGif(TJPEGImage& jpeg) {
    TBitmap& decoded = jpeg.Bitmap();
    if (decoded.PixelFormat() != pf24bit || decoded.Transparent() || ScreenColorDepth() < 24) return DrawCopy(jpeg);
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(&decoded);
    return copy;
}

// Whether a JPEG to GIF conversion may take the two-thread way: the GIF picture would reduce
// to the web palette by nearest colour and code with LZW, and the JPEG's bitmap would be its
// own draw copy (JpegDrawCopyForGif) on this display.
bool GifDefaultsSuitPipeline() {
    return TPicture::FileFormats().FindExt("gif") && GIFDefaultSettings.ReductionMethod == GifReduction::WebPalette &&
           GIFDefaultSettings.DitherKind == GifDither::Nearest && GIFDefaultSettings.CodingMethod == GifCoding::Lzw &&
           ScreenColorDepth() >= 24;
}

// Whether a photograph may take a two-thread way: it decodes to 24 bits as it is stored.
bool JpegSuitsTwoThreads(TMemoryStream& compressed) {
    if (compressed.Size() == 0 || !JpegDecodesToTrueColor(ReadJpegHeader(compressed), DefaultJpegSettings))
        return false;
    compressed.SetPosition(0);
    return true;
}

using TJpegPipe = void (*)(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out);

// A JPEG decoded on one thread and written on the other (as GIF or PNG), for a photograph
// that decodes to 24 bits: the same file as through the JPEG picture's bitmap, in about the
// time of the slower half. False, with nothing written, for a picture that needs the general
// way; the source's errors are those of loading it as a JPEG picture.
bool ConvertJpegOnTwoThreads(const std::string& source, const std::string& target, TJpegPipe pipe) {
    TFileStream file(source, TFileMode::OpenRead);
    TMemoryStream compressed(file.ReadRemaining());
    if (!JpegSuitsTwoThreads(compressed)) return false;
    TBitmap decoded;
    TJpegBitmapRows rows(decoded);
    TMemoryStream written;
    pipe(compressed, DefaultJpegSettings, rows, written);
    SaveFileSafely(target, [&written](TStream& out) { written.SaveToStream(out); });
    return true;
}

bool LargerThanIcon(const TGraphic& graphic, const TConversionSettings& settings) {
    return graphic.Width() > settings.iconWidth || graphic.Height() > settings.iconHeight;
}

void SaveJpeg(const TBitmap& bitmap, const std::string& target, int quality) {
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetQualityLevel(static_cast<uint8_t>(quality < 0 ? 0 : quality > 100 ? 100 : quality));
    jpeg.Compress();
    jpeg.SaveToFile(target);
}

void SaveGif(const TBitmap& bitmap, const std::string& target) {
    std::unique_ptr<TGraphic> gif = NewGifGraphic();
    gif->Assign(&bitmap);
    gif->SaveToFile(target);
}

void WriteIcon(TBitmap& bitmap, const std::string& target, const TConversionSettings& settings,
               const TIconWriter& writer) {
    if (settings.trueColorIcon)
        writer.SaveBitmapAsTrueColorIcon(bitmap, target);
    else
        writer.SaveBitmapAs256ColorIcon(bitmap, target);
}

// Writes a bitmap in the target's format (BMP, JPEG, GIF or ICO).
void WriteBitmap(TBitmap& bitmap, TPictureKind targetKind, const std::string& target,
                 const TConversionSettings& settings, const TIconWriter& writer) {
    switch (targetKind) {
    case TPictureKind::Bitmap: bitmap.SaveToFile(target); break;
    case TPictureKind::Jpeg: SaveJpeg(bitmap, target, settings.quality); break;
    case TPictureKind::Gif: SaveGif(bitmap, target); break;
    case TPictureKind::Icon: WriteIcon(bitmap, target, settings, writer); break;
    case TPictureKind::Png:
    case TPictureKind::None: break;
    }
}

// The bitmap an icon is made from: big pictures are squeezed to the icon size, small ones
// keep their size (they are never enlarged).
std::unique_ptr<TBitmap> FitBitmapToIconSize(std::unique_ptr<TBitmap> bitmap, const TConversionSettings& settings) {
    if (!LargerThanIcon(*bitmap, settings)) return bitmap;
    return StretchToIconSize(*bitmap, settings);
}

std::unique_ptr<TBitmap> BitmapForTarget(const std::string& source, TPictureKind sourceKind,
                                         TPictureKind targetKind, const TConversionSettings& settings) {
    switch (sourceKind) {
    case TPictureKind::Icon: {
        // The icon has not been drawn yet, so it reports the system icon size: the bitmap
        // is of that size with the icon's nearest image in its top-left corner.
        TIcon icon;
        icon.LoadFromFile(source);
        return DrawCopy(icon);
    }
    case TPictureKind::Bitmap: {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromFile(source);
        if (targetKind == TPictureKind::Icon) return FitBitmapToIconSize(std::move(bitmap), settings);
        return bitmap;
    }
    case TPictureKind::Jpeg: {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(source);
        if (targetKind == TPictureKind::Icon) return StretchToIconSize(jpeg, settings);
        if (targetKind == TPictureKind::Gif) return JpegDrawCopyForGif(jpeg);
        return DrawCopy(jpeg);
    }
    case TPictureKind::Gif: {
        std::unique_ptr<TGraphic> gif = NewGifGraphic();
        gif->LoadFromFile(source);
        if (targetKind == TPictureKind::Bitmap) return DrawCopy(*gif);
        if (targetKind == TPictureKind::Icon && LargerThanIcon(*gif, settings)) return StretchToIconSize(*gif, settings);
        // The first frame on the logical screen.
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->Assign(gif.get());
        return bitmap;
    }
    case TPictureKind::Png: {
        // Drawn on white; a GIF keeps the fully transparent pixels as its transparent colour.
        TPNGImage png;
        png.LoadFromFile(source);
        if (targetKind == TPictureKind::Gif && png.Transparent()) return TransparentGifBitmap(*png.Picture());
        return DrawCopy(png);
    }
    case TPictureKind::None: break;
    }
    return nullptr;
}

// The source with its transparency, for a PNG target.
TAlphaPicture AlphaPictureOfSource(const std::string& source, TPictureKind sourceKind) {
    switch (sourceKind) {
    case TPictureKind::Icon: return AlphaPictureOfIconFile(source);
    case TPictureKind::Gif: {
        std::unique_ptr<TGraphic> gif = NewGifGraphic();
        gif->LoadFromFile(source);
        return AlphaPictureOfGraphic(*gif);
    }
    case TPictureKind::Jpeg: {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(source);
        return AlphaPictureFromBitmap(jpeg.Bitmap());
    }
    default: {
        TBitmap bitmap;
        bitmap.LoadFromFile(source);
        return AlphaPictureFromBitmap(bitmap);
    }
    }
}

void ConvertToPng(const std::string& source, TPictureKind sourceKind, const std::string& target) {
    if (sourceKind == TPictureKind::Jpeg && ConvertJpegOnTwoThreads(source, target, PipeJpegToPng)) return;
    WritePngFile(AlphaPictureOfSource(source, sourceKind), target);
}

// A PNG's icon takes its transparency from the alpha channel.
void ConvertPngToIcon(const std::string& source, const std::string& target, const TConversionSettings& settings,
                      const TIconWriter& writer) {
    TPNGImage png;
    png.LoadFromFile(source);
    WriteAlphaPictureAsIcon(*png.Picture(), target, settings.trueColorIcon, settings.iconWidth, settings.iconHeight,
                            writer);
}

}  // namespace

void ConvertPicture(const std::string& source, TPictureKind sourceKind, const std::string& target,
                    TPictureKind targetKind, const TConversionSettings& settings, const TIconWriter& writer) {
    if (!CanConvert(sourceKind, targetKind)) return;
    if (targetKind == TPictureKind::Png) return ConvertToPng(source, sourceKind, target);
    if (sourceKind == TPictureKind::Png && targetKind == TPictureKind::Icon)
        return ConvertPngToIcon(source, target, settings, writer);
    if (sourceKind == TPictureKind::Jpeg && targetKind == TPictureKind::Gif && GifDefaultsSuitPipeline() &&
        ConvertJpegOnTwoThreads(source, target, PipeJpegToGif))
        return;
    std::unique_ptr<TBitmap> bitmap = BitmapForTarget(source, sourceKind, targetKind, settings);
    if (bitmap) WriteBitmap(*bitmap, targetKind, target, settings, writer);
}
