#include "picture/jpeg/JpegStreamGlue.h"

void TJpegStreamSource::Attach(j_decompress_ptr info, TStream& stream) {
    stream_ = &stream;
    startOfFile_ = true;
    hook_.owner = this;
    jpeg_source_mgr& m = hook_.manager;
    m.init_source = Init;
    m.fill_input_buffer = Fill;
    m.skip_input_data = Skip;
    m.resync_to_restart = jpeg_resync_to_restart;
    m.term_source = Term;
    m.bytes_in_buffer = 0;
    m.next_input_byte = nullptr;
    info->src = &m;
}

void TJpegStreamSource::Init(j_decompress_ptr info) {
    reinterpret_cast<LibraryHook*>(info->src)->owner->startOfFile_ = true;
}

boolean TJpegStreamSource::Fill(j_decompress_ptr info) {
    TJpegStreamSource* self = reinterpret_cast<LibraryHook*>(info->src)->owner;
    size_t got = self->stream_->Read(self->buffer_, JpegStreamBufferSize);
    if (got == 0) {
        if (self->startOfFile_) ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        self->buffer_[0] = 0xFF;
        self->buffer_[1] = JPEG_EOI;
        got = 2;
    }
    self->hook_.manager.next_input_byte = self->buffer_;
    self->hook_.manager.bytes_in_buffer = got;
    self->startOfFile_ = false;
    return TRUE;
}

void TJpegStreamSource::Skip(j_decompress_ptr info, long count) {
    jpeg_source_mgr& m = reinterpret_cast<LibraryHook*>(info->src)->manager;
    if (count <= 0) return;
    size_t left = static_cast<size_t>(count);
    while (left > m.bytes_in_buffer) {
        left -= m.bytes_in_buffer;
        // Fill never suspends: at the end of the data it supplies an end-of-image marker.
        Fill(info);
    }
    m.next_input_byte += left;
    m.bytes_in_buffer -= left;
}

void TJpegStreamSource::Term(j_decompress_ptr) {}

void TJpegStreamDestination::Attach(j_compress_ptr info, TStream& stream) {
    stream_ = &stream;
    hook_.owner = this;
    jpeg_destination_mgr& m = hook_.manager;
    m.init_destination = Init;
    m.empty_output_buffer = Empty;
    m.term_destination = Term;
    info->dest = &m;
}

void TJpegStreamDestination::Init(j_compress_ptr info) {
    LibraryHook* hook = reinterpret_cast<LibraryHook*>(info->dest);
    hook->manager.next_output_byte = hook->owner->buffer_;
    hook->manager.free_in_buffer = JpegStreamBufferSize;
}

boolean TJpegStreamDestination::Empty(j_compress_ptr info) {
    // libjpeg calls this only with the whole buffer full, whatever free_in_buffer says.
    TJpegStreamDestination* self = reinterpret_cast<LibraryHook*>(info->dest)->owner;
    self->WriteOut(info, JpegStreamBufferSize);
    Init(info);
    return TRUE;
}

void TJpegStreamDestination::Term(j_compress_ptr info) {
    LibraryHook* hook = reinterpret_cast<LibraryHook*>(info->dest);
    hook->owner->WriteOut(info, JpegStreamBufferSize - hook->manager.free_in_buffer);
}

void TJpegStreamDestination::WriteOut(j_compress_ptr info, size_t count) {
    if (count > 0 && stream_->Write(buffer_, count) != count) ERREXIT(info, JERR_FILE_WRITE);
}
