#include "picture/jpeg/JpegErrorRoutines.h"

#include "base/Exceptions.h"

namespace {

// libjpeg is built with unwind tables, so the exception passes through its frames to the
// caller, whose RAII holders destroy the compressor or decompressor.
void ThrowJpegError(j_common_ptr info) { throw EJPEG(info->err->msg_code); }

void DropMessage(j_common_ptr, int) {}

void DropOutput(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* UseProgramErrorRoutines(jpeg_error_mgr& errors) {
    jpeg_std_error(&errors);
    errors.error_exit = ThrowJpegError;
    errors.emit_message = DropMessage;
    errors.output_message = DropOutput;
    return &errors;
}
