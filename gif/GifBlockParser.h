#pragma once
// Extension blocks: the registries that say which kind of extension a label (and, for
// application extensions, an identifier) stands for, and the loaders of each kind.
#include <cstdint>
#include <optional>

#include "gif/GifReadRecords.h"

class ByteReader;

class TGifWarningSink {
public:
    virtual ~TGifWarningSink() = default;
    virtual void Warning(const char* text) = 0;
};

class TGifExtensionRegistry {
public:
    // Built on first use.
    static const TGifExtensionRegistry& Instance();

    std::optional<TGifExtensionKind> KindForLabel(uint8_t label) const;
    // Exactly 11 bytes: identifier and authentication code.
    TGifExtensionKind KindForIdentifier(const char* identifier) const;
    static uint8_t LabelOf(TGifExtensionKind kind);

private:
    TGifExtensionRegistry() = default;
};

// Decides the kind of the extension at the reader's position (introducer 0x21 expected
// there) without moving it; raises "Unknown extension type" for an unregistered label.
TGifExtensionKind PeekExtensionKind(const ByteReader& in);

// Loads an extension of the given kind: introducer, label and body.
TGifExtensionRecord LoadExtension(ByteReader& in, TGifExtensionKind kind, TGifWarningSink& warnings);
