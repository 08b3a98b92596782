#pragma once
// A decode target that hands the picture on upright: for a photo whose EXIF orientation asks
// to be turned, the decoder fills a picture of the stored size here, which is turned into
// the real target's rows once decoding ends. Any other photo goes straight through.
#include <cstdint>
#include <vector>

#include "picture/jpeg/JpegDecoder.h"

class TUprightDecodeTarget : public TJpegDecodeTarget {
public:
    explicit TUprightDecodeTarget(TJpegDecodeTarget& target) : target_(target) {}

    // Set once the header is read, before decoding starts.
    void SetOrientation(int orientation) { orientation_ = orientation; }

    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override;
    void SetPalette(const std::vector<TJpegColor>& colors) override { target_.SetPalette(colors); }
    // A turned picture is final only once every row is in: the target hears of it then.
    void RowsDecoded(int32_t rowCount) override;

    // Decoding ended: turns the picture into the target's rows and tells the target they are
    // all final. May throw what the target's RowsDecoded throws.
    void Complete();
    // Decoding was called off: turns what was decoded so far, without a word to the target.
    void TurnWhatWasDecoded();

private:
    bool Turning() const { return orientation_ != 1; }

    TJpegDecodeTarget& target_;
    int orientation_ = 1;
    TJpegRows upright_;
    std::vector<uint8_t> stored_;
    int32_t width_ = 0, height_ = 0;
    int bytesPerPixel_ = 0;
    bool turned_ = false;
};
