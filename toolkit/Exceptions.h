#pragma once
// The program's exception classes. Every failure the user can meet is one of these, with a
// fixed English message; the default error display shows Message() as it is.
#include <stdexcept>
#include <string>

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
// Ends an operation silently: the default error display shows nothing for it.
TERVANE_DECLARE_EXCEPTION(EAbort, Exception);

// Fixed texts shared by several units.
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
}  // namespace ErrorText

// printf-style formatting into a std::string, for the texts above.
std::string Format(const char* pattern, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
