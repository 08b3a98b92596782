#pragma once
// The reader's fixed texts (errors end loading, warnings go to the warning hook) and the one
// place that turns an error text into the codec's exception.
#include "toolkit/Exceptions.h"

namespace GifReadText {
// Errors.
inline constexpr const char* InvalidSignature = "Invalid GIF signature";
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* UnknownExtension = "Unknown extension type";
inline constexpr const char* BadIntroducer = "Invalid extension introducer";
inline constexpr const char* LabelMismatch = "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* BadAppBlockSize = "Unsupported Application Extension block size";
inline constexpr const char* InvalidData = "Invalid GIF data";
inline constexpr const char* CircularEntry = "Circular decoder table entry";
inline constexpr const char* NoColorTable = "No global or local color table defined";
inline constexpr const char* OutOfMemory = "Out of memory";
// Warnings.
inline constexpr const char* UnknownBlock = "Unknown GIF block type";
inline constexpr const char* BadTrailer = "Invalid Image trailer";
inline constexpr const char* ExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* BitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* InvalidColorIndex = "Invalid color index";
// Progress captions.
inline constexpr const char* Loading = "Loading...";
inline constexpr const char* Rendering = "Rendering...";
inline constexpr const char* Copying = "Copying...";
}  // namespace GifReadText

// Raises the codec's exception with one of the texts above.
[[noreturn]] void RaiseGifError(const char* text);

// Lets the bounds-checked byte reader report a short read as the codec's error:
// in.ReadU8<TGifError>(GifReadText::PrematureEnd).
struct TGifError {
    explicit TGifError(const char* text) { RaiseGifError(text); }
};
