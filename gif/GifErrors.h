#pragma once
// Errors and fixed texts of the GIF codec. Every GIF format or consistency error is a
// GIFException; warnings and progress go to the image's hooks with the texts below.
#include "toolkit/Exceptions.h"

TERVANE_DECLARE_EXCEPTION(GIFException, Exception);
// Raised when the pixel memory of a reduced bitmap cannot be had.
TERVANE_DECLARE_EXCEPTION(EOutOfMemory, Exception);

namespace GifText {
// Writing and colour reduction.
inline constexpr const char* UnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* ColorNotInTable = "Color not in color table";
inline constexpr const char* ColorTableOverflow = "Color table overflow";
inline constexpr const char* InvalidDimensions = "Invalid image dimensions";
inline constexpr const char* UnsupportedPixelFormat = "Unsupported PixelFormat";
inline constexpr const char* WidthTooSmall = "Image width too small for contained frames";
inline constexpr const char* HeightTooSmall = "Image height too small for contained frames";
inline constexpr const char* ExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* DibAllocFailed = "Failed to allocate memory for GIF DIB";
inline constexpr const char* NoDib = "Image has no DIB";
// Reading and rendering.
inline constexpr const char* InvalidSignature = "Invalid GIF signature";
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* UnknownExtension = "Unknown extension type";
inline constexpr const char* InvalidIntroducer = "Invalid extension introducer";
inline constexpr const char* ExtensionMismatch = "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* BadAppBlockSize = "Unsupported Application Extension block size";
inline constexpr const char* InvalidData = "Invalid GIF data";
inline constexpr const char* CircularEntry = "Circular decoder table entry";
inline constexpr const char* NoColorTable = "No global or local color table defined";
inline constexpr const char* UnknownBlock = "Unknown GIF block type";
inline constexpr const char* InvalidTrailer = "Invalid Image trailer";
inline constexpr const char* BitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* InvalidColorIndex = "Invalid color index";
// Progress messages.
inline constexpr const char* Converting = "Converting...";
inline constexpr const char* Saving = "Saving...";
inline constexpr const char* Loading = "Loading...";
inline constexpr const char* Rendering = "Rendering...";
inline constexpr const char* Copying = "Copying...";
}  // namespace GifText
