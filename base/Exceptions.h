#pragma once
// The program's exception classes and the one table of their fixed English messages; the
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

namespace ErrorText {
// Streams and files.
inline constexpr const char* StreamRead = "Stream read error";
inline constexpr const char* StreamWrite = "Stream write error";
inline constexpr const char* FOpen = "Cannot open file \"%s\". %s";
inline constexpr const char* FCreate = "Cannot create file \"%s\". %s";
inline constexpr const char* InOut = "I/O error %lu";
// Pictures.
inline constexpr const char* InvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* InvalidIcon = "Icon image is not valid";
inline constexpr const char* InvalidMetafile = "Metafile is not valid";
inline constexpr const char* UnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* AssignError = "Cannot assign a %s to a %s";
inline constexpr const char* AbstractGraphic = "Cannot create an abstract graphic";
inline constexpr const char* UnsupportedClipboardFormat = "Unsupported clipboard format";
inline constexpr const char* IconSizeChange = "Cannot change the size of an icon";
inline constexpr const char* ScanLineRange = "Scan line index out of range";
inline constexpr const char* IconColourCount = "Unsupported icon colour count";
inline constexpr const char* JpegError = "JPEG error #%d";
inline constexpr const char* JpegSizeChange = "Cannot change the size of a JPEG image";
// PNG pictures: what a damaged or hostile file gets, by the kind of damage.
inline constexpr const char* PngInvalid = "PNG image is not valid";
inline constexpr const char* PngTooLarge = "PNG image is too large";
inline constexpr const char* PngBadCrc = "PNG image is damaged (CRC error)";
inline constexpr const char* PngTruncated = "PNG image is damaged (unexpected end of file)";
inline constexpr const char* PngBadChunkLength = "PNG image is damaged (bad chunk length)";
inline constexpr const char* PngBadData = "PNG image is damaged (bad image data)";
inline constexpr const char* PngTooLittleData = "PNG image is damaged (too little image data for its size)";
inline constexpr const char* PngError = "PNG error #%d";
inline constexpr const char* PngSizeChange = "Cannot change the size of a PNG image";
// The GIF codec: writing and colour reduction.
inline constexpr const char* GifUnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* GifColorNotInTable = "Color not in color table";
inline constexpr const char* GifColorTableOverflow = "Color table overflow";
inline constexpr const char* GifInvalidDimensions = "Invalid image dimensions";
inline constexpr const char* GifUnsupportedPixelFormat = "Unsupported PixelFormat";
inline constexpr const char* GifWidthTooSmall = "Image width too small for contained frames";
inline constexpr const char* GifHeightTooSmall = "Image height too small for contained frames";
inline constexpr const char* GifExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* GifDibAllocFailed = "Failed to allocate memory for GIF DIB";
inline constexpr const char* GifNoDib = "Image has no DIB";
// The GIF codec: reading and rendering.
inline constexpr const char* GifInvalidSignature = "Invalid GIF signature";
inline constexpr const char* GifPrematureEnd = "Premature end of data";
inline constexpr const char* GifUnknownExtension = "Unknown extension type";
inline constexpr const char* GifInvalidIntroducer = "Invalid extension introducer";
inline constexpr const char* GifExtensionMismatch = "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* GifBadAppBlockSize = "Unsupported Application Extension block size";
inline constexpr const char* GifInvalidData = "Invalid GIF data";
inline constexpr const char* GifCircularEntry = "Circular decoder table entry";
inline constexpr const char* GifNoColorTable = "No global or local color table defined";
inline constexpr const char* GifUnknownBlock = "Unknown GIF block type";
inline constexpr const char* GifInvalidTrailer = "Invalid Image trailer";
inline constexpr const char* GifBitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* GifInvalidColorIndex = "Invalid color index";
inline constexpr const char* OutOfMemory = "Out of memory";
// Skins.
inline constexpr const char* LzhNoMemory = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* LzhFreeFailed = "LZH : Error freeing memory for dictionary tables";
inline constexpr const char* SkinNameInUse = "The name %s is already used.";
inline constexpr const char* SkinArchiveDamaged = "Skin archive is damaged";
inline constexpr const char* ResourceNotFound = "Resource %s not found";
// Windows and system resources.
inline constexpr const char* OutOfResources = "Out of system resources";
inline constexpr const char* ApplicationWindow = "Cannot create the application window";
inline constexpr const char* WindowClassMissing = "Window class %s is not available";
inline constexpr const char* WindowClassRegistration = "Cannot register window class %s";
inline constexpr const char* WindowCreation = "Error creating window of class %s";
inline constexpr const char* NoParentWindow = "Control '%s' has no parent window";
inline constexpr const char* VisibleModal = "Cannot make a visible window modal";
inline constexpr const char* ModalWithoutApplication = "No application to run a modal window";
inline constexpr const char* TooManyMenuItems = "Too many menu items";
inline constexpr const char* CanvasNoDrawing = "Canvas does not allow drawing";
inline constexpr const char* ThreadCreation = "Thread creation error";
inline constexpr const char* SystemFunctionMissing = "System function %s of %s is not available";
}  // namespace ErrorText

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

// Streams and files.
TERVANE_DECLARE_EXCEPTION(EStreamError, Exception);
TERVANE_DECLARE_EXCEPTION(EReadError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EWriteError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
TERVANE_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
TERVANE_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
// A file system call failed; the message carries the system's error code.
TERVANE_DECLARE_EXCEPTION(EInOutError, Exception);
// Pictures.
TERVANE_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
TERVANE_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
TERVANE_DECLARE_EXCEPTION(EConvertError, Exception);
// Every failure inside the JPEG library, with the library's message code.
class EJPEG : public EInvalidGraphic {
public:
    explicit EJPEG(int messageCode)
        : EInvalidGraphic(Format(ErrorText::JpegError, messageCode)), messageCode_(messageCode) {}
    int MessageCode() const { return messageCode_; }

private:
    int messageCode_;
};
// Every failure of the PNG library, with its error code (0 for the program's own checks).
class EPNG : public EInvalidGraphic {
public:
    EPNG(int errorCode, const std::string& message) : EInvalidGraphic(message), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};
// Every GIF format or consistency error.
TERVANE_DECLARE_EXCEPTION(GIFException, Exception);
// Pixel memory that cannot be had, or a picture larger than the reader's budget.
TERVANE_DECLARE_EXCEPTION(EOutOfMemory, Exception);
// Skins: the decompressor, the skin store, and a stored skin the reader cannot use (it turns
// that into a failed open, so no user sees its text).
TERVANE_DECLARE_EXCEPTION(ElzhException, Exception);
TERVANE_DECLARE_EXCEPTION(ESkinStoreError, Exception);
TERVANE_DECLARE_EXCEPTION(ESkinArchiveError, Exception);
// Windows, lists, resources, threads.
TERVANE_DECLARE_EXCEPTION(EOutOfResources, Exception);
TERVANE_DECLARE_EXCEPTION(EInvalidOperation, Exception);
TERVANE_DECLARE_EXCEPTION(EListError, Exception);
TERVANE_DECLARE_EXCEPTION(EResNotFound, Exception);
TERVANE_DECLARE_EXCEPTION(EThread, Exception);
// Ends an operation silently: the default error display shows nothing for it.
TERVANE_DECLARE_EXCEPTION(EAbort, Exception);
