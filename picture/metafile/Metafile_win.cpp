#include "picture/metafile/Metafile_win.h"

#include <vector>

#include "base/ByteReader.h"
#include "base/FileStream.h"
#include "picture/graphic/FileFormatsList.h"
#include "picture/metafile/MetafileFormat.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TMetafile, TGraphic)

namespace {

constexpr int kHundredthsOfMmPerInch = 2540;

int ScreenDpi(int index) {
    int dpi = GetDeviceCaps(MeasuringDC(), index);
    return dpi > 0 ? dpi : 96;
}

HENHMETAFILE EnhancedFromWindows(const uint8_t* bits, size_t length, const TMetafileInfo& info, int& mmWidth,
                                 int& mmHeight) {
    METAFILEPICT picture = {MM_ANISOTROPIC, 0, 0, nullptr};
    bool placeable = info.kind == TMetafileKind::Placeable;
    if (placeable) {
        mmWidth = MulDiv(info.right - info.left, kHundredthsOfMmPerInch, info.unitsPerInch);
        mmHeight = MulDiv(info.bottom - info.top, kHundredthsOfMmPerInch, info.unitsPerInch);
        picture.xExt = mmWidth;
        picture.yExt = mmHeight;
    }
    TWindowDC screen;
    return SetWinMetaFileBits(static_cast<UINT>(length), bits, screen.Get(), placeable ? &picture : nullptr);
}

}  // namespace

TMetafile::TMetafileData::~TMetafileData() {
    if (handle) DeleteEnhMetaFile(handle);
}

TMetafile::TMetafile() : data_(std::make_shared<TMetafileData>()) {}

TMetafile::~TMetafile() = default;

void TMetafile::Assign(const TGraphic* source) {
    if (source == this) return;
    if (!source) {
        data_ = std::make_shared<TMetafileData>();
        Changed();
        return;
    }
    if (source->InheritsFrom(TMetafile::StaticClass())) {
        const auto* other = static_cast<const TMetafile*>(source);
        data_ = other->data_;
        enhanced_ = other->enhanced_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

int TMetafile::Width() const { return MulDiv(data_->mmWidth, ScreenDpi(LOGPIXELSX), kHundredthsOfMmPerInch); }

int TMetafile::Height() const { return MulDiv(data_->mmHeight, ScreenDpi(LOGPIXELSY), kHundredthsOfMmPerInch); }

void TMetafile::SetWidth(int width) {
    SetFrame(MulDiv(width, kHundredthsOfMmPerInch, ScreenDpi(LOGPIXELSX)), data_->mmHeight);
}

void TMetafile::SetHeight(int height) {
    SetFrame(data_->mmWidth, MulDiv(height, kHundredthsOfMmPerInch, ScreenDpi(LOGPIXELSY)));
}

void TMetafile::SetFrame(int mmWidth, int mmHeight) {
    if (mmWidth == data_->mmWidth && mmHeight == data_->mmHeight) return;
    auto copy = std::make_shared<TMetafileData>();
    copy->handle = data_->handle ? CopyEnhMetaFileW(data_->handle, nullptr) : nullptr;
    copy->mmWidth = mmWidth;
    copy->mmHeight = mmHeight;
    data_ = std::move(copy);
    Changed();
}

void TMetafile::SetHandle(HENHMETAFILE handle) {
    auto data = std::make_shared<TMetafileData>();
    data->handle = handle;
    if (handle) {
        ENHMETAHEADER header = {};
        GetEnhMetaFileHeader(handle, sizeof header, &header);
        data->mmWidth = header.rclFrame.right - header.rclFrame.left;
        data->mmHeight = header.rclFrame.bottom - header.rclFrame.top;
    }
    data_ = std::move(data);
    Changed();
}

void TMetafile::Draw(TCanvas& canvas, const RECT& rect) {
    if (!data_->handle) return;
    PlayEnhMetaFile(canvas.Handle(), data_->handle, &rect);
}

void TMetafile::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    std::vector<uint8_t> bytes = stream.ReadRemaining();
    TMetafileInfo info = ReadMetafileInfo(bytes.data(), bytes.size());
    const uint8_t* bits = bytes.data() + info.offset;
    auto data = std::make_shared<TMetafileData>();
    if (info.kind == TMetafileKind::Enhanced) {
        data->handle = SetEnhMetaFileBits(static_cast<UINT>(info.length), bits);
        data->mmWidth = info.right - info.left;
        data->mmHeight = info.bottom - info.top;
    } else {
        data->handle = EnhancedFromWindows(bits, info.length, info, data->mmWidth, data->mmHeight);
    }
    if (!data->handle) throw EInvalidGraphic(ErrorText::InvalidMetafile);
    if (info.kind == TMetafileKind::Plain) {
        // A plain Windows metafile states no size: take the frame the conversion measured.
        ENHMETAHEADER header = {};
        GetEnhMetaFileHeader(data->handle, sizeof header, &header);
        data->mmWidth = header.rclFrame.right - header.rclFrame.left;
        data->mmHeight = header.rclFrame.bottom - header.rclFrame.top;
    }
    stream.SetPosition(start + static_cast<int64_t>(info.offset + info.length));
    data_ = std::move(data);
    enhanced_ = info.kind == TMetafileKind::Enhanced;
    Changed();
}

void TMetafile::SaveToStream(TStream& stream) const {
    if (!data_->handle) return;
    if (!enhanced_) {
        WriteWindowsMetafile(stream);
        return;
    }
    std::vector<uint8_t> bits(GetEnhMetaFileBits(data_->handle, 0, nullptr));
    GetEnhMetaFileBits(data_->handle, static_cast<UINT>(bits.size()), bits.data());
    stream.WriteBuffer(bits.data(), bits.size());
}

void TMetafile::WriteWindowsMetafile(TStream& stream) const {
    TWindowDC screen;
    UINT size = GetWinMetaFileBits(data_->handle, 0, nullptr, MM_ANISOTROPIC, screen.Get());
    std::vector<uint8_t> bits(size);
    if (!size || !GetWinMetaFileBits(data_->handle, size, bits.data(), MM_ANISOTROPIC, screen.Get()))
        throw EWriteError(ErrorText::StreamWrite);
    // The placeable preamble: bounds at 1440 units per inch and the XOR checksum of its words.
    const uint16_t inch = 1440;
    std::vector<uint8_t> preamble;
    PutU32LE(preamble, 0x9AC6CDD7);
    PutU16LE(preamble, 0);
    PutU16LE(preamble, 0);
    PutU16LE(preamble, 0);
    PutU16LE(preamble, static_cast<uint16_t>(MulDiv(data_->mmWidth, inch, kHundredthsOfMmPerInch)));
    PutU16LE(preamble, static_cast<uint16_t>(MulDiv(data_->mmHeight, inch, kHundredthsOfMmPerInch)));
    PutU16LE(preamble, inch);
    PutU32LE(preamble, 0);
    uint16_t checksum = 0;
    for (size_t i = 0; i < preamble.size(); i += 2) checksum ^= static_cast<uint16_t>(preamble[i] | (preamble[i + 1] << 8));
    PutU16LE(preamble, checksum);
    stream.WriteBuffer(preamble.data(), preamble.size());
    stream.WriteBuffer(bits.data(), bits.size());
}

void TMetafile::SaveToFile(const std::string& fileName) const {
    bool enhanced = LowerCaseAscii(PictureFileExtension(fileName)) != "wmf";
    SaveFileSafely(fileName, [&](TStream& stream) {
        TMetafile copy;
        copy.Assign(this);
        copy.SetEnhanced(enhanced);
        copy.SaveToStream(stream);
    });
}
