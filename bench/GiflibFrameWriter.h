#pragma once
// giflib as the LZW coding races' peer: a frame of the program's GIF model written by
// EGifPutLine, row by row, into memory.
#include <gif_lib.h>

#include <vector>

#include "gif/codec/GifImageModel.h"

inline int GiflibWriteToVector(GifFileType* file, const GifByteType* data, int count) {
    auto* out = static_cast<std::vector<uint8_t>*>(file->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

inline std::vector<uint8_t> GiflibEncode(const TGIFSubImage& frame) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, GiflibWriteToVector, &error);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < frame.ColorMap.Count(); ++i)
        map->Colors[i] = {frame.ColorMap[i].Red, frame.ColorMap[i].Green, frame.ColorMap[i].Blue};
    EGifPutScreenDesc(file, frame.Width(), frame.Height(), 8, 0, nullptr);
    EGifPutImageDesc(file, 0, 0, frame.Width(), frame.Height(), false, map);
    for (int y = 0; y < frame.Height(); ++y)
        EGifPutLine(file, const_cast<GifPixelType*>(frame.ScanLine(y)), frame.Width());
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
}
