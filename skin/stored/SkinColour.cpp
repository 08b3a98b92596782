#include "skin/stored/SkinColour.h"

namespace {

std::string Trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<uint8_t>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<uint8_t>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

}  // namespace

TSkinColour ParseSkinColour(const std::string& text, TSkinColour fallback) {
    if (text.empty()) return fallback;
    uint32_t parts[3] = {0, 0, 0};
    int component = 0;
    uint32_t number = 0;
    bool digits = false;
    for (char ch : Trimmed(text)) {
        if (ch >= '0' && ch <= '9') {
            number = number * 10 + static_cast<uint32_t>(ch - '0');
            digits = true;
            continue;
        }
        if (digits && component < 3) parts[component] = number;
        if (component < 3) ++component;
        number = 0;
        digits = false;
    }
    if (digits && component == 2) parts[2] = number;
    return SkinRGB(static_cast<int>(parts[0] % 256), static_cast<int>(parts[1] % 256),
                   static_cast<int>(parts[2] % 256));
}
