#include "GiflibPeer.h"

#include <gif_lib.h>

#include <cstdlib>
#include <cstring>

#include "gif/codec/GifReader.h"

namespace giftest {

namespace {

struct Cursor {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

int ReadFromVector(GifFileType* gif, GifByteType* out, int count) {
    auto* cursor = static_cast<Cursor*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(count), cursor->bytes->size() - cursor->pos);
    std::memcpy(out, cursor->bytes->data() + cursor->pos, n);
    cursor->pos += n;
    return static_cast<int>(n);
}

int WriteToVector(GifFileType* gif, const GifByteType* data, int count) {
    auto* sink = static_cast<std::vector<uint8_t>*>(gif->UserData);
    sink->insert(sink->end(), data, data + count);
    return count;
}

ColorMapObject* MakeMap(int colors, int salt) {
    std::vector<GifColorType> entries(static_cast<size_t>(colors));
    for (int i = 0; i < colors; ++i)
        entries[static_cast<size_t>(i)] = GifColorType{static_cast<GifByteType>(i * 3 + salt),
                                                       static_cast<GifByteType>(255 - i),
                                                       static_cast<GifByteType>(i * 11 + salt)};
    return GifMakeMapObject(colors, entries.data());
}

bool PutLoop(GifFileType* gif, int loops) {
    unsigned char id[] = "NETSCAPE2.0";
    unsigned char data[] = {1, static_cast<unsigned char>(loops), static_cast<unsigned char>(loops >> 8)};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, id) == GIF_OK && EGifPutExtensionBlock(gif, 3, data) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutFrame(GifFileType* gif, const PeerFrame& f, int salt) {
    if (f.transparentIndex >= 0 || f.delay || f.disposal) {
        GraphicsControlBlock gcb{f.disposal, false, f.delay, f.transparentIndex};
        GifByteType block[4];
        size_t len = EGifGCBToExtension(&gcb, block);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), block) != GIF_OK) return false;
    }
    ColorMapObject* local = f.localColors ? MakeMap(f.localColors, salt) : nullptr;
    // giflib keeps a copy of each local table and forgets the previous one: free it here.
    GifFreeMapObject(gif->Image.ColorMap);
    gif->Image.ColorMap = nullptr;
    bool ok = EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local) == GIF_OK;
    GifFreeMapObject(local);
    // giflib's line writer takes the rows in the order they are stored in the file.
    std::vector<uint32_t> rows;
    if (f.interlaced) {
        InterlacedRowOrder(static_cast<uint32_t>(f.height), rows);
    } else {
        for (int r = 0; r < f.height; ++r) rows.push_back(static_cast<uint32_t>(r));
    }
    std::vector<GifPixelType> line(static_cast<size_t>(f.width));
    for (uint32_t r : rows) {
        if (!ok) break;
        std::memcpy(line.data(), f.pixels.data() + static_cast<size_t>(r) * static_cast<size_t>(f.width), line.size());
        ok = EGifPutLine(gif, line.data(), f.width) == GIF_OK;
    }
    return ok;
}

}  // namespace

std::vector<uint8_t> WriteWithGiflib(const PeerImage& image) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (!gif) return {};
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = image.globalColors ? MakeMap(image.globalColors, 0) : nullptr;
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, 8, 0, global) == GIF_OK;
    GifFreeMapObject(global);
    for (size_t i = 0; ok && i < image.frames.size(); ++i) {
        if (i == 0 && image.loops >= 0) ok = PutLoop(gif, image.loops);
        ok = ok && PutFrame(gif, image.frames[i], static_cast<int>(i) + 1);
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    return ok ? out : std::vector<uint8_t>{};
}

PeerImage ReadWithGiflib(const std::vector<uint8_t>& bytes, bool& ok) {
    PeerImage image;
    Cursor cursor{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, ReadFromVector, &error);
    ok = gif && DGifSlurp(gif) == GIF_OK;
    if (!ok) {
        if (gif) DGifCloseFile(gif, &error);
        return image;
    }
    image.width = gif->SWidth;
    image.height = gif->SHeight;
    image.globalColors = gif->SColorMap ? gif->SColorMap->ColorCount : 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& s = gif->SavedImages[i];
        PeerFrame f;
        f.left = s.ImageDesc.Left, f.top = s.ImageDesc.Top;
        f.width = s.ImageDesc.Width, f.height = s.ImageDesc.Height;
        f.interlaced = s.ImageDesc.Interlace;
        f.localColors = s.ImageDesc.ColorMap ? s.ImageDesc.ColorMap->ColorCount : 0;
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            f.transparentIndex = gcb.TransparentColor;
            f.delay = gcb.DelayTime;
            f.disposal = gcb.DisposalMode;
        }
        f.pixels.assign(s.RasterBits, s.RasterBits + static_cast<size_t>(f.width) * static_cast<size_t>(f.height));
        image.frames.push_back(std::move(f));
    }
    DGifCloseFile(gif, &error);
    return image;
}

bool RunWithTimeLimit(const std::string& command, int seconds) {
    std::string limited = "timeout -k 5 " + std::to_string(seconds) + " sh -c '" + command + "' >/dev/null 2>&1";
    return std::system(limited.c_str()) == 0;
}

}  // namespace giftest
