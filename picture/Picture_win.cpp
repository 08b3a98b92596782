#include "picture/Picture_win.h"

#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/metafile/Metafile_win.h"

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

TFileFormatsList& TPicture::FileFormats() {
    static TFileFormatsList formats = [] {
        TFileFormatsList list;
        list.Add("wmf", "Metafiles", 0, TMetafile::StaticClass());
        list.Add("emf", "Enhanced Metafiles", 0, TMetafile::StaticClass());
        list.Add("ico", "Icons", 0, TIcon::StaticClass());
        list.Add("bmp", "Bitmaps", 0, TBitmap::StaticClass());
        return list;
    }();
    return formats;
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass) {
    FileFormats().Add(extension, description, 0, graphicClass);
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) { FileFormats().Remove(graphicClass); }

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

TGraphicProgress TPicture::ForwardProgress() {
    return [this](TGraphic* sender, TProgressStage stage, uint8_t percent, bool redrawNow, const RECT& rect,
                  const std::string& message) {
        if (OnProgress) OnProgress(sender, stage, percent, redrawNow, rect, message);
    };
}

void TPicture::ReplaceGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) {
        graphic_->OnChange = [this](TGraphic*) { Changed(); };
        graphic_->OnProgress = ForwardProgress();
    }
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic && graphic == graphic_.get()) return;
    std::unique_ptr<TGraphic> copy;
    if (graphic) {
        copy = graphic->NewOfSameClass();
        copy->Assign(graphic);
    }
    ReplaceGraphic(std::move(copy));
}

template <typename T>
T* TPicture::GraphicOfClass() {
    if (!graphic_ || !graphic_->InheritsFrom(T::StaticClass())) ReplaceGraphic(std::make_unique<T>());
    return static_cast<T*>(graphic_.get());
}

TIcon* TPicture::Icon() { return GraphicOfClass<TIcon>(); }

TBitmap* TPicture::Bitmap() { return GraphicOfClass<TBitmap>(); }

TMetafile* TPicture::Metafile() { return GraphicOfClass<TMetafile>(); }

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }

int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const std::string& fileName) {
    std::string extension = PictureFileExtension(fileName);
    TGraphicClass cls = FileFormats().FindExt(extension);
    if (!cls) throw EInvalidGraphic(Format(ErrorText::UnknownExtension, extension.c_str()));
    std::unique_ptr<TGraphic> graphic = TGraphic::Construct(cls);
    graphic->OnProgress = ForwardProgress();
    graphic->LoadFromFile(fileName);
    ReplaceGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (graphic_) graphic_->SaveToFile(fileName);
}

TFileFormatRegistration::TFileFormatRegistration(const std::string& extension, const std::string& description,
                                                 TGraphicClass graphicClass)
    : graphicClass_(graphicClass) {
    TPicture::RegisterFileFormat(extension, description, graphicClass);
}

TFileFormatRegistration::~TFileFormatRegistration() { TPicture::UnregisterGraphicClass(graphicClass_); }
