// The JPEG object's read path on hostile bytes: the header read of a load (with the EXIF
// orientation), then a decode, turned upright, with settings chosen by the first byte (scale,
// smoothing, grey, 8 bits, speed, progressive display). Any failure must be an EJPEG or the
// target's own refusal, never a crash.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "picture/jpeg/JpegDecoder.h"

namespace {

// Rows in memory, refusing pictures beyond a million pixels as a bitmap would refuse
// memory it cannot have.
class BoundedTarget : public TJpegDecodeTarget {
public:
    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        ptrdiff_t stride = (static_cast<ptrdiff_t>(width) * bitsPerPixel / 8 + 3) & ~ptrdiff_t(3);
        if (static_cast<int64_t>(width) * height > 1024 * 1024) throw EOutOfResources("too large");
        rows_.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
        bottomUp_ = !bottomUp_;
        if (!bottomUp_) return {rows_.data(), stride};
        return {rows_.data() + (height - 1) * stride, -stride};
    }
    void SetPalette(const std::vector<TJpegColor>& colors) override {
        if (colors.size() > 256) __builtin_trap();
    }

private:
    std::vector<uint8_t> rows_;
    bool bottomUp_ = false;
};

TJpegSettings SettingsFrom(uint8_t choice) {
    TJpegSettings s;
    s.ReductionScale = static_cast<TJpegReductionScale>(choice & 3);
    s.BlockSmoothing = (choice & 4) != 0;
    s.GrayOutput = (choice & 8) != 0;
    s.OutputDepth = (choice & 16) ? TJpegOutputDepth::Bits8 : TJpegOutputDepth::Bits24;
    s.SpeedMode = (choice & 32) ? TJpegSpeedMode::BestSpeed : TJpegSpeedMode::BestQuality;
    s.ShowProgressively = (choice & 64) != 0;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    TMemoryStream compressed(std::vector<uint8_t>(data + 1, data + size));
    try {
        ReadJpegHeader(compressed, static_cast<TJpegReductionScale>(data[0] & 3));
    } catch (const EJPEG&) {
    }
    compressed.SetPosition(0);
    BoundedTarget target;
    try {
        DecodeJpeg(compressed, SettingsFrom(data[0]), target);
    } catch (const EJPEG&) {
    } catch (const EOutOfResources&) {
    }
    return 0;
}
