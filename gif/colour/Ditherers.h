#pragma once
// Turning the pixels of a row into palette indices, with or without error diffusion. Rows
// alternate direction (left to right first); error weights are counted in the direction of
// the row, so they mirror on right-to-left rows.
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/colour/ColorLookup.h"

// Kind 0: the nearest colour, no error carried.
class TDitherEngine {
public:
    TDitherEngine(int width, TColorLookup& lookup) : Width(width), Lookup(lookup) {}
    virtual ~TDitherEngine() = default;

    // The index for the pixel at the current column; moves the column on.
    virtual int Dither(uint8_t red, uint8_t green, uint8_t blue);
    // Reverses the direction and puts the column at the start of the next row.
    virtual void NextLine();

    const int Width;
    TColorLookup& Lookup;
    int Direction = 1;
    int Column = 0;
};

// Error sums a channel for the current row and the rows below it, each row padded by pad
// entries on both sides so that weights past either edge fall into the padding.
class TErrorRows {
public:
    TErrorRows(int width, int rows, int pad);
    int32_t* At(int row, int x) { return &sums_[Index(row, x)]; }
    // Drops the current row, moves the others up and clears the new last row.
    void Rotate();

private:
    size_t Index(int row, int x) const {
        return (static_cast<size_t>((first_ + row) % rows_) * stride_ + static_cast<size_t>(x + pad_)) * 3;
    }
    int rows_, pad_;
    size_t stride_;
    int first_ = 0;
    std::vector<int32_t> sums_;
};

// Weights over five columns: the two pixels ahead, then the rows below at x-2 .. x+2.
struct TFiveColumnWeights {
    int ahead[2];
    int below[2][5];
};

// What the error-diffusing ditherers share: applying the error gathered for a pixel,
// choosing its colour and handing the remaining error to a spreading operation.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    int Dither(uint8_t red, uint8_t green, uint8_t blue) override;
    void NextLine() override;

protected:
    TErrorDiffusionDitherer(int width, TColorLookup& lookup, int rows, int pad, int divisor);
    // Adds error x weight to the pixel dx further along the row and dy rows below.
    void Spread(int dx, int dy, const int error[3], int weight) {
        int32_t* sum = errors_.At(dy, Column + Direction * dx);
        sum[0] += error[0] * weight;
        sum[1] += error[1] * weight;
        sum[2] += error[2] * weight;
    }
    void SpreadFiveColumns(const TFiveColumnWeights& weights, const int error[3]);
    virtual void SpreadError(const int error[3]) = 0;

private:
    TErrorRows errors_;
    const int divisor_;
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int width, TColorLookup& lookup) : TErrorDiffusionDitherer(width, lookup, 2, 1, 16) {}

protected:
    void SpreadError(const int error[3]) override;
};

// The ditherers that spread over five columns and three rows.
class T5by3Ditherer : public TErrorDiffusionDitherer {
public:
    T5by3Ditherer(int width, TColorLookup& lookup, int divisor) : TErrorDiffusionDitherer(width, lookup, 3, 2, divisor) {}
};

class TStuckiDitherer : public T5by3Ditherer {
public:
    TStuckiDitherer(int width, TColorLookup& lookup) : T5by3Ditherer(width, lookup, 42) {}

protected:
    void SpreadError(const int error[3]) override;
};

class TSierraDitherer : public T5by3Ditherer {
public:
    TSierraDitherer(int width, TColorLookup& lookup) : T5by3Ditherer(width, lookup, 32) {}

protected:
    void SpreadError(const int error[3]) override;
};

class TJaJuNiDitherer : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int width, TColorLookup& lookup) : T5by3Ditherer(width, lookup, 48) {}

protected:
    void SpreadError(const int error[3]) override;
};

class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int width, TColorLookup& lookup) : TErrorDiffusionDitherer(width, lookup, 4, 3, 200) {}

protected:
    void SpreadError(const int error[3]) override;
};

class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
    TBurkesDitherer(int width, TColorLookup& lookup) : TErrorDiffusionDitherer(width, lookup, 2, 2, 32) {}

protected:
    void SpreadError(const int error[3]) override;
};

// The ditherer of a kind (0 to 6) for rows of the given width; none for other kinds.
std::unique_ptr<TDitherEngine> CreateDitherer(int kind, int width, TColorLookup& lookup);
