#include "gif/GifReader.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <vector>

#include "gif/GifBitReader.h"
#include "gif/GifLzwDecoder.h"
#include "gif/GifReaderTexts.h"
#include "toolkit/ByteReader.h"
#include "toolkit/Streams.h"

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

bool SignatureAt(const uint8_t* data, size_t size, size_t offset) {
    if (size < offset + 3) return false;
    return std::toupper(data[offset]) == 'G' && std::toupper(data[offset + 1]) == 'I' &&
           std::toupper(data[offset + 2]) == 'F';
}

void SkipZeroBytes(ByteReader& in) {
    while (!in.AtEnd() && *in.Current() == 0) in.Skip(1);
}

uint8_t Peek(const ByteReader& in) { return *in.Current(); }

size_t ColorTableEntries(uint8_t packed) { return size_t{2} << (packed & 7); }

void ScatterInterlacedRows(const std::vector<uint8_t>& linear, TGifFrameRecord& frame) {
    std::vector<uint32_t> rows;
    InterlacedRowOrder(frame.height, rows);
    const size_t width = frame.width;
    for (size_t i = 0; i < rows.size(); ++i)
        std::copy_n(linear.data() + i * width, width, frame.pixels.data() + rows[i] * width);
}

}  // namespace

TGifColorTable ReadColorTable(ByteReader& in, size_t entries) {
    const uint8_t* bytes = in.Skip<TGifError>(entries * 3, GifReadText::PrematureEnd);
    TGifColorTable table(entries);
    for (size_t i = 0; i < entries; ++i) table[i] = TGifColor{bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]};
    return table;
}

void InterlacedRowOrder(uint32_t height, std::vector<uint32_t>& rows) {
    static const uint32_t starts[] = {0, 4, 2, 1};
    static const uint32_t steps[] = {8, 8, 4, 2};
    rows.clear();
    rows.reserve(height);
    for (int pass = 0; pass < 4; ++pass)
        for (uint32_t row = starts[pass]; row < height; row += steps[pass]) rows.push_back(row);
}

TGifReader::TGifReader(TGifReadListener& listener, uint64_t memoryBudget)
    : listener_(listener),
      budget_(memoryBudget),
      decoder_(std::make_unique<TGifLzwDecoder>()),
      gathered_(std::make_unique<TGifGatheredData>()) {}

TGifReader::~TGifReader() = default;

void TGifReader::Charge(uint64_t bytes) {
    if (bytes > budget_) RaiseGifError(GifReadText::OutOfMemory);
    budget_ -= bytes;
}

void TGifReader::Load(TStream& stream) {
    const int64_t start = stream.Position();
    try {
        const uint64_t total = static_cast<uint64_t>(std::max<int64_t>(stream.Size(), 0));
        std::vector<uint8_t> bytes = stream.ReadRemaining();
        size_t used = Parse(bytes.data(), bytes.size(), static_cast<uint64_t>(start), total);
        stream.SetPosition(start + static_cast<int64_t>(used));
    } catch (const std::bad_alloc&) {
        stream.SetPosition(start);
        RaiseGifError(GifReadText::OutOfMemory);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

size_t TGifReader::Parse(const uint8_t* data, size_t size, uint64_t progressBase, uint64_t progressTotal) {
    ByteReader in(data, size);
    if (!SignatureAt(data, size, 0)) {
        if (!SignatureAt(data, size, 4)) RaiseGifError(GifReadText::InvalidSignature);
        in.SeekTo(4);
    }
    ReadHeader(in);
    if (progressTotal == 0) progressTotal = size;
    SkipZeroBytes(in);
    while (!in.AtEnd() && Peek(in) != kTrailer) {
        if (Peek(in) != kExtensionIntroducer && Peek(in) != kImageSeparator) {
            listener_.Warning(GifReadText::UnknownBlock);
            break;
        }
        TGifFrameRecord frame;
        Charge(sizeof frame);
        ReadFrame(in, frame);
        listener_.Frame(frame);
        listener_.Progress(static_cast<int>((progressBase + in.Position()) * 100 / progressTotal));
        SkipZeroBytes(in);
    }
    if (!in.AtEnd() && in.ReadU8() != kTrailer) listener_.Warning(GifReadText::BadTrailer);
    return in.Position();
}

void TGifReader::ReadHeader(ByteReader& in) {
    in.Skip<TGifError>(6, GifReadText::PrematureEnd);  // signature and version, not checked
    screen_ = TGifScreenRecord{};
    screen_.width = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    screen_.height = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    screen_.packed = in.ReadU8<TGifError>(GifReadText::PrematureEnd);
    screen_.background = in.ReadU8<TGifError>(GifReadText::PrematureEnd);
    screen_.aspect = in.ReadU8<TGifError>(GifReadText::PrematureEnd);
    if (screen_.packed & 0x80) screen_.globalMap = ReadColorTable(in, ColorTableEntries(screen_.packed));
    listener_.Screen(screen_);
}

void TGifReader::ReadFrame(ByteReader& in, TGifFrameRecord& frame) {
    ReadExtensions(in, frame);
    if (in.AtEnd() || Peek(in) == kTrailer || Peek(in) == 0) return;  // a frame of extensions only
    ReadDescriptor(in, frame);
    if (frame.HasLocalMap()) frame.localMap = ReadColorTable(in, ColorTableEntries(frame.packed));
    DecodePixels(in, frame);
}

void TGifReader::ReadExtensions(ByteReader& in, TGifFrameRecord& frame) {
    while (!in.AtEnd() && Peek(in) != kImageSeparator && Peek(in) != kTrailer) {
        if (Peek(in) != kExtensionIntroducer) {
            listener_.Warning(GifReadText::BadIntroducer);
            return;
        }
        Charge(sizeof(TGifExtensionRecord));
        const size_t before = in.Position();
        frame.extensions.push_back(LoadExtension(in, PeekExtensionKind(in), listener_));
        Charge(in.Position() - before);  // the lines and raw blocks it keeps
        const TGifExtensionRecord& ext = frame.extensions.back();
        if (ext.kind != TGifExtensionKind::GraphicControl) continue;
        if (ext.control.Transparent()) frame.transparent = true;
        if (frame.controlIndex < 0) frame.controlIndex = static_cast<int>(frame.extensions.size() - 1);
    }
}

void TGifReader::ReadDescriptor(ByteReader& in, TGifFrameRecord& frame) {
    in.Skip<TGifError>(1, GifReadText::PrematureEnd);  // the separator
    frame.hasImage = true;
    frame.left = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    frame.top = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    frame.width = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    frame.height = in.ReadU16LE<TGifError>(GifReadText::PrematureEnd);
    frame.packed = in.ReadU8<TGifError>(GifReadText::PrematureEnd);
    if (frame.width == 0 || frame.height == 0) {
        frame.width = screen_.width;
        frame.height = screen_.height;
        listener_.Warning(GifReadText::ExceedsScreen);
    }
}

void TGifReader::DecodePixels(ByteReader& in, TGifFrameRecord& frame) {
    const size_t count = size_t{frame.width} * frame.height;
    const uint8_t fill = frame.TransparentIndex();
    Charge(count);
    frame.pixels.assign(count, fill);
    if (in.AtEnd()) return;
    const int minCodeSize = in.ReadU8();
    if (minCodeSize > TGifLzwDecoder::kMaxCodeSize) RaiseGifError(GifReadText::InvalidData);
    GatherSubBlocks(in, *gathered_);
    if (gathered_->truncated) listener_.Warning(GifReadText::PrematureEnd);
    TGifBitReader bits(*gathered_);
    TGifLzwStop stop;
    if (frame.Interlaced() && frame.height > 1) {
        Charge(count);
        std::vector<uint8_t> linear(count, fill);
        stop = decoder_->Decode(bits, minCodeSize, linear.data(), count, fill);
        ScatterInterlacedRows(linear, frame);
        budget_ += count;
    } else {
        stop = decoder_->Decode(bits, minCodeSize, frame.pixels.data(), count, fill);
    }
    if (stop == TGifLzwStop::OutOfData) listener_.Warning(GifReadText::BitBufferUnderrun);
}
