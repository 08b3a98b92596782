#pragma once
// JPEG to PNG on two threads: one decodes the photograph while the other filters and deflates
// the rows already decoded into an RGB PNG.
#include "convert/JpegRowPipeline.h"

// PipeJpegRows with the PNG writer (RGB, the program's compression) writing to `out`.
void PipeJpegToPng(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out);
