#include "gif/codec/GifImageModel.h"

#include <algorithm>

#include "base/Exceptions.h"

TGIFSettings GIFDefaultSettings;

TGIFImageModel::TGIFImageModel()
    : Header(this),
      Images(this),
      ReductionMethod(GIFDefaultSettings.ReductionMethod),
      QuantizeBits(GIFDefaultSettings.QuantizeBits),
      DitherKind(GIFDefaultSettings.DitherKind),
      CodingMethod(GIFDefaultSettings.CodingMethod),
      PaintFlags(GIFDefaultSettings.PaintFlags),
      PainterPriority(GIFDefaultSettings.PainterPriority),
      PlaybackSpeed(GIFDefaultSettings.PlaybackSpeed) {}

TGIFImageModel::~TGIFImageModel() = default;

int TGIFImageModel::BitsPerPixel() const {
    int depth = Header.ColorMap.BitsPerPixel();
    for (const auto& frame : Images) depth = std::max(depth, frame->ColorMap.BitsPerPixel());
    return depth;
}

TGIFVersion TGIFImageModel::Version() const {
    TGIFVersion version = TGIFVersion::Unknown;
    for (const auto& frame : Images) {
        version = std::max(version, frame->Version());
        if (version == TGIFVersion::V89a) break;
    }
    return version;
}

void TGIFImageModel::Clear() {
    StopPainters();
    Images.Clear();
    Header.Clear();
    FramesChanged();
}

TGIFSubImage& TGIFImageModel::AssignBitmap(const TGIFBitmapSource& source) {
    Clear();
    auto frame = std::make_unique<TGIFSubImage>(this);
    frame->ImportBitmap(source);
    TGIFSubImage& added = Images.Add(std::move(frame));
    FramesChanged();
    return added;
}

void TGIFImageModel::SaveToStream(TStream& stream) const {
    Progress(TGIFProgressStage::Starting, 0, GifProgressText::Saving);
    Header.SaveToStream(stream);
    for (int i = 0; i < Images.Count(); ++i) {
        Images[i].SaveToStream(stream);
        Progress(TGIFProgressStage::Running, (i + 1) * 100 / Images.Count(), GifProgressText::Saving);
    }
    TGIFTrailer(const_cast<TGIFImageModel*>(this)).SaveToStream(stream);
    Progress(TGIFProgressStage::Ending, 100, GifProgressText::Saving);
}

void TGIFImageModel::Warning(const std::string& message) const {
    if (OnWarning) OnWarning(message);
}

void TGIFImageModel::Progress(TGIFProgressStage stage, int percentDone, const char* message) const {
    if (OnProgress) OnProgress(stage, percentDone, message);
}
