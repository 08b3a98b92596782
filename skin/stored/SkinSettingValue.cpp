#include "skin/stored/SkinSettingValue.h"

#include <cctype>

namespace {

int DigitValue(char ch, int base) {
    int value = -1;
    if (ch >= '0' && ch <= '9') value = ch - '0';
    if (ch >= 'a' && ch <= 'f') value = ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') value = ch - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

int32_t SkinIntDef(const std::string& text, int32_t fallback) {
    size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    int base = 10;
    if (at < text.size() && text[at] == '$') {
        base = 16;
        ++at;
    } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    if (at == text.size()) return fallback;
    int64_t value = 0;
    for (; at < text.size(); ++at) {
        int digit = DigitValue(text[at], base);
        if (digit < 0) return fallback;
        value = value * base + digit;
        // Hexadecimal texts may spell any 32-bit pattern; decimal ones must fit the range.
        if (value > (base == 16 ? int64_t{0xFFFFFFFF} : int64_t{0x80000000})) return fallback;
    }
    if (negative) value = -value;
    if (base == 10 && value > INT32_MAX) return fallback;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
