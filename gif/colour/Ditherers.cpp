#include "gif/colour/Ditherers.h"

#include <algorithm>

#include "gif/codec/GifImageModel.h"

int TDitherEngine::Dither(uint8_t red, uint8_t green, uint8_t blue) {
    TGIFColor chosen;
    const int index = Lookup.Lookup(red, green, blue, chosen);
    Column += Direction;
    return index;
}

void TDitherEngine::NextLine() {
    Direction = -Direction;
    Column = Direction > 0 ? 0 : Width - 1;
}

TErrorRows::TErrorRows(int width, int rows, int pad)
    : rows_(rows), pad_(pad), stride_(static_cast<size_t>(width) + 2 * static_cast<size_t>(pad)),
      sums_(stride_ * static_cast<size_t>(rows) * 3, 0) {}

void TErrorRows::Rotate() {
    int32_t* row = &sums_[static_cast<size_t>(first_) * stride_ * 3];
    std::fill(row, row + stride_ * 3, 0);
    first_ = (first_ + 1) % rows_;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int width, TColorLookup& lookup, int rows, int pad, int divisor)
    : TDitherEngine(width, lookup), errors_(width, rows, pad), divisor_(divisor) {}

int TErrorDiffusionDitherer::Dither(uint8_t red, uint8_t green, uint8_t blue) {
    const int32_t* sum = errors_.At(0, Column);
    const uint8_t in[3] = {red, green, blue};
    uint8_t value[3];
    for (int c = 0; c < 3; ++c)
        value[c] = static_cast<uint8_t>(std::clamp(in[c] + (sum[c] + divisor_ / 2) / divisor_, 0, 255));
    TGIFColor chosen;
    const int index = Lookup.Lookup(value[0], value[1], value[2], chosen);
    const int error[3] = {value[0] - chosen.Red, value[1] - chosen.Green, value[2] - chosen.Blue};
    SpreadError(error);
    Column += Direction;
    return index;
}

void TErrorDiffusionDitherer::NextLine() {
    errors_.Rotate();
    TDitherEngine::NextLine();
}

void TFloydSteinbergDitherer::SpreadError(const int e[3]) {
    Spread(1, 0, e, 7);
    Spread(-1, 1, e, 3);
    Spread(0, 1, e, 5);
    Spread(1, 1, e, 1);
}

void TErrorDiffusionDitherer::SpreadFiveColumns(const TFiveColumnWeights& w, const int e[3]) {
    for (int dx = 1; dx <= 2; ++dx)
        if (w.ahead[dx - 1]) Spread(dx, 0, e, w.ahead[dx - 1]);
    for (int dy = 1; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (w.below[dy - 1][dx + 2]) Spread(dx, dy, e, w.below[dy - 1][dx + 2]);
}

namespace {
constexpr TFiveColumnWeights Stucki = {{8, 4}, {{2, 4, 8, 4, 2}, {1, 2, 4, 2, 1}}};
constexpr TFiveColumnWeights Sierra = {{5, 3}, {{2, 4, 5, 4, 2}, {0, 2, 3, 2, 0}}};
constexpr TFiveColumnWeights JaJuNi = {{7, 5}, {{3, 5, 7, 5, 3}, {1, 3, 5, 3, 1}}};
constexpr TFiveColumnWeights Burkes = {{8, 4}, {{2, 4, 8, 4, 2}, {0, 0, 0, 0, 0}}};
}  // namespace

void TStuckiDitherer::SpreadError(const int e[3]) { SpreadFiveColumns(Stucki, e); }
void TSierraDitherer::SpreadError(const int e[3]) { SpreadFiveColumns(Sierra, e); }
void TJaJuNiDitherer::SpreadError(const int e[3]) { SpreadFiveColumns(JaJuNi, e); }
void TBurkesDitherer::SpreadError(const int e[3]) { SpreadFiveColumns(Burkes, e); }

void TSteveArcheDitherer::SpreadError(const int e[3]) {
    Spread(2, 0, e, 32);
    Spread(-3, 1, e, 12);
    Spread(-1, 1, e, 26);
    Spread(1, 1, e, 30);
    Spread(3, 1, e, 16);
    Spread(-2, 2, e, 12);
    Spread(0, 2, e, 26);
    Spread(2, 2, e, 12);
    Spread(-3, 3, e, 5);
    Spread(-1, 3, e, 12);
    Spread(1, 3, e, 12);
    Spread(3, 3, e, 5);
}

std::unique_ptr<TDitherEngine> CreateDitherer(int kind, int width, TColorLookup& lookup) {
    switch (kind) {
    case GifDither::Nearest: return std::make_unique<TDitherEngine>(width, lookup);
    case GifDither::FloydSteinberg: return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case GifDither::Stucki: return std::make_unique<TStuckiDitherer>(width, lookup);
    case GifDither::Sierra: return std::make_unique<TSierraDitherer>(width, lookup);
    case GifDither::JaJuNi: return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case GifDither::SteveArche: return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case GifDither::Burkes: return std::make_unique<TBurkesDitherer>(width, lookup);
    default: return nullptr;
    }
}
