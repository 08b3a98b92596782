#pragma once
// The JPEG object's error: every failure inside libjpeg becomes one of these, carrying
// libjpeg's message code in the fixed text "JPEG error #%d".
#include "toolkit/Exceptions.h"

class EJPEG : public EInvalidGraphic {
public:
    explicit EJPEG(int messageCode);
    int MessageCode() const { return messageCode_; }

private:
    int messageCode_;
};

namespace ErrorText {
inline constexpr const char* JpegError = "JPEG error #%d";
inline constexpr const char* JpegSizeChange = "Cannot change the size of a JPEG image";
}  // namespace ErrorText
