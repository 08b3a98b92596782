#include "picture/graphic/StretchModeRule.h"

TStretchMode ChooseStretchMode(int targetBits, int sourceBits, bool monochromeSource) {
    if (targetBits <= 8 && targetBits < sourceBits) return TStretchMode::Halftone;
    return monochromeSource ? TStretchMode::Keep : TStretchMode::ColorOnColor;
}
