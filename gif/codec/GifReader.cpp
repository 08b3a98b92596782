#include "gif/codec/GifReader.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "gif/codec/GifBitReader.h"
#include "gif/codec/GifExtensionRegistry.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifLzwDecoder.h"

namespace {

constexpr uint8_t kTrailer = 0x3B;
constexpr size_t kSignatureSize = 6;    // "GIF" and the version
constexpr size_t kSignatureOffset = 4;  // where a signature after other data may begin
// What an extension object costs besides the bytes it keeps.
constexpr uint64_t kExtensionCost = 256;

// A read-only stream over bytes in memory, so that extension objects read themselves from
// the reader's data without a copy.
class TByteView : public TStream {
public:
    TByteView(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(void* buffer, size_t count) override {
        size_t n = std::min(count, size_ - std::min(pos_, size_));
        std::copy_n(data_ + pos_, n, static_cast<uint8_t*>(buffer));
        pos_ += n;
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
        int64_t base = origin == TSeekOrigin::Beginning ? 0 : origin == TSeekOrigin::Current ? int64_t(pos_) : int64_t(size_);
        pos_ = static_cast<size_t>(std::clamp<int64_t>(base + offset, 0, static_cast<int64_t>(size_)));
        return static_cast<int64_t>(pos_);
    }
    int64_t Size() override { return static_cast<int64_t>(size_); }
    void SetSize(int64_t) override { throw EWriteError(ErrorText::StreamWrite); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool SignatureAt(const uint8_t* data, size_t size, size_t offset) {
    if (size < offset + 3) return false;
    return std::toupper(data[offset]) == 'G' && std::toupper(data[offset + 1]) == 'I' &&
           std::toupper(data[offset + 2]) == 'F';
}

void SkipZeroBytes(ByteReader& in) {
    while (!in.AtEnd() && *in.Current() == 0) in.Skip(1);
}

uint8_t Peek(const ByteReader& in) { return *in.Current(); }

int ColorTableEntries(uint8_t packed) { return 2 << (packed & 7); }

void ReadColorTable(ByteReader& in, uint8_t packed, TGIFColorMap& map) {
    const int entries = ColorTableEntries(packed);
    const uint8_t* bytes = in.Skip<GIFException>(static_cast<size_t>(entries) * 3, ErrorText::GifPrematureEnd);
    std::vector<TGIFColor> colors(static_cast<size_t>(entries));
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = TGIFColor{bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]};
    map.Assign(colors.data(), entries);
}

void ScatterInterlacedRows(const std::vector<uint8_t>& linear, TGIFSubImage& frame) {
    std::vector<uint32_t> rows;
    InterlacedRowOrder(static_cast<uint32_t>(frame.Height()), rows);
    const size_t width = static_cast<size_t>(frame.Width());
    for (size_t i = 0; i < rows.size(); ++i)
        std::copy_n(linear.data() + i * width, width, frame.Data.data() + rows[i] * width);
}

}  // namespace

void InterlacedRowOrder(uint32_t height, std::vector<uint32_t>& rows) {
    static const uint32_t starts[] = {0, 4, 2, 1};
    static const uint32_t steps[] = {8, 8, 4, 2};
    rows.clear();
    rows.reserve(height);
    for (int pass = 0; pass < 4; ++pass)
        for (uint32_t row = starts[pass]; row < height; row += steps[pass]) rows.push_back(row);
}

TGifReader::TGifReader(TGIFImageModel& image, uint64_t memoryBudget)
    : image_(image),
      budget_(memoryBudget),
      decoder_(std::make_unique<TGifLzwDecoder>()),
      joiner_(std::make_unique<TGifSubBlockJoiner>()) {}

TGifReader::~TGifReader() = default;

void TGifReader::Charge(uint64_t bytes) {
    if (bytes > budget_) throw EOutOfMemory(ErrorText::OutOfMemory);
    budget_ -= bytes;
}

// Hands the rest of the stream to parse (which returns the bytes it used) and leaves the
// stream after them; on any error the stream goes back to where it was.
void TGifReader::ParseStream(TStream& stream, const BytesParser& parse) {
    const int64_t start = stream.Position();
    try {
        const uint64_t total = static_cast<uint64_t>(std::max<int64_t>(stream.Size(), 0));
        size_t used;
        if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
            // Parsed in place: a picture held in memory is not copied again.
            const size_t from = std::min(static_cast<size_t>(std::max<int64_t>(start, 0)), memory->Bytes().size());
            used = parse(memory->Memory() + from, memory->Bytes().size() - from, static_cast<uint64_t>(start), total);
        } else {
            std::vector<uint8_t> bytes = stream.ReadRemaining();
            used = parse(bytes.data(), bytes.size(), static_cast<uint64_t>(start), total);
        }
        stream.SetPosition(start + static_cast<int64_t>(used));
    } catch (const std::bad_alloc&) {
        stream.SetPosition(start);
        throw EOutOfMemory(ErrorText::OutOfMemory);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

void TGifReader::Load(TStream& stream) {
    ParseStream(stream, [this](const uint8_t* data, size_t size, uint64_t base, uint64_t total) {
        return Parse(data, size, base, total);
    });
}

void TGifReader::LoadHeader(TStream& stream) {
    ParseStream(stream, [this](const uint8_t* data, size_t size, uint64_t, uint64_t) {
        ByteReader in(data, size);
        ReadHeader(in);
        return in.Position();
    });
}

void TGifReader::LoadFrame(TStream& stream, TGIFSubImage& frame) {
    ParseStream(stream, [this, &frame](const uint8_t* data, size_t size, uint64_t, uint64_t) {
        ByteReader in(data, size);
        ReadFrame(in, frame);
        return in.Position();
    });
}

size_t TGifReader::Parse(const uint8_t* data, size_t size, uint64_t progressBase, uint64_t progressTotal) {
    ByteReader in(data, size);
    ReadHeader(in);
    if (progressTotal == 0) progressTotal = size;
    SkipZeroBytes(in);
    while (!in.AtEnd() && Peek(in) != kTrailer) {
        if (Peek(in) != TGIFExtension::Introducer && Peek(in) != TGIFSubImage::ImageSeparator) {
            image_.Warning(ErrorText::GifUnknownBlock);
            break;
        }
        Charge(sizeof(TGIFSubImage));
        auto frame = std::make_unique<TGIFSubImage>(&image_);
        ReadFrame(in, *frame);
        image_.Images.Add(std::move(frame));
        const uint64_t done = (progressBase + in.Position()) * 100 / progressTotal;
        image_.Progress(TGIFProgressStage::Running, static_cast<int>(done), GifProgressText::Loading);
        SkipZeroBytes(in);
    }
    if (!in.AtEnd() && in.ReadU8() != kTrailer) image_.Warning(ErrorText::GifInvalidTrailer);
    return in.Position();
}

void TGifReader::ReadHeader(ByteReader& in) {
    // Too few bytes for a signature is a cut-off file, not a foreign one.
    if (in.Remaining() < kSignatureSize) throw GIFException(ErrorText::GifPrematureEnd);
    if (!SignatureAt(in.Current(), in.Remaining(), 0)) {
        if (in.Remaining() < kSignatureOffset + kSignatureSize) throw GIFException(ErrorText::GifPrematureEnd);
        if (!SignatureAt(in.Current(), in.Remaining(), kSignatureOffset)) {
            throw GIFException(ErrorText::GifInvalidSignature);
        }
        in.Skip(kSignatureOffset);
    }
    in.Skip(kSignatureSize);  // signature and version; the version is not checked
    TGIFHeader& header = image_.Header;
    header.Clear();
    header.Descriptor.ScreenWidth = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    header.Descriptor.ScreenHeight = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    header.Descriptor.PackedFields = in.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    header.Descriptor.BackgroundColorIndex = in.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    header.Descriptor.AspectRatio = in.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    if (header.Descriptor.PackedFields & 0x80) ReadColorTable(in, header.Descriptor.PackedFields, header.ColorMap);
}

void TGifReader::ReadFrame(ByteReader& in, TGIFSubImage& frame) {
    frame.Clear();
    ReadExtensions(in, frame);
    if (in.AtEnd() || Peek(in) == kTrailer || Peek(in) == 0) return;  // a frame of extensions only
    ReadDescriptor(in, frame);
    if (frame.Descriptor.PackedFields & 0x80) ReadColorTable(in, frame.Descriptor.PackedFields, frame.ColorMap);
    DecodePixels(in, frame);
}

void TGifReader::ReadExtensions(ByteReader& in, TGIFSubImage& frame) {
    const auto& registry = TGIFExtensionRegistry::Instance();
    while (!in.AtEnd() && Peek(in) != TGIFSubImage::ImageSeparator && Peek(in) != kTrailer) {
        if (Peek(in) != TGIFExtension::Introducer) {
            image_.Warning(ErrorText::GifInvalidIntroducer);
            return;
        }
        std::unique_ptr<TGIFExtension> extension = registry.CreateFor(in, &image_, &frame);
        TByteView view(in.Current(), in.Remaining());
        extension->LoadFromStream(view);
        in.Skip(static_cast<size_t>(view.Position()));
        Charge(kExtensionCost + static_cast<uint64_t>(view.Position()));
        TGIFExtension& added = frame.Extensions.Add(std::move(extension));
        // Disposal, delay and transparency all come from the first one; later ones are kept
        // only to be written back.
        auto* control = dynamic_cast<TGIFGraphicControlExtension*>(&added);
        if (control && !frame.GraphicControlExtension) {
            frame.GraphicControlExtension = control;
            frame.Transparent = control->Transparent();
        }
    }
}

void TGifReader::ReadDescriptor(ByteReader& in, TGIFSubImage& frame) {
    in.Skip<GIFException>(1, ErrorText::GifPrematureEnd);  // the separator
    TGIFImageDescriptor& d = frame.Descriptor;
    d.Left = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    d.Top = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    d.Width = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    d.Height = in.ReadU16LE<GIFException>(ErrorText::GifPrematureEnd);
    d.PackedFields = in.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    if (d.Width == 0 || d.Height == 0) {
        d.Width = static_cast<uint16_t>(image_.Width());
        d.Height = static_cast<uint16_t>(image_.Height());
        image_.Warning(ErrorText::GifExceedsScreen);
    }
}

void TGifReader::DecodePixels(ByteReader& in, TGIFSubImage& frame) {
    const size_t count = static_cast<size_t>(frame.Width()) * static_cast<size_t>(frame.Height());
    const uint8_t fill =
        frame.Transparent && frame.GraphicControlExtension ? frame.GraphicControlExtension->TransparentColorIndex : 0;
    Charge(count);
    frame.Data.assign(count, fill);
    if (in.AtEnd()) return;
    const int minCodeSize = in.ReadU8();
    if (minCodeSize > TGifLzwDecoder::kMaxCodeSize) throw GIFException(ErrorText::GifInvalidData);
    TGifBitReader bits = joiner_->Start(in);
    TGifLzwStop stop;
    if (frame.Interlaced() && frame.Height() > 1) {
        Charge(count);
        std::vector<uint8_t> linear(count, fill);
        stop = decoder_->Decode(bits, minCodeSize, linear.data(), count, fill);
        ScatterInterlacedRows(linear, frame);
        budget_ += count;
    } else {
        stop = decoder_->Decode(bits, minCodeSize, frame.Data.data(), count, fill);
    }
    if (joiner_->Finish()) image_.Warning(ErrorText::GifPrematureEnd);
    if (stop == TGifLzwStop::OutOfData) image_.Warning(ErrorText::GifBitBufferUnderrun);
}

// ---- the object model's loading entry points ----

void TGIFImageModel::LoadFromStream(TStream& stream) {
    Clear();
    try {
        TGifReader(*this).Load(stream);
    } catch (...) {
        FramesChanged();
        throw;
    }
    FramesChanged();
}

void TGIFHeader::LoadFromStream(TStream& stream) { TGifReader(*Image()).LoadHeader(stream); }

void TGIFSubImage::LoadFromStream(TStream& stream) { TGifReader(*Image()).LoadFrame(stream, *this); }
