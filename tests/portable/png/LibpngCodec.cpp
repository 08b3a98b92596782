#include "LibpngCodec.h"

#include <png.h>

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

}  // namespace

std::vector<uint8_t> LibpngEncode(const LibpngPicture& p) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colorType,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < p.palette.size(); i += 3) palette.push_back({p.palette[i], p.palette[i + 1], p.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!p.trns.empty()) {
        png_color_16 key{};
        if (p.colorType == PNG_COLOR_TYPE_GRAY) key.gray = static_cast<png_uint_16>(p.trns[0] << 8 | p.trns[1]);
        if (p.colorType == PNG_COLOR_TYPE_RGB) {
            key.red = static_cast<png_uint_16>(p.trns[0] << 8 | p.trns[1]);
            key.green = static_cast<png_uint_16>(p.trns[2] << 8 | p.trns[3]);
            key.blue = static_cast<png_uint_16>(p.trns[4] << 8 | p.trns[5]);
        }
        const bool indexed = p.colorType == PNG_COLOR_TYPE_PALETTE;
        png_set_tRNS(png, info, indexed ? p.trns.data() : nullptr, indexed ? static_cast<int>(p.trns.size()) : 0,
                     indexed ? nullptr : &key);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : p.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> LibpngDecodeBgra(const std::vector<uint8_t>& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width), height = static_cast<int>(image.height);
    return pixels;
}
