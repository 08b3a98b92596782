#include "gif/codec/GifBitReader.h"

#include <algorithm>

#include "base/ByteReader.h"

namespace {

// Reads one sub-block header; returns the bytes that are really there (cut to what remains)
// or 0 at the terminator or the end of the data.
size_t NextSubBlock(ByteReader& in, bool& terminated, bool& truncated) {
    if (in.AtEnd()) return 0;
    size_t declared = in.ReadU8();
    if (declared == 0) {
        terminated = true;
        return 0;
    }
    size_t present = std::min(declared, in.Remaining());
    if (present < declared) truncated = true;
    return present;
}

}  // namespace

void GatherSubBlocks(ByteReader& in, TGifGatheredData& out) {
    out.size = 0;
    out.terminated = out.truncated = false;
    // A first pass over the headers finds the total, so the joined run is allocated once
    // and never more than the input holds.
    ByteReader probe = in;
    size_t total = 0;
    bool t1 = false, t2 = false;
    for (size_t n; (n = NextSubBlock(probe, t1, t2)) != 0;) {
        probe.Skip(n);
        total += n;
    }
    if (out.capacity < total + TGifGatheredData::kPadding) {
        out.bytes.reset();
        out.capacity = 0;
        out.bytes.reset(new uint8_t[total + TGifGatheredData::kPadding]);
        out.capacity = total + TGifGatheredData::kPadding;
    }
    for (size_t n; (n = NextSubBlock(in, out.terminated, out.truncated)) != 0;) {
        in.ReadBytes(out.bytes.get() + out.size, n);
        out.size += n;
    }
    std::fill_n(out.bytes.get() + out.size, TGifGatheredData::kPadding, uint8_t{0});
}

bool SkipSubBlocks(ByteReader& in) {
    bool terminated = false, truncated = false;
    for (size_t n; (n = NextSubBlock(in, terminated, truncated)) != 0;) in.Skip(n);
    return truncated;
}
