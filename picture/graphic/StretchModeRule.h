#pragma once
// How a bitmap is stretched onto a device: averaging (halftone) only pays where the target
// cannot hold the source's colours; everywhere else colour bitmaps drop rows and columns
// when shrinking, which keeps their colours exact.
enum class TStretchMode { Halftone, ColorOnColor, Keep };

// targetBits and sourceBits are bits per pixel (times planes). Monochrome sources keep the
// device's own mode.
TStretchMode ChooseStretchMode(int targetBits, int sourceBits, bool monochromeSource);
