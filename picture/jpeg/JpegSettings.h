#pragma once
// The JPEG object's settings and the defaults every new object starts from.
#include <cstdint>

enum class TJpegSpeedMode { BestQuality, BestSpeed };
enum class TJpegOutputDepth { Bits24, Bits8 };
// The decode reduces the picture by 2 to the power of the value: 1/1, 1/2, 1/4, 1/8.
enum class TJpegReductionScale { Full = 0, Half = 1, Quarter = 2, Eighth = 3 };

struct TJpegSettings {
    // libjpeg reads values below 1 as 1 and above 100 as 100.
    uint8_t QualityLevel = 90;
    bool GrayOutput = false;
    TJpegSpeedMode SpeedMode = TJpegSpeedMode::BestQuality;
    TJpegOutputDepth OutputDepth = TJpegOutputDepth::Bits24;
    bool ShowProgressively = false;
    bool WriteProgressive = false;
    TJpegReductionScale ReductionScale = TJpegReductionScale::Full;
    bool BlockSmoothing = true;
};

// Copied into every new JPEG object. The Windows start-up switches OutputDepth to 8 bits
// when the display has no more than 256 colours.
extern TJpegSettings DefaultJpegSettings;

// Colours libjpeg quantises 8-bit output to: a 256-entry palette less the 20 the system keeps.
inline constexpr int JpegQuantisedColours = 236;
