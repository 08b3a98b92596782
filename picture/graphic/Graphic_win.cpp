#include "picture/graphic/Graphic_win.h"

#include "base/FileStream.h"

TGraphicClass TGraphic::StaticClass() {
    static const TGraphicClassInfo info = {"TGraphic", nullptr, nullptr};
    return &info;
}

std::unique_ptr<TGraphic> TGraphic::Construct(TGraphicClass cls) {
    if (!cls || !cls->create) throw EInvalidGraphicOperation(ErrorText::AbstractGraphic);
    return std::unique_ptr<TGraphic>(cls->create());
}

std::unique_ptr<TGraphic> TGraphic::NewOfSameClass() const { return Construct(ClassType()); }

void TGraphic::AssignError(const TGraphic* source) const {
    const char* sourceName = source ? source->ClassName() : "nil";
    throw EConvertError(Format(ErrorText::AssignError, sourceName, ClassName()));
}

void TGraphic::Assign(const TGraphic* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(source);
}

void TGraphic::AssignTo(TGraphic* target) const { target->AssignError(this); }

bool TGraphic::Equals(const TGraphic* other) const {
    if (!other || other->ClassType() != ClassType()) return false;
    if (Empty() || other->Empty()) return Empty() == other->Empty();
    TMemoryStream mine, theirs;
    WriteData(mine);
    other->WriteData(theirs);
    return mine.Bytes() == theirs.Bytes();
}

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::ReadData(TStream& stream) { LoadFromStream(stream); }

void TGraphic::WriteData(TStream& stream) const { SaveToStream(stream); }

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, TFileMode::OpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
    SaveFileSafely(fileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
    throw EInvalidGraphic(ErrorText::UnsupportedClipboardFormat);
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) const {
    throw EInvalidGraphic(ErrorText::UnsupportedClipboardFormat);
}

void TGraphic::SetModified(bool modified) {
    if (modified) {
        Changed();
    } else {
        modified_ = false;
    }
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::Progress(TProgressStage stage, uint8_t percent, bool redrawNow, const RECT& rect,
                        const std::string& message) {
    if (OnProgress) OnProgress(this, stage, percent, redrawNow, rect, message);
}

int SystemIconWidth() { return GetSystemMetrics(SM_CXICON); }
int SystemIconHeight() { return GetSystemMetrics(SM_CYICON); }
