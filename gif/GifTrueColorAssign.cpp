// Assigning a true-colour picture: reduce it (or keep its colours) and import the result.
#include "gif/GifImageModel.h"

TGIFSubImage& TGIFImageModel::AssignTrueColor(const TRgbRows& rows, TSystemPalettes* system) {
    if (ReductionMethod == GifReduction::KeepColors) {
        TGIFBitmapSource source;
        source.Width = rows.Width;
        source.Height = rows.Height;
        source.BitsPerPixel = 24;
        source.Row = rows.Row;
        return AssignBitmap(source);
    }
    std::unique_ptr<TDIBWriter> reduced = ReduceColorRows(rows, ReductionMethod, DitherKind, nullptr, QuantizeBits, system);
    if (!reduced) return AssignBitmap(TGIFBitmapSource{});
    return AssignBitmap(reduced->AsBitmapSource());
}
