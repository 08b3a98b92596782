// JPEG speed: the JPEG picture object's code path (stream glue, error and progress routines,
// decode and encode loops on bottom-up, 4-byte aligned bitmap rows) against libjpeg-turbo
// driven directly as djpeg and cjpeg drive it (memory source and destination, rows in
// libjpeg's preferred batches), on one 4000 x 3000 photograph-like picture, same settings,
// side by side in one run. The object's overhead should stay within 10 %.
// Times are processor time, the best of several runs. Both paths must give the same bytes
// and the same pixels; the benchmark fails otherwise.
// Usage: jpeg_bench [repeats]
// Run by scripts/bench.sh (all benchmarks, or "scripts/bench.sh jpeg"), or alone (sanitizers off):
//   cmake -S . -B build/bench -G Ninja -DTERVANE_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/bench --target jpeg_bench && build/bench/bench/jpeg_bench
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ProcessorName.h"
#include "ProcessorTime.h"
#include "picture/jpeg/JpegDecoder.h"
#include "picture/jpeg/JpegEncoder.h"
#include "picture/jpeg/JpegLib.h"
#include "tests/support/SyntheticPhoto.h"

namespace {

// A device-independent bitmap's layout: rows padded to 4 bytes, stored bottom first.
struct BottomUpBitmap {
    int32_t width = 0, height = 0;
    ptrdiff_t stride = 0;
    std::vector<uint8_t> bits;

    void Resize(int32_t w, int32_t h, int bitsPerPixel) {
        width = w;
        height = h;
        stride = (static_cast<ptrdiff_t>(w) * bitsPerPixel / 8 + 3) & ~ptrdiff_t(3);
        bits.resize(static_cast<size_t>(stride) * static_cast<size_t>(h));
    }
    uint8_t* Row(int32_t y) { return bits.data() + (height - 1 - y) * stride; }
};

class BitmapTarget : public TJpegDecodeTarget {
public:
    explicit BitmapTarget(BottomUpBitmap& bitmap) : bitmap_(bitmap) {}
    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        bitmap_.Resize(width, height, bitsPerPixel);
        return {bitmap_.Row(0), -bitmap_.stride};
    }
    void SetPalette(const std::vector<TJpegColor>&) override {}

private:
    BottomUpBitmap& bitmap_;
};

BottomUpBitmap BitmapOf(const SyntheticPhoto& photo) {
    BottomUpBitmap bitmap;
    bitmap.Resize(photo.width, photo.height, 24);
    for (int32_t y = 0; y < photo.height; ++y)
        std::copy(photo.Row(y), photo.Row(y) + photo.width * 3, bitmap.Row(y));
    return bitmap;
}

std::vector<uint8_t> EncodeThroughObjectPath(BottomUpBitmap& bitmap, const TJpegProgressHandler& progress) {
    TMemoryStream out;
    TJpegSourceRows rows{bitmap.Row(0), -bitmap.stride, bitmap.width, bitmap.height};
    EncodeJpeg(rows, TJpegSettings{}, out, progress);
    return out.Bytes();
}

std::vector<uint8_t> EncodeDirectly(const SyntheticPhoto& photo) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(photo.width);
    info.image_height = static_cast<JDIMENSION>(photo.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, TJpegSettings{}.QualityLevel, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPROW> rows(static_cast<size_t>(photo.height));
    for (int32_t y = 0; y < photo.height; ++y) rows[static_cast<size_t>(y)] = const_cast<JSAMPROW>(photo.Row(y));
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows.data() + info.next_scanline, info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

void DecodeThroughObjectPath(const std::vector<uint8_t>& jpeg, BottomUpBitmap& bitmap,
                             const TJpegProgressHandler& progress) {
    TMemoryStream in(jpeg);
    BitmapTarget target(bitmap);
    DecodeJpeg(in, TJpegSettings{}, target, progress);
}

// djpeg's loop: top-down rows, as many per call as libjpeg recommends. Like the object path,
// it writes into a buffer kept from the previous run, so neither pays for fresh pages.
void DecodeDirectly(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& pixels) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t rowBytes = static_cast<size_t>(info.output_width) * 3;
    pixels.resize(rowBytes * info.output_height);
    std::vector<JSAMPROW> rows(static_cast<size_t>(std::max(1, info.rec_outbuf_height)));
    while (info.output_scanline < info.output_height) {
        JDIMENSION want = std::min<JDIMENSION>(static_cast<JDIMENSION>(rows.size()),
                                               info.output_height - info.output_scanline);
        for (JDIMENSION i = 0; i < want; ++i) rows[i] = pixels.data() + (info.output_scanline + i) * rowBytes;
        jpeg_read_scanlines(&info, rows.data(), want);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

bool SamePixels(BottomUpBitmap& bitmap, const std::vector<uint8_t>& topDown) {
    const size_t rowBytes = static_cast<size_t>(bitmap.width) * 3;
    if (topDown.size() != rowBytes * static_cast<size_t>(bitmap.height)) return false;
    for (int32_t y = 0; y < bitmap.height; ++y)
        if (!std::equal(bitmap.Row(y), bitmap.Row(y) + rowBytes, topDown.begin() + y * rowBytes)) return false;
    return true;
}

bool Report(const char* job, double ours, double direct) {
    double overhead = (ours / direct - 1.0) * 100.0;
    bool within = overhead <= 10.0;
    std::printf("%-44s object path %7.1f ms, libjpeg-turbo directly %7.1f ms: %+5.1f %% %s\n", job, ours * 1e3,
                direct * 1e3, overhead, within ? "(target within 10 %: met)" : "(target within 10 %: NOT met)");
    return within;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("processor: %s\n", ProcessorName().c_str());
    std::printf("making a 4000 x 3000 photograph-like picture...\n");
    const SyntheticPhoto photo = MakeSyntheticPhoto(4000, 3000);
    BottomUpBitmap source = BitmapOf(photo);

    // The program attaches no progress listener; the second run shows what one would cost.
    const TJpegProgressHandler none;
    const TJpegProgressHandler listener = [](TJpegProgressStage, int, bool) {};

    std::vector<uint8_t> ours = EncodeThroughObjectPath(source, none);
    std::vector<uint8_t> direct = EncodeDirectly(photo);
    if (ours != direct) {
        std::fprintf(stderr, "the two encoders wrote different files (%zu and %zu bytes)\n", ours.size(),
                     direct.size());
        return 1;
    }
    std::printf("encoded at quality 90: %zu bytes\n", ours.size());
    BottomUpBitmap decoded;
    DecodeThroughObjectPath(ours, decoded, none);
    std::vector<uint8_t> directPixels;
    DecodeDirectly(ours, directPixels);
    if (!SamePixels(decoded, directPixels)) {
        std::fprintf(stderr, "the two decoders gave different pictures\n");
        return 1;
    }

    bool within = true;
    double directEncode = BestSeconds([&] { EncodeDirectly(photo); }, repeats);
    double ourEncode = BestSeconds([&] { EncodeThroughObjectPath(source, none); }, repeats);
    double ourEncodeListened = BestSeconds([&] { EncodeThroughObjectPath(source, listener); }, repeats);
    double directDecode = BestSeconds([&] { DecodeDirectly(ours, directPixels); }, repeats);
    double ourDecode = BestSeconds([&] { DecodeThroughObjectPath(ours, decoded, none); }, repeats);
    double ourDecodeListened = BestSeconds([&] { DecodeThroughObjectPath(ours, decoded, listener); }, repeats);
    within &= Report("encode 4000x3000 (cjpeg loop)", ourEncode, directEncode);
    within &= Report("decode 4000x3000 (djpeg loop)", ourDecode, directDecode);
    Report("encode, with a progress listener", ourEncodeListened, directEncode);
    Report("decode, with a progress listener", ourDecodeListened, directDecode);
    return within ? 0 : 2;
}
