#include "base/ShortCut.h"

namespace {

struct KeyName {
    uint16_t key;
    const char* name;
};

// Keys whose names are not their own character.
constexpr KeyName kKeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

std::string KeyText(uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VirtualKey::F1 && key <= VirtualKey::F24) return "F" + std::to_string(key - VirtualKey::F1 + 1);
    for (const KeyName& entry : kKeyNames)
        if (entry.key == key) return entry.name;
    return {};
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if (key > 0xFF) return scNone;
    TShortCut result = key;
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

uint16_t ShortCutKey(TShortCut shortCut) { return shortCut & 0xFF; }

TShiftState ShortCutShift(TShortCut shortCut) {
    TShiftState shift = 0;
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
    return shift;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string key = KeyText(ShortCutKey(shortCut));
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}
