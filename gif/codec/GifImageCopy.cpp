// Copying a picture object by object. Writing the whole picture and reading it back would
// refuse what the writer refuses (no frames, indices beyond the colour table) and would merge
// an extension-only frame into the next one.
#include <memory>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "gif/codec/GifExtensionRegistry.h"
#include "gif/codec/GifImageModel.h"

namespace {

// An extension goes through its own bytes, so every kind (and every raw block) comes out the
// same without a copy routine per class.
std::unique_ptr<TGIFExtension> CopyExtension(const TGIFExtension& source, TGIFImageModel* image,
                                             TGIFSubImage* frame) {
    TMemoryStream bytes;
    source.SaveToStream(bytes);
    ByteReader at(bytes.Memory(), bytes.Bytes().size());
    std::unique_ptr<TGIFExtension> copy = TGIFExtensionRegistry::Instance().CreateFor(at, image, frame);
    bytes.SetPosition(0);
    copy->LoadFromStream(bytes);
    return copy;
}

void CopyFrame(const TGIFSubImage& source, TGIFSubImage& frame) {
    frame.Descriptor = source.Descriptor;
    frame.ColorMap = source.ColorMap;
    frame.Data = source.Data;
    frame.Transparent = source.Transparent;
    for (const auto& extension : source.Extensions) {
        TGIFExtension& added = frame.Extensions.Add(CopyExtension(*extension, frame.Image(), &frame));
        if (extension.get() == source.GraphicControlExtension)
            frame.GraphicControlExtension = static_cast<TGIFGraphicControlExtension*>(&added);
    }
}

}  // namespace

void TGIFImageModel::CopyFrom(const TGIFImageModel& source) {
    if (&source == this) return;
    Clear();
    Progress(TGIFProgressStage::Starting, 0, GifProgressText::Copying);
    Header.Descriptor = source.Header.Descriptor;
    Header.ColorMap = source.Header.ColorMap;
    BackgroundColor = source.BackgroundColor;
    ReductionMethod = source.ReductionMethod;
    QuantizeBits = source.QuantizeBits;
    DitherKind = source.DitherKind;
    CodingMethod = source.CodingMethod;
    PaintFlags = source.PaintFlags;
    PainterPriority = source.PainterPriority;
    PlaybackSpeed = source.PlaybackSpeed;
    OnWarning = source.OnWarning;
    const int count = source.Images.Count();
    for (int i = 0; i < count; ++i) {
        auto frame = std::make_unique<TGIFSubImage>(this);
        CopyFrame(source.Images[i], *frame);
        Images.Add(std::move(frame));
        Progress(TGIFProgressStage::Running, (i + 1) * 100 / count, GifProgressText::Copying);
    }
    FramesChanged();
    Progress(TGIFProgressStage::Ending, 100, GifProgressText::Copying);
}
