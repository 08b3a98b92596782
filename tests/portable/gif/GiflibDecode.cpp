#include "GiflibDecode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

struct MemoryInput {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

int ReadMemory(GifFileType* file, GifByteType* out, int count) {
    auto* in = static_cast<MemoryInput*>(file->UserData);
    size_t n = std::min<size_t>(static_cast<size_t>(count), in->bytes->size() - in->position);
    std::memcpy(out, in->bytes->data() + in->position, n);
    in->position += n;
    return static_cast<int>(n);
}

std::vector<TGIFColor> Colors(const ColorMapObject* map) {
    std::vector<TGIFColor> colors;
    if (!map) return colors;
    for (int i = 0; i < map->ColorCount; ++i)
        colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return colors;
}

}  // namespace

TDecodedGif DecodeWithGiflib(const std::vector<uint8_t>& bytes) {
    TDecodedGif result;
    MemoryInput input{&bytes, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&input, ReadMemory, &error);
    if (!file) {
        result.Error = GifErrorString(error) ? GifErrorString(error) : "open failed";
        return result;
    }
    if (DGifSlurp(file) != GIF_OK) {
        result.Error = GifErrorString(file->Error) ? GifErrorString(file->Error) : "slurp failed";
        DGifCloseFile(file, &error);
        return result;
    }
    result.ScreenWidth = file->SWidth;
    result.ScreenHeight = file->SHeight;
    result.GlobalColors = Colors(file->SColorMap);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        TDecodedFrame frame;
        frame.Left = image.ImageDesc.Left;
        frame.Top = image.ImageDesc.Top;
        frame.Width = image.ImageDesc.Width;
        frame.Height = image.ImageDesc.Height;
        frame.Interlaced = image.ImageDesc.Interlace;
        frame.LocalColors = Colors(image.ImageDesc.ColorMap);
        frame.Pixels.assign(image.RasterBits, image.RasterBits + static_cast<size_t>(frame.Width) * frame.Height);
        result.ExtensionBlocks += image.ExtensionBlockCount;
        result.Frames.push_back(std::move(frame));
    }
    result.Ok = true;
    DGifCloseFile(file, &error);
    return result;
}
