#pragma once
// JPEG to GIF on two threads: one decodes the photograph while the other reduces the rows
// already decoded to the web palette and LZW-codes them, so that the whole conversion takes
// about as long as its slower half. The file is byte for byte what a GIF picture with the
// default settings writes after being assigned the decoded picture. A photo that its EXIF
// orientation turns upright has its rows final only once all are decoded, so for it the two
// halves run one after the other.
#include "picture/JpegDecoder.h"
#include "toolkit/Streams.h"

// True when the picture decodes to 24 bits per pixel with these settings: not grey, and not
// quantised to 8 bits.
bool JpegDecodesToTrueColor(const TJpegHeader& header, const TJpegSettings& settings);

// Decodes the JPEG data from the stream's position, with the settings, into the rows the
// target prepares (on this thread, at 24 bits: JpegDecodesToTrueColor must hold), and writes
// the GIF to `out` meanwhile. The first error of either side (the decoder's EJPEG, the
// target's, the writer's) is thrown once both threads have ended; `out` then holds part of
// a file, to be thrown away.
void PipeJpegToGif(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out);
