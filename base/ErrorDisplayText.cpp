#include "base/ErrorDisplayText.h"

std::string ErrorDisplayText(const std::string& message) {
    // Bytes compare unsigned: the trail byte of a code page 936 character is above '.', so a
    // Chinese message gets its full stop too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}
