#pragma once
// The error routines every libjpeg compressor and decompressor of the program gets.
#include "picture/jpeg/JpegLib.h"

// Fills `errors` with libjpeg's standard routines, then replaces the error exit by one that
// throws EJPEG with libjpeg's message code, and silences warnings and trace messages so that
// a damaged but readable file decodes as far as libjpeg can take it.
jpeg_error_mgr* UseProgramErrorRoutines(jpeg_error_mgr& errors);

// Work memory libjpeg may take for its whole-image buffers (progressive and multi-scan
// files); beyond it libjpeg asks for a backing store, which the program has none of, and
// the decode fails with EJPEG instead of exhausting a 32-bit address space.
inline constexpr long JpegWorkMemoryLimit = 512L * 1024 * 1024;
