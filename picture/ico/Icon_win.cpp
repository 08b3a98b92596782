#include "picture/ico/Icon_win.h"

#include <cstring>

#include "picture/bmp/BitmapImage_win.h"
#include "picture/ico/IconDirectory.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/ScreenDevice_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TIcon, TGraphic)

namespace {

// Draws DIB rows into a new bitmap of the icon's size (`mono`: a 1-bit bitmap).
HBITMAP BitmapFromRows(const TDibFormat& format, uint32_t width, uint32_t height, const std::vector<uint8_t>& rows,
                       int targetWidth, int targetHeight, bool mono) {
    TBitmapHandle bitmap(mono ? CreateBitmap(targetWidth, targetHeight, 1, 1, nullptr)
                              : CreateScreenBitmap(targetWidth, targetHeight));
    if (!bitmap) throw EOutOfResources(ErrorText::OutOfResources);
    std::vector<uint8_t> info = MakeBitmapInfo(format, static_cast<int>(width), static_cast<int>(height));
    TMemoryDC dc;
    TSelection selection(dc.Get(), bitmap.Get());
    SetStretchBltMode(dc.Get(), COLORONCOLOR);
    StretchDIBits(dc.Get(), 0, 0, targetWidth, targetHeight, 0, 0, static_cast<int>(width),
                  static_cast<int>(height), rows.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                  DIB_RGB_COLORS, SRCCOPY);
    return bitmap.Release();
}

HICON CreateIconFromImage(const TIconImage& image, int width, int height) {
    TBitmapHandle color(BitmapFromRows(image.format, image.width, image.height, image.colorBits, width, height, false));
    TBitmapHandle mask(BitmapFromRows(DibFormatFor(pf1bit), image.width, image.height, image.maskBits, width,
                                      height, true));
    ICONINFO info = {TRUE, 0, 0, mask.Get(), color.Get()};
    HICON icon = CreateIconIndirect(&info);
    if (!icon) throw EInvalidGraphic(ErrorText::InvalidIcon);
    return icon;
}

// The DIB rows of a bitmap handle at `format`'s depth (colour table filled in by GDI).
std::vector<uint8_t> RowsOf(HBITMAP bitmap, int width, int height, TDibFormat& format) {
    std::vector<uint8_t> info = MakeBitmapInfo(format, width, height);
    info.resize(40 + 256 * 4);
    std::vector<uint8_t> rows(*DibImageBytes(width, height, format.bitCount));
    TMemoryDC dc;
    if (!GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), rows.data(),
                   reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
        throw EInvalidGraphic(ErrorText::InvalidIcon);
    if (format.bitCount <= 8) std::memcpy(format.colors.data(), info.data() + 40, format.colors.size() * 4);
    return rows;
}

}  // namespace

TIconImage IconImageOf(HICON handle) {
    ICONINFO info = {};
    if (!GetIconInfo(handle, &info)) throw EInvalidGraphic(ErrorText::InvalidIcon);
    TBitmapHandle color(info.hbmColor), mask(info.hbmMask);
    if (!color) throw EInvalidGraphic(ErrorText::InvalidIcon);
    BITMAP description = {};
    GetObjectW(color.Get(), sizeof description, &description);
    int depth = description.bmBitsPixel * description.bmPlanes;
    TIconImage image;
    image.format = DibFormatFor(depth <= 1 ? pf1bit : depth <= 4 ? pf4bit : depth <= 8 ? pf8bit
                                                   : depth <= 24                  ? pf24bit
                                                                                  : pf32bit);
    image.width = static_cast<uint32_t>(description.bmWidth);
    image.height = static_cast<uint32_t>(description.bmHeight);
    image.colorBits = RowsOf(color.Get(), description.bmWidth, description.bmHeight, image.format);
    TDibFormat maskFormat = DibFormatFor(pf1bit);
    image.maskBits = RowsOf(mask.Get(), description.bmWidth, description.bmHeight, maskFormat);
    return image;
}

namespace {

// A one-image icon file from an icon handle, at the colour bitmap's own depth.
std::vector<uint8_t> IconFileFromHandle(HICON handle) { return WriteIconFile(IconImageOf(handle)); }

}  // namespace

TIcon::TIcon() : image_(std::make_shared<TIconData>()) {}

TIcon::~TIcon() = default;

void TIcon::NewImage(std::shared_ptr<TIconData> image) { image_ = std::move(image); }

void TIcon::Assign(const TGraphic* source) {
    if (source == this) return;
    if (!source) {
        NewImage(std::make_shared<TIconData>());
        Changed();
        return;
    }
    if (source->InheritsFrom(TIcon::StaticClass())) {
        NewImage(static_cast<const TIcon*>(source)->image_);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

bool TIcon::Empty() const { return !image_->handle && image_->memory.empty(); }

bool TIcon::HandleAllocated() const { return static_cast<bool>(image_->handle); }

int TIcon::Width() const { return image_->width ? image_->width : SystemIconWidth(); }

int TIcon::Height() const { return image_->height ? image_->height : SystemIconHeight(); }

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(ErrorText::IconSizeChange); }

void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(ErrorText::IconSizeChange); }

void TIcon::HandleNeeded() const {
    TIconData& image = *image_;
    if (image.handle || image.memory.empty()) return;
    TIconDirectory directory = ReadIconDirectory(image.memory.data(), image.memory.size());
    if (directory.type == 0) {
        image.handle.Reset(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
        return;
    }
    size_t chosen = ChooseIconEntry(directory.entries, SystemIconWidth(), SystemIconHeight(),
                                    DisplayColorLimit(ScreenColorDepth()));
    const TIconDirEntry& entry = directory.entries[chosen];
    TIconImage decoded = ReadIconImage(image.memory.data(), image.memory.size(), entry);
    image.handle.Reset(CreateIconFromImage(decoded, entry.Width(), entry.Height()));
    image.width = entry.Width();
    image.height = entry.Height();
}

HICON TIcon::Handle() const {
    HandleNeeded();
    return image_->handle.Get();
}

void TIcon::SetHandle(HICON handle) {
    auto image = std::make_shared<TIconData>();
    image->handle.Reset(handle);
    NewImage(std::move(image));
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HandleNeeded();
    HICON handle = image_.use_count() > 1 ? CopyIcon(image_->handle.Get()) : image_->handle.Release();
    NewImage(std::make_shared<TIconData>());
    return handle;
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) {
    HICON handle = Handle();
    if (!handle) return;
    DrawIconEx(canvas.Handle(), rect.left, rect.top, handle, Width(), Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes = stream.ReadRemaining();
    TIconDirectory directory = ReadIconDirectory(bytes.data(), bytes.size());
    if (directory.type == 1) {
        // Refuse now what could not be shown later, so a failed load changes nothing.
        size_t chosen = ChooseIconEntry(directory.entries, SystemIconWidth(), SystemIconHeight(),
                                        DisplayColorLimit(ScreenColorDepth()));
        ReadIconImage(bytes.data(), bytes.size(), directory.entries[chosen]);
    }
    auto image = std::make_shared<TIconData>();
    image->memory = std::move(bytes);
    NewImage(std::move(image));
    Changed();
}

void TIcon::SaveToStream(TStream& stream) const {
    if (!image_->memory.empty()) {
        stream.WriteBuffer(image_->memory.data(), image_->memory.size());
    } else if (image_->handle) {
        std::vector<uint8_t> file = IconFileFromHandle(image_->handle.Get());
        stream.WriteBuffer(file.data(), file.size());
    }
}
