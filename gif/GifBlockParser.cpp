#include "gif/GifBlockParser.h"

#include <algorithm>
#include <cstring>

#include "gif/GifReaderTexts.h"
#include "toolkit/ByteReader.h"

namespace {

constexpr uint8_t kIntroducer = 0x21;
constexpr size_t kIdentifierSize = 11;

template <typename OnBlock>
void EachSubBlock(ByteReader& in, TGifWarningSink& warnings, OnBlock onBlock) {
    while (!in.AtEnd()) {
        size_t declared = in.ReadU8();
        if (declared == 0) return;
        size_t present = std::min(declared, in.Remaining());
        onBlock(in.Skip(present), present);
        if (present < declared) {
            warnings.Warning(GifReadText::PrematureEnd);
            return;
        }
    }
}

void LoadGraphicControl(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    uint8_t body[6] = {};
    size_t present = std::min<size_t>(sizeof body, in.Remaining());
    in.ReadBytes(body, present);
    if (present < sizeof body) warnings.Warning(GifReadText::PrematureEnd);
    ext.control.blockSize = body[0];
    ext.control.packed = body[1];
    ext.control.delay = static_cast<uint16_t>(body[2] | (body[3] << 8));
    ext.control.transparentIndex = body[4];
    ext.control.terminator = body[5];
}

void LoadLines(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    EachSubBlock(in, warnings, [&](const uint8_t* bytes, size_t size) {
        ext.lines.emplace_back(reinterpret_cast<const char*>(bytes), size);
    });
}

void LoadPlainText(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    in.ReadU8<TGifError>(GifReadText::PrematureEnd);  // block size, always 12
    in.ReadBytes<TGifError>(ext.textGrid.data(), ext.textGrid.size(), GifReadText::PrematureEnd);
    LoadLines(in, ext, warnings);
}

void LoadLoopData(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    EachSubBlock(in, warnings, [&](const uint8_t* bytes, size_t size) {
        switch (bytes[0] & 7) {
            case 1:
                if (size < 3) RaiseGifError(GifReadText::InvalidData);
                ext.loops = static_cast<uint16_t>(bytes[1] | (bytes[2] << 8));
                break;
            case 2:
                if (size < 5) RaiseGifError(GifReadText::InvalidData);
                ext.bufferSize = static_cast<uint32_t>(bytes[1]) | (static_cast<uint32_t>(bytes[2]) << 8) |
                                 (static_cast<uint32_t>(bytes[3]) << 16) | (static_cast<uint32_t>(bytes[4]) << 24);
                ext.hasBufferSize = true;
                break;
            default:
                break;
        }
    });
}

void LoadRawData(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    EachSubBlock(in, warnings,
                 [&](const uint8_t* bytes, size_t size) { ext.blocks.emplace_back(bytes, bytes + size); });
}

void LoadApplication(ByteReader& in, TGifExtensionRecord& ext, TGifWarningSink& warnings) {
    size_t blockSize = in.ReadU8<TGifError>(GifReadText::PrematureEnd);
    if (blockSize < kIdentifierSize && blockSize != 10) RaiseGifError(GifReadText::BadAppBlockSize);
    // A 10-byte block holds a 2-byte authentication code: read just that, so its data
    // sub-blocks are not read one byte out of step.
    const size_t authSize = blockSize == 10 ? 2 : ext.authentication.size();
    in.ReadBytes<TGifError>(ext.identifier.data(), ext.identifier.size(), GifReadText::PrematureEnd);
    in.ReadBytes<TGifError>(ext.authentication.data(), authSize, GifReadText::PrematureEnd);
    if (blockSize > kIdentifierSize) in.Skip<TGifError>(blockSize - kIdentifierSize, GifReadText::PrematureEnd);
    if (ext.kind == TGifExtensionKind::Loop)
        LoadLoopData(in, ext, warnings);
    else
        LoadRawData(in, ext, warnings);  // unknown identifiers and over-long identifier blocks alike
}

}  // namespace

uint8_t TGifExtensionRecord::Label() const { return TGifExtensionRegistry::LabelOf(kind); }

std::string TGifExtensionRecord::IdentifierText() const {
    return std::string(identifier.data(), identifier.size()) + std::string(authentication.data(), authentication.size());
}

const TGifExtensionRegistry& TGifExtensionRegistry::Instance() {
    static const TGifExtensionRegistry registry;
    return registry;
}

std::optional<TGifExtensionKind> TGifExtensionRegistry::KindForLabel(uint8_t label) const {
    switch (label) {
        case 0x01: return TGifExtensionKind::PlainText;
        case 0xF9: return TGifExtensionKind::GraphicControl;
        case 0xFE: return TGifExtensionKind::Comment;
        case 0xFF: return TGifExtensionKind::Application;
        default: return std::nullopt;
    }
}

TGifExtensionKind TGifExtensionRegistry::KindForIdentifier(const char* identifier) const {
    static const char* const loopIdentifiers[] = {"NETSCAPE2.0", "ANIMEXTS1.0"};
    for (const char* known : loopIdentifiers)
        if (std::memcmp(identifier, known, kIdentifierSize) == 0) return TGifExtensionKind::Loop;
    return TGifExtensionKind::UnknownApplication;
}

uint8_t TGifExtensionRegistry::LabelOf(TGifExtensionKind kind) {
    switch (kind) {
        case TGifExtensionKind::PlainText: return 0x01;
        case TGifExtensionKind::GraphicControl: return 0xF9;
        case TGifExtensionKind::Comment: return 0xFE;
        default: return 0xFF;
    }
}

TGifExtensionKind PeekExtensionKind(const ByteReader& in) {
    ByteReader look = in;
    look.ReadU8<TGifError>(GifReadText::PrematureEnd);
    const auto& registry = TGifExtensionRegistry::Instance();
    auto kind = registry.KindForLabel(look.ReadU8<TGifError>(GifReadText::PrematureEnd));
    if (!kind) RaiseGifError(GifReadText::UnknownExtension);
    if (*kind != TGifExtensionKind::Application || look.AtEnd()) return *kind;
    uint8_t blockSize = look.ReadU8();
    if (blockSize == 10) return TGifExtensionKind::UnknownApplication;
    if (blockSize != kIdentifierSize || !look.Has(kIdentifierSize)) return *kind;
    return registry.KindForIdentifier(reinterpret_cast<const char*>(look.Current()));
}

TGifExtensionRecord LoadExtension(ByteReader& in, TGifExtensionKind kind, TGifWarningSink& warnings) {
    if (in.ReadU8<TGifError>(GifReadText::PrematureEnd) != kIntroducer) RaiseGifError(GifReadText::BadIntroducer);
    if (in.ReadU8<TGifError>(GifReadText::PrematureEnd) != TGifExtensionRegistry::LabelOf(kind))
        RaiseGifError(GifReadText::LabelMismatch);
    TGifExtensionRecord ext;
    ext.kind = kind;
    switch (kind) {
        case TGifExtensionKind::GraphicControl: LoadGraphicControl(in, ext, warnings); break;
        case TGifExtensionKind::Comment: LoadLines(in, ext, warnings); break;
        case TGifExtensionKind::PlainText: LoadPlainText(in, ext, warnings); break;
        default: LoadApplication(in, ext, warnings); break;
    }
    return ext;
}
