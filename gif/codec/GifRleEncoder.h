#pragma once
// A run-length coder of GIF pixel data. It keeps no string table of its own: it follows the
// table a standard decoder builds and uses only entries it knows to be runs of one colour.
// A run is sent as a series of growing strings c, cc, ccc, ... of the run's colour, each
// taken from an entry the decoder has made (or is making with that very code), so a run of
// n pixels costs about the square root of 2n codes.
#include <cstdint>
#include <vector>

#include "gif/codec/GifEncoder.h"

class TRLEEncoder : public TGIFEncoder {
protected:
    void BeginPixels() override;
    void EncodePixels(const uint8_t* pixels, size_t count) override;
    void EndPixels() override;

private:
    static constexpr int TableLimit = 4095;  // clear before the decoder's table is full

    void EmitRun(int color, size_t length);
    void EmitString(int code, int color, int length);
    void Clear();
    void ForgetRuns();
    // Code of a known run of the current colour of exactly this length, or -1.
    int RunCode(int length) const;

    int runColor_ = -1;   // colour of the run being gathered
    size_t runLength_ = 0;
    int nextFree_ = 0;    // the code the decoder gives its next entry
    bool afterClear_ = true;
    int lastColor_ = -1;  // colour and length of the string sent last (colour -1: none)
    int lastLength_ = 0;
    // Codes of runs of tableColor_, indexed by length, valid where stamp equals generation_.
    int tableColor_ = -1;
    int longestRun_ = 0;
    uint32_t generation_ = 1;
    std::vector<uint16_t> runCodes_ = std::vector<uint16_t>(4097);
    std::vector<uint32_t> runStamps_ = std::vector<uint32_t>(4097);
};
