#pragma once
// Integer values of skin settings files, read from their text.
#include <cstdint>
#include <string>

// The text as a 32-bit integer: optional sign, then decimal digits, or hexadecimal after "$"
// or "0x". Anything else (an empty text, stray characters, a number out of range) gives
// fallback, as integer settings whose text is not an integer take their default.
int32_t SkinIntDef(const std::string& text, int32_t fallback);
