#pragma once
// JPEG to GIF on two threads: one decodes the photograph while the other reduces the rows
// already decoded to the web palette and LZW-codes them. The file is byte for byte what a GIF
// picture with the default settings writes after being assigned the decoded picture.
#include "convert/JpegRowPipeline.h"

// PipeJpegRows with the web-palette GIF writer writing to `out`.
void PipeJpegToGif(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out);
