#pragma once
// Which extension class reads a block: by its label, and for application extensions by their
// identifier. Built on first use.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "gif/codec/GifExtensions.h"

class ByteReader;
class TGIFImageModel;
class TGIFSubImage;

class TGIFExtensionRegistry {
public:
    using Factory = std::unique_ptr<TGIFExtension> (*)(TGIFImageModel* image, TGIFSubImage* frame);
    static constexpr size_t IdentifierSize = 11;

    static const TGIFExtensionRegistry& Instance();

    // nullptr when the label or identifier is not registered.
    Factory ForLabel(uint8_t label) const;
    // An 11-byte identifier with its authentication code; unknown ones get the raw keeper.
    Factory ForIdentifier(const char* identifier) const;

    // Creates the extension for the block at the reader's position (its introducer), without
    // moving the reader. Raises "Unknown extension type" for an unregistered label.
    std::unique_ptr<TGIFExtension> CreateFor(const ByteReader& at, TGIFImageModel* image, TGIFSubImage* frame) const;

private:
    TGIFExtensionRegistry();

    std::map<uint8_t, Factory> labels_;
    std::map<std::string, Factory> identifiers_;
};
