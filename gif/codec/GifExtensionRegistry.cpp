#include "gif/codec/GifExtensionRegistry.h"

#include "base/ByteReader.h"
#include "base/Exceptions.h"

namespace {

template <typename Extension>
std::unique_ptr<TGIFExtension> Make(TGIFImageModel* image, TGIFSubImage* frame) {
    return std::make_unique<Extension>(image, frame);
}

}  // namespace

const TGIFExtensionRegistry& TGIFExtensionRegistry::Instance() {
    static const TGIFExtensionRegistry registry;
    return registry;
}

TGIFExtensionRegistry::TGIFExtensionRegistry()
    : labels_{{TGIFTextExtension::ExtensionLabel, &Make<TGIFTextExtension>},
              {TGIFGraphicControlExtension::ExtensionLabel, &Make<TGIFGraphicControlExtension>},
              {TGIFCommentExtension::ExtensionLabel, &Make<TGIFCommentExtension>},
              {TGIFApplicationExtension::ExtensionLabel, &Make<TGIFApplicationExtension>}},
      identifiers_{{"NETSCAPE2.0", &Make<TGIFAppExtNSLoop>}, {"ANIMEXTS1.0", &Make<TGIFAppExtNSLoop>}} {}

TGIFExtensionRegistry::Factory TGIFExtensionRegistry::ForLabel(uint8_t label) const {
    auto found = labels_.find(label);
    return found == labels_.end() ? nullptr : found->second;
}

TGIFExtensionRegistry::Factory TGIFExtensionRegistry::ForIdentifier(const char* identifier) const {
    auto found = identifiers_.find(std::string(identifier, IdentifierSize));
    return found == identifiers_.end() ? &Make<TGIFUnknownAppExtension> : found->second;
}

std::unique_ptr<TGIFExtension> TGIFExtensionRegistry::CreateFor(const ByteReader& at, TGIFImageModel* image,
                                                              TGIFSubImage* frame) const {
    ByteReader look = at;
    look.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    const uint8_t label = look.ReadU8<GIFException>(ErrorText::GifPrematureEnd);
    Factory factory = ForLabel(label);
    if (!factory) throw GIFException(ErrorText::GifUnknownExtension);
    if (label == TGIFApplicationExtension::ExtensionLabel && !look.AtEnd()) {
        const uint8_t blockSize = look.ReadU8();
        if (blockSize == IdentifierSize && look.Has(IdentifierSize))
            factory = ForIdentifier(reinterpret_cast<const char*>(look.Current()));
        else if (blockSize == 10 || blockSize > IdentifierSize)
            factory = &Make<TGIFUnknownAppExtension>;  // their data is kept raw and written back
    }
    return factory(image, frame);
}
