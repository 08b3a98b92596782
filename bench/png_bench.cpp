// The PNG benchmarks, side by side in one run, each with its verdict:
//  1. decoding a 12-megapixel photograph (RGB) and a 1920 x 1080 screenshot-like RGBA picture
//     with the program's reader against libpng 1.6 over the same zlib (processor time);
//  2. a whole 4000 x 3000 JPEG photograph to PNG as the program converts it (decoding on one
//     thread while the other filters and deflates), against ImageMagick's
//     "convert photo.jpg photo.png": at least 3 times as fast in wall time, with a file no more
//     than 5 % larger; the file must be byte for byte the one the stages write one after the
//     other.
// The photograph is made once in the work folder with ImageMagick's plasma generator.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ProcessorName.h"
#include "ProcessorTime.h"
#include "base/FileStream.h"
#include "bench/BenchFiles.h"
#include "convert/JpegPngPipeline.h"
#include "picture/png/PngReader.h"
#include "picture/png/PngWriter.h"

namespace {

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// The program's reader into one buffer, as it fills a bitmap's rows.
class TBufferRows : public TPngDecodeTarget {
public:
    TPngRows PrepareRows(const TPngHeader& header) override {
        bytes.resize(size_t(header.Width) * size_t(header.Height) * header.BytesPerPixel());
        return {bytes.data(), static_cast<ptrdiff_t>(header.Width) * header.BytesPerPixel()};
    }
    std::vector<uint8_t> bytes;
};

struct TLibpngInput {
    const std::vector<uint8_t>* file;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* in = static_cast<TLibpngInput*>(png_get_io_ptr(png));
    if (length > in->file->size() - in->at) png_error(png, "end of data");
    std::memcpy(out, in->file->data() + in->at, length);
    in->at += length;
}

// libpng's whole-picture read into one buffer, 8 bits a sample, with the transparency chunk as
// alpha: the same work as the program's reader.
void LibpngDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    TLibpngInput input{&file, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &input, ReadFromMemory);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_bgr(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info), height = png_get_image_height(png, info);
    out.resize(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) rows[y] = out.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

// A screen's worth of a desktop: flat panels, thin lines and text-like strokes, an icon-like
// round shape with soft edges, and a window shadow fading out.
std::vector<uint8_t> MakeScreenshotPng() {
    constexpr int W = 1920, H = 1080;
    std::vector<uint8_t> rgba(size_t(W) * H * 4);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint8_t* p = &rgba[(size_t(y) * W + x) * 4];
            const bool panel = (x / 480 + y / 270) % 2 == 0;
            const bool text = (y % 18 > 4 && y % 18 < 14) && ((x * 7 + y * 3) % 11 < 4) && x % 480 > 40;
            const int dx = x % 240 - 120, dy = y % 240 - 120, r2 = dx * dx + dy * dy;
            p[0] = text ? 20 : panel ? 240 : 45;
            p[1] = text ? 20 : panel ? 240 : uint8_t(50 + y / 20);
            p[2] = text ? 20 : panel ? 236 : 60;
            p[3] = r2 < 80 * 80 ? 255 : r2 < 100 * 100 ? uint8_t(255 - (r2 - 6400) / 14) : y > 1000 ? uint8_t((H - y) * 3) : 255;
        }
    TMemoryStream out;
    TPngWriter writer(out, W, H, TPngLayout::Rgba);
    for (int y = 0; y < H; ++y) writer.AddRow(&rgba[size_t(y) * W * 4]);
    writer.Finish();
    return out.Bytes();
}

bool BenchDecode(const char* name, const std::vector<uint8_t>& file) {
    TBufferRows ours;
    std::vector<uint8_t> theirs;
    const double ourTime = BestSeconds([&] { DecodePng(file.data(), file.size(), ours); }, 5);
    const double theirTime = BestSeconds([&] { LibpngDecode(file, theirs); }, 5);
    const bool same = ours.bytes == theirs;
    const bool met = same && ourTime <= theirTime;
    std::printf("PNG decoding, %s: ours %.1f ms, libpng %.1f ms processor: %.2fx as fast, pixels %s: %s\n", name,
                ourTime * 1e3, theirTime * 1e3, theirTime / ourTime, same ? "the same" : "DIFFER", met ? "met" : "NOT met");
    return met;
}

// Decodes the JPEG, then writes every row: the file the two threads must match.
void JpegToPngInTurn(const std::vector<uint8_t>& jpeg, TMemoryStream& out) {
    struct TRows : TJpegDecodeTarget {
        TJpegRows PrepareRows(int32_t w, int32_t h, int) override {
            width = w, height = h;
            bytes.resize(size_t(w) * size_t(h) * 3);
            return {bytes.data(), static_cast<ptrdiff_t>(w) * 3};
        }
        void SetPalette(const std::vector<TJpegColor>&) override {}
        int32_t width = 0, height = 0;
        std::vector<uint8_t> bytes;
    } rows;
    TMemoryStream in(jpeg);
    DecodeJpeg(in, {}, rows);
    TPngWriter writer(out, rows.width, rows.height, TPngLayout::Rgb);
    for (int32_t y = 0; y < rows.height; ++y) writer.AddRow(&rows.bytes[size_t(y) * size_t(rows.width) * 3]);
    writer.Finish();
}

bool BenchJpegToPng(const std::string& folder, const std::string& photo) {
    const std::string ourPath = folder + "/bench-ours.png", theirPath = folder + "/bench-convert.png";
    const std::vector<uint8_t> jpeg = FileBytes(photo);
    TMemoryStream inTurn;
    const double inTurnWall = BestWall([&] { inTurn.Clear(), JpegToPngInTurn(jpeg, inTurn); }, 1);
    TMemoryStream ours;
    const double ourWall = BestWall([&] {
        ours.Clear();
        TMemoryStream in(jpeg);
        struct TRows : TJpegDecodeTarget {
            TJpegRows PrepareRows(int32_t w, int32_t h, int) override {
                bytes.resize(size_t(w) * size_t(h) * 3);
                return {bytes.data(), static_cast<ptrdiff_t>(w) * 3};
            }
            void SetPalette(const std::vector<TJpegColor>&) override {}
            std::vector<uint8_t> bytes;
        } rows;
        PipeJpegToPng(in, {}, rows, ours);
        SaveFileSafely(ourPath, [&](TStream& file) { ours.SaveToStream(file); });
    }, 3);
    const double theirWall = BestWall([&] { Run("/usr/bin/convert " + photo + " " + theirPath); }, 2);
    const bool same = ours.Bytes() == inTurn.Bytes();
    const double ourSize = double(ours.Bytes().size()), theirSize = double(FileBytes(theirPath).size());
    const double speedUp = theirWall / ourWall, sizeRatio = ourSize / theirSize;
    const bool met = same && speedUp >= 3.0 && sizeRatio <= 1.05;
    std::printf("JPEG to PNG 4000x3000 one stage after the other: %.0f ms wall\n", inTurnWall * 1e3);
    std::printf("JPEG to PNG 4000x3000 on two threads: %.0f ms wall, %.0f bytes; the PNG is %s the "
                "one-after-the-other PNG\n", ourWall * 1e3, ourSize, same ? "byte for byte" : "NOT");
    std::printf("ImageMagick convert photo.jpg photo.png: %.0f ms wall, %.0f bytes\n", theirWall * 1e3, theirSize);
    std::printf("JPEG to PNG whole: %.2fx as fast (target at least 3), file %.3f of ImageMagick's (target at most "
                "1.05): %s\n", speedUp, sizeRatio, met ? "met" : "NOT met");
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : argv[0];
    if (argc <= 1) folder = folder.substr(0, folder.find_last_of('/'));
    std::printf("processor: %s\n", ProcessorName().c_str());
    const std::string photo = MakePhoto(folder, 4000, 3000);
    const std::string photoPng = folder + "/bench-photo-4000x3000.png";
    if (!std::ifstream(photoPng)) Run("/usr/bin/convert " + photo + " " + photoPng);
    bool met = BenchDecode("12-megapixel photograph (RGB)", FileBytes(photoPng));
    met &= BenchDecode("1920x1080 screenshot (RGBA)", MakeScreenshotPng());
    met &= BenchJpegToPng(folder, photo);
    std::printf("PNG benchmarks: %s\n", met ? "all met" : "NOT all met");
    return 0;
}
