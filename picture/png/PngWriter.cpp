#include "picture/png/PngWriter.h"

#include <spng.h>

#include <algorithm>
#include <exception>

#include "base/Exceptions.h"

namespace {

[[noreturn]] void ThrowEncoderError(int error) { throw EPNG(error, Format(ErrorText::PngError, error)); }

void Check(int error) {
    if (error) ThrowEncoderError(error);
}

uint8_t ColorTypeOf(TPngLayout layout) {
    switch (layout) {
    case TPngLayout::Rgb: return SPNG_COLOR_TYPE_TRUECOLOR;
    case TPngLayout::Rgba: return SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    case TPngLayout::Palette: break;
    }
    return SPNG_COLOR_TYPE_INDEXED;
}

int BytesPerPixel(TPngLayout layout) { return layout == TPngLayout::Rgb ? 3 : layout == TPngLayout::Rgba ? 4 : 1; }

}  // namespace

TPngCompression DefaultPngCompression(TPngLayout layout) {
    TPngCompression compression;
    // Palette rows filter badly (their bytes are no samples); true colour rows need the filters.
    compression.AdaptiveFilters = layout != TPngLayout::Palette;
    compression.Level = layout == TPngLayout::Palette ? 6 : 4;
    return compression;
}

struct TPngWriter::TState {
    TStream& out;
    spng_ctx* ctx = nullptr;
    int32_t width, height, rowsAdded = 0;
    TPngLayout layout;
    std::vector<uint8_t> row;  // the row turned to red-first order
    std::exception_ptr streamError;

    TState(TStream& o, int32_t w, int32_t h, TPngLayout l) : out(o), width(w), height(h), layout(l) {}
    ~TState() { spng_ctx_free(ctx); }

    // libspng's output: into the caller's stream; its error is kept and thrown after the call.
    static int Write(spng_ctx*, void* user, void* data, size_t length) {
        auto* self = static_cast<TState*>(user);
        try {
            self->out.WriteBuffer(data, length);
            return 0;
        } catch (...) {
            self->streamError = std::current_exception();
            return SPNG_EIO;
        }
    }
    void Call(int error) {
        if (streamError) std::rethrow_exception(streamError);
        Check(error);
    }
};

TPngWriter::TPngWriter(TStream& out, int32_t width, int32_t height, TPngLayout layout,
                       const std::vector<TPngPaletteEntry>& palette)
    : TPngWriter(out, width, height, layout, palette, DefaultPngCompression(layout)) {}

TPngWriter::TPngWriter(TStream& out, int32_t width, int32_t height, TPngLayout layout,
                       const std::vector<TPngPaletteEntry>& palette, const TPngCompression& compression)
    : state_(std::make_unique<TState>(out, width, height, layout)) {
    if (width <= 0 || height <= 0 || (layout == TPngLayout::Palette && (palette.empty() || palette.size() > 256)))
        ThrowEncoderError(SPNG_EINTERNAL);
    spng_ctx* ctx = state_->ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    if (!ctx) ThrowEncoderError(SPNG_EMEM);
    state_->row.resize(static_cast<size_t>(width) * BytesPerPixel(layout));
    Check(spng_set_png_stream(ctx, &TState::Write, state_.get()));
    Check(spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, compression.Level));
    Check(spng_set_option(ctx, SPNG_FILTER_CHOICE,
                          compression.AdaptiveFilters ? SPNG_FILTER_CHOICE_ALL : SPNG_FILTER_CHOICE_NONE));
    spng_ihdr ihdr{};
    ihdr.width = static_cast<uint32_t>(width);
    ihdr.height = static_cast<uint32_t>(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = ColorTypeOf(layout);
    Check(spng_set_ihdr(ctx, &ihdr));
    if (layout == TPngLayout::Palette) {
        spng_plte plte{};
        spng_trns trns{};
        plte.n_entries = static_cast<uint32_t>(palette.size());
        for (size_t i = 0; i < palette.size(); ++i) {
            plte.entries[i] = {palette[i].Red, palette[i].Green, palette[i].Blue, 255};
            trns.type3_alpha[i] = palette[i].Alpha;
            if (palette[i].Alpha != 255) trns.n_type3_entries = static_cast<uint32_t>(i + 1);
        }
        Check(spng_set_plte(ctx, &plte));
        if (trns.n_type3_entries) Check(spng_set_trns(ctx, &trns));
    }
    state_->Call(spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE));
}

TPngWriter::~TPngWriter() = default;

void TPngWriter::AddRow(const uint8_t* source) {
    TState& s = *state_;
    if (s.rowsAdded >= s.height) ThrowEncoderError(SPNG_EOI);
    const int bpp = BytesPerPixel(s.layout);
    if (bpp == 1) {
        std::copy(source, source + s.width, s.row.begin());
    } else {
        uint8_t* out = s.row.data();
        for (int32_t x = 0; x < s.width; ++x, source += bpp, out += bpp) {
            out[0] = source[2], out[1] = source[1], out[2] = source[0];
            if (bpp == 4) out[3] = source[3];
        }
    }
    const int error = spng_encode_row(s.ctx, s.row.data(), s.row.size());
    ++s.rowsAdded;
    s.Call(error == SPNG_EOI && s.rowsAdded == s.height ? 0 : error);
}

void TPngWriter::Finish() {
    if (state_->rowsAdded != state_->height) ThrowEncoderError(SPNG_ENOTFINAL);
}
