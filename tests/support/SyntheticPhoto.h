#pragma once
// A deterministic picture with what photographs have and flat test patterns lack: smooth
// gradients, fine noise, hard edges. Rows are 24-bit blue, green, red, top-down, packed with
// the given row step (at least 3 × width).
#include <cmath>
#include <cstdlib>
#include <cstddef>
#include <cstdint>
#include <vector>

struct SyntheticPhoto {
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t rowStep = 0;
    std::vector<uint8_t> pixels;

    const uint8_t* Row(int32_t y) const { return pixels.data() + y * rowStep; }
    // The rows without their padding.
    std::vector<uint8_t> Packed() const {
        std::vector<uint8_t> packed;
        for (int32_t y = 0; y < height; ++y) packed.insert(packed.end(), Row(y), Row(y) + width * 3);
        return packed;
    }
};

// Mean absolute difference per sample of two equally long runs (255 when they differ in length).
inline double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
    return sum / static_cast<double>(a.size());
}

inline uint8_t ClampToByte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

inline SyntheticPhoto MakeSyntheticPhoto(int32_t width, int32_t height, ptrdiff_t rowStep = 0) {
    SyntheticPhoto photo;
    photo.width = width;
    photo.height = height;
    photo.rowStep = rowStep ? rowStep : static_cast<ptrdiff_t>((width * 3 + 3) & ~3);
    photo.pixels.assign(static_cast<size_t>(photo.rowStep) * static_cast<size_t>(height), 0);
    uint32_t noise = 2463534242u;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = photo.pixels.data() + y * photo.rowStep;
        for (int32_t x = 0; x < width; ++x, p += 3) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            double grain = static_cast<double>(noise % 25) - 12.0;
            double sky = 150.0 + 80.0 * std::sin(x / 97.0 + y / 53.0);
            double land = 110.0 + 70.0 * std::cos(x / 41.0 - y / 77.0);
            bool building = ((x / 64) % 3 == 1) && (y > height / 3) && ((y / 48) % 2 == 0);
            double r = building ? 200 : sky * 0.6 + land * 0.4;
            double g = building ? 60 : sky * 0.3 + land * 0.7;
            double b = building ? 40 : sky * 0.9 + 20.0;
            p[0] = ClampToByte(b + grain);
            p[1] = ClampToByte(g + grain);
            p[2] = ClampToByte(r + grain);
        }
    }
    return photo;
}
