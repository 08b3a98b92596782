#include "picture/jpeg/JpegEncoder.h"

#include <vector>

#include "base/Exceptions.h"
#include "picture/jpeg/JpegErrorRoutines.h"
#include "picture/jpeg/JpegLib.h"
#include "picture/jpeg/JpegStreamGlue.h"

namespace {

// A libjpeg compressor with the program's error routines, stream destination and progress
// monitor, destroyed on every path.
class Compressor {
public:
    Compressor(TStream& compressed, const TJpegProgressHandler& progress) : monitor_(progress) {
        info_.err = UseProgramErrorRoutines(errors_);
        jpeg_create_compress(&info_);
        destination_.Attach(&info_, compressed);
        monitor_.Attach(reinterpret_cast<j_common_ptr>(&info_));
    }
    ~Compressor() { jpeg_destroy_compress(&info_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    j_compress_ptr Info() { return &info_; }
    const TJpegProgressMonitor& Monitor() const { return monitor_; }

private:
    jpeg_error_mgr errors_{};
    jpeg_compress_struct info_{};
    TJpegStreamDestination destination_;
    TJpegProgressMonitor monitor_;
};

void SetParameters(j_compress_ptr info, const TJpegSourceRows& rows, const TJpegSettings& settings) {
    info->image_width = static_cast<JDIMENSION>(rows.Width);
    info->image_height = static_cast<JDIMENSION>(rows.Height);
    info->input_components = 3;
    info->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(info);
    // libjpeg's own scaling reads 0 as 1, as the program's quality slider expects.
    jpeg_set_quality(info, settings.QualityLevel, TRUE);
    if (settings.GrayOutput) jpeg_set_colorspace(info, JCS_GRAYSCALE);
    if (settings.WriteProgressive) jpeg_simple_progression(info);
}

JSAMPROW RowAt(const TJpegSourceRows& rows, JDIMENSION y) {
    // libjpeg's row type is not const, but it only reads the rows it is given.
    return const_cast<JSAMPROW>(rows.FirstRow + static_cast<ptrdiff_t>(y) * rows.RowStep);
}

void WriteRows(j_compress_ptr info, const TJpegSourceRows& rows) {
    const JDIMENSION height = info->image_height;
    if (rows.RowStep > 0 && rows.RowStep % 4 == 0) {
        std::vector<JSAMPROW> pointers(height);
        for (JDIMENSION y = 0; y < height; ++y) pointers[y] = RowAt(rows, y);
        while (info->next_scanline < height) {
            JDIMENSION next = info->next_scanline;
            jpeg_write_scanlines(info, pointers.data() + next, height - next);
        }
        return;
    }
    while (info->next_scanline < height) {
        JSAMPROW row = RowAt(rows, info->next_scanline);
        jpeg_write_scanlines(info, &row, 1);
    }
}

}  // namespace

bool EncodeJpeg(const TJpegSourceRows& rows, const TJpegSettings& settings, TStream& compressed,
                const TJpegProgressHandler& progress) {
    Compressor compressor(compressed, progress);
    j_compress_ptr info = compressor.Info();
    try {
        TJpegProgressBracket bracket(compressor.Monitor());
        SetParameters(info, rows, settings);
        jpeg_start_compress(info, TRUE);
        WriteRows(info, rows);
        jpeg_finish_compress(info);
        bracket.Succeeded();
    } catch (const EAbort&) {
        return false;
    }
    return true;
}
