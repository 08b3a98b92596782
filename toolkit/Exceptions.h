#pragma once
// The program's exception classes, each beside the table of its fixed English messages; the
// default error display shows Message() as it is. Parsers raise these, callers catch them.
// Plain C++ only, so that every byte-level unit may include it.
#include <stdexcept>
#include <string>

// printf-style formatting into a std::string, for the texts below.
std::string Format(const char* pattern, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Declares an exception class that adds nothing but its type to its base.
#define TERVANE_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {                \
    public:                                   \
        using Base::Base;                     \
    }

// ---- streams, files, conversions, system resources ----
TERVANE_DECLARE_EXCEPTION(EStreamError, Exception);
TERVANE_DECLARE_EXCEPTION(EReadError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EWriteError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
TERVANE_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
TERVANE_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
TERVANE_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
TERVANE_DECLARE_EXCEPTION(EConvertError, Exception);
TERVANE_DECLARE_EXCEPTION(EOutOfResources, Exception);
TERVANE_DECLARE_EXCEPTION(EInvalidOperation, Exception);
TERVANE_DECLARE_EXCEPTION(EListError, Exception);
TERVANE_DECLARE_EXCEPTION(EResNotFound, Exception);
// A file system call failed; the message carries the system's error code.
TERVANE_DECLARE_EXCEPTION(EInOutError, Exception);
TERVANE_DECLARE_EXCEPTION(EThread, Exception);
// Ends an operation silently: the default error display shows nothing for it.
TERVANE_DECLARE_EXCEPTION(EAbort, Exception);

namespace ErrorText {
inline constexpr const char* StreamRead = "Stream read error";
inline constexpr const char* StreamWrite = "Stream write error";
inline constexpr const char* FOpen = "Cannot open file \"%s\". %s";
inline constexpr const char* FCreate = "Cannot create file \"%s\". %s";
inline constexpr const char* InvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* InvalidIcon = "Icon image is not valid";
inline constexpr const char* InvalidMetafile = "Metafile is not valid";
inline constexpr const char* UnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* AssignError = "Cannot assign a %s to a %s";
inline constexpr const char* InOut = "I/O error %lu";
inline constexpr const char* ThreadCreation = "Thread creation error";
// The JPEG object's errors.
inline constexpr const char* JpegError = "JPEG error #%d";
inline constexpr const char* JpegSizeChange = "Cannot change the size of a JPEG image";
// The skin store's.
inline constexpr const char* SkinNameInUse = "The name %s is already used.";
}  // namespace ErrorText

// ---- the JPEG object: every failure inside libjpeg, with libjpeg's message code ----
class EJPEG : public EInvalidGraphic {
public:
    explicit EJPEG(int messageCode)
        : EInvalidGraphic(Format(ErrorText::JpegError, messageCode)), messageCode_(messageCode) {}
    int MessageCode() const { return messageCode_; }

private:
    int messageCode_;
};

// ---- the GIF codec: every format or consistency error is a GIFException ----
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
}  // namespace GifText

// ---- skins: the decompressor, the skin store, a damaged stored skin ----
TERVANE_DECLARE_EXCEPTION(ElzhException, Exception);
TERVANE_DECLARE_EXCEPTION(ESkinStoreError, Exception);
// Raised inside the skin reader for an archive it cannot use; the reader turns it into a failed
// open, so no user ever sees its text.
TERVANE_DECLARE_EXCEPTION(ESkinArchiveError, Exception);

namespace LzhText {
inline constexpr const char* NoMemory = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* FreeFailed = "LZH : Error freeing memory for dictionary tables";
}  // namespace LzhText

namespace SkinText {
inline constexpr const char* DamagedArchive = "Skin archive is damaged";
}  // namespace SkinText
