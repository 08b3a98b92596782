#include "gif/colour/TrueColorAssign.h"

TGIFSubImage& AssignTrueColor(TGIFImageModel& picture, const TRgbRows& rows, TSystemPalettes* system) {
    if (picture.ReductionMethod == GifReduction::KeepColors) {
        TGIFBitmapSource source;
        source.Width = rows.Width;
        source.Height = rows.Height;
        source.BitsPerPixel = 24;
        source.Row = rows.Row;
        return picture.AssignBitmap(source);
    }
    std::unique_ptr<TDIBWriter> reduced = ReduceColorRows(rows, picture.ReductionMethod, picture.DitherKind, nullptr,
                                                          picture.QuantizeBits, system);
    if (!reduced) return picture.AssignBitmap(TGIFBitmapSource{});
    return picture.AssignBitmap(reduced->AsBitmapSource());
}
