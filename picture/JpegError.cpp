#include "picture/JpegError.h"

EJPEG::EJPEG(int messageCode) : EInvalidGraphic(Format(ErrorText::JpegError, messageCode)), messageCode_(messageCode) {}
