#include "picture/jpeg/JpegDecoder.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "picture/jpeg/ExifOrientation.h"
#include "picture/jpeg/JpegErrorRoutines.h"
#include "picture/jpeg/JpegLib.h"
#include "picture/jpeg/JpegStreamGlue.h"
#include "picture/jpeg/TurnUpright.h"
#include "picture/jpeg/UprightDecodeTarget.h"

namespace {

// A libjpeg decompressor with the program's error routines, stream source and progress
// monitor, destroyed on every path.
class Decompressor {
public:
    Decompressor(TStream& compressed, const TJpegProgressHandler& progress) : monitor_(progress) {
        info_.err = UseProgramErrorRoutines(errors_);
        jpeg_create_decompress(&info_);
        info_.mem->max_memory_to_use = JpegWorkMemoryLimit;
        source_.Attach(&info_, compressed);
        monitor_.Attach(reinterpret_cast<j_common_ptr>(&info_));
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    j_decompress_ptr Info() { return &info_; }
    const TJpegProgressMonitor& Monitor() const { return monitor_; }

private:
    jpeg_error_mgr errors_{};
    jpeg_decompress_struct info_{};
    TJpegStreamSource source_;
    TJpegProgressMonitor monitor_;
};

// Keeps the APP1 segments for the orientation, whole (a segment holds at most 65533 bytes).
void KeepExifSegments(j_decompress_ptr info) { jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF); }

// The orientation of the first APP1 segment that holds EXIF data; as stored without one.
int OrientationOf(j_decompress_ptr info) {
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1 || !IsExifSegment(marker->data, marker->data_length)) continue;
        return ExifOrientation(marker->data, marker->data_length);
    }
    return ExifOrientationAsStored;
}

void SetScale(j_decompress_ptr info, TJpegReductionScale scale) {
    info->scale_num = 1;
    info->scale_denom = 1u << static_cast<unsigned>(scale);
}

// The decoder knobs that may differ between the passes of a progressive display.
struct PassSettings {
    J_DCT_METHOD dctMethod;
    J_DITHER_MODE ditherMode;
    boolean twoPassQuantize;
};

PassSettings CurrentPassSettings(j_decompress_ptr info) {
    return {info->dct_method, info->dither_mode, info->two_pass_quantize};
}

void UsePassSettings(j_decompress_ptr info, const PassSettings& pass) {
    info->dct_method = pass.dctMethod;
    info->dither_mode = pass.ditherMode;
    info->two_pass_quantize = pass.twoPassQuantize;
}

const PassSettings FastPass{JDCT_IFAST, JDITHER_ORDERED, FALSE};

// CMYK and YCCK files come out of libjpeg as CMYK, which a bitmap cannot hold: they are turned
// into RGB here. Files with an Adobe marker store the inks inverted, as Adobe's programs write.
class CmykConverter {
public:
    explicit CmykConverter(bool inverted) : inverted_(inverted) {}
    TJpegColor ToColor(const uint8_t* cmyk) const {
        int k = Ink(cmyk[3]);
        return {Channel(cmyk[0], k), Channel(cmyk[1], k), Channel(cmyk[2], k)};
    }
    void ConvertRow(const uint8_t* cmyk, uint8_t* bgr, size_t width) const {
        for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
            TJpegColor c = ToColor(cmyk);
            bgr[0] = c.Blue;
            bgr[1] = c.Green;
            bgr[2] = c.Red;
        }
    }

private:
    // The amount of light left, 0..255, for a stored ink value.
    int Ink(uint8_t stored) const { return inverted_ ? stored : 255 - stored; }
    uint8_t Channel(uint8_t stored, int key) const { return static_cast<uint8_t>((Ink(stored) * key + 127) / 255); }
    bool inverted_;
};

class OutputPlan {
public:
    OutputPlan(j_decompress_ptr info, const TJpegSettings& settings) : info_(info) {
        SetScale(info, settings.ReductionScale);
        info->do_block_smoothing = settings.BlockSmoothing ? TRUE : FALSE;
        if (settings.GrayOutput) info->out_color_space = JCS_GRAYSCALE;
        grey_ = info->out_color_space == JCS_GRAYSCALE;
        cmyk_ = info->out_color_space == JCS_CMYK;
        quantise_ = settings.OutputDepth == TJpegOutputDepth::Bits8 || grey_;
        // Full-colour rows go straight into the bitmap in its blue-green-red order; quantised
        // output is indices, and the colour map is then plain RGB.
        if (!grey_ && !cmyk_) info->out_color_space = quantise_ ? JCS_RGB : JCS_EXT_BGR;
        if (quantise_) {
            info->quantize_colors = TRUE;
            info->desired_number_of_colors = JpegQuantisedColours;
        }
        if (settings.SpeedMode == TJpegSpeedMode::BestSpeed) UsePassSettings(info, FastPass);
        buffered_ = settings.ShowProgressively && jpeg_has_multiple_scans(info);
        if (buffered_) {
            info->buffered_image = TRUE;
            info->enable_1pass_quant = TRUE;
            info->enable_2pass_quant = info->two_pass_quantize;
        }
    }

    bool Buffered() const { return buffered_; }
    int BitsPerPixel() const { return quantise_ ? 8 : 24; }

    // Tells `done` (when given) of the rows made final after each batch.
    void ReadRows(const TJpegRows& rows, TJpegDecodeTarget* done) {
        j_decompress_ptr info = info_;
        if (cmyk_ && !quantise_) return ReadCmykRows(rows, done);
        const bool batch = rows.RowStep > 0 && rows.RowStep % 4 == 0;
        std::vector<JSAMPROW> pointers(std::max(1, info->rec_outbuf_height));
        while (info->output_scanline < info->output_height) {
            JDIMENSION want = 1;
            if (batch) want = std::min<JDIMENSION>(static_cast<JDIMENSION>(pointers.size()),
                                                   info->output_height - info->output_scanline);
            for (JDIMENSION i = 0; i < want; ++i) pointers[i] = RowAt(rows, info->output_scanline + i);
            if (jpeg_read_scanlines(info, pointers.data(), want) == 0) break;
            if (done) done->RowsDecoded(static_cast<int32_t>(info->output_scanline));
        }
    }

    std::vector<TJpegColor> Palette() const {
        std::vector<TJpegColor> colors;
        if (!quantise_ || !info_->colormap) return colors;
        CmykConverter converter(info_->saw_Adobe_marker);
        for (int i = 0; i < info_->actual_number_of_colors; ++i) {
            JSAMPARRAY map = info_->colormap;
            switch (info_->out_color_components) {
            case 1: colors.push_back({map[0][i], map[0][i], map[0][i]}); break;
            case 3: colors.push_back({map[0][i], map[1][i], map[2][i]}); break;
            default: {
                const uint8_t cmyk[4] = {map[0][i], map[1][i], map[2][i], map[3][i]};
                colors.push_back(converter.ToColor(cmyk));
            }
            }
        }
        return colors;
    }

private:
    static JSAMPROW RowAt(const TJpegRows& rows, JDIMENSION y) {
        return rows.FirstRow + static_cast<ptrdiff_t>(y) * rows.RowStep;
    }

    void ReadCmykRows(const TJpegRows& rows, TJpegDecodeTarget* done) {
        j_decompress_ptr info = info_;
        std::vector<uint8_t> cmyk(static_cast<size_t>(info->output_width) * 4);
        CmykConverter converter(info->saw_Adobe_marker);
        while (info->output_scanline < info->output_height) {
            JSAMPROW row = cmyk.data();
            JDIMENSION y = info->output_scanline;
            if (jpeg_read_scanlines(info, &row, 1) == 0) break;
            converter.ConvertRow(cmyk.data(), RowAt(rows, y), info->output_width);
            if (done) done->RowsDecoded(static_cast<int32_t>(y + 1));
        }
    }

    j_decompress_ptr info_;
    bool grey_ = false, cmyk_ = false, quantise_ = false, buffered_ = false;
};

void ReadOnePass(OutputPlan& plan, const TJpegRows& rows, TJpegDecodeTarget& target, bool last) {
    plan.ReadRows(rows, last ? &target : nullptr);
    if (plan.BitsPerPixel() == 8) target.SetPalette(plan.Palette());
}

// Buffered-image mode: each scan is shown as it arrives, quickly; the last pass, once all
// input is in, uses the chosen settings.
void ReadPassByPass(j_decompress_ptr info, OutputPlan& plan, const TJpegRows& rows, TJpegDecodeTarget& target,
                    const TJpegProgressMonitor& monitor, const PassSettings& chosen) {
    for (;;) {
        const bool final = jpeg_input_complete(info);
        UsePassSettings(info, final ? chosen : FastPass);
        // Lets libjpeg pick the quantiser anew (fast colour cube or the picture's own map).
        if (info->quantize_colors) info->colormap = nullptr;
        jpeg_start_output(info, info->input_scan_number);
        ReadOnePass(plan, rows, target, final);
        jpeg_finish_output(info);
        if (final) return;
        monitor.Report(TJpegProgressStage::Running, 0, true);
    }
}

}  // namespace

TJpegHeader ReadJpegHeader(TStream& compressed, TJpegReductionScale scale) {
    Decompressor decompressor(compressed, {});
    j_decompress_ptr info = decompressor.Info();
    KeepExifSegments(info);
    jpeg_read_header(info, TRUE);
    TJpegHeader header;
    header.Orientation = OrientationOf(info);
    const bool swap = OrientationSwapsSides(header.Orientation);
    header.ImageWidth = static_cast<int32_t>(swap ? info->image_height : info->image_width);
    header.ImageHeight = static_cast<int32_t>(swap ? info->image_width : info->image_height);
    header.IsGray = info->jpeg_color_space == JCS_GRAYSCALE;
    header.MultiScan = jpeg_has_multiple_scans(info);
    SetScale(info, scale);
    jpeg_calc_output_dimensions(info);
    header.ScaledWidth = static_cast<int32_t>(swap ? info->output_height : info->output_width);
    header.ScaledHeight = static_cast<int32_t>(swap ? info->output_width : info->output_height);
    return header;
}

bool DecodeJpeg(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& outerTarget,
                const TJpegProgressHandler& progress) {
    Decompressor decompressor(compressed, progress);
    j_decompress_ptr info = decompressor.Info();
    TUprightDecodeTarget target(outerTarget);
    try {
        TJpegProgressBracket bracket(decompressor.Monitor());
        KeepExifSegments(info);
        jpeg_read_header(info, TRUE);
        target.SetOrientation(OrientationOf(info));
        OutputPlan plan(info, settings);
        const PassSettings chosen = CurrentPassSettings(info);
        if (plan.Buffered()) UsePassSettings(info, FastPass);
        jpeg_start_decompress(info);
        TJpegRows rows = target.PrepareRows(static_cast<int32_t>(info->output_width),
                                            static_cast<int32_t>(info->output_height), plan.BitsPerPixel());
        if (plan.Buffered()) {
            ReadPassByPass(info, plan, rows, target, decompressor.Monitor(), chosen);
        } else {
            ReadOnePass(plan, rows, target, true);
        }
        jpeg_finish_decompress(info);
        target.Complete();
        bracket.Succeeded();
    } catch (const EAbort&) {
        target.TurnWhatWasDecoded();
        return false;
    }
    return true;
}
