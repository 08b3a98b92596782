#include "TestIcons.h"

#include <filesystem>

#include "toolkit/GdiGuards_win.h"

namespace {

// A 32-bit top-down section filled with one colour, with a context to draw on it.
class TDrawingSurface {
public:
    TDrawingSurface(int width, int height, COLORREF background) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_ = static_cast<uint32_t*>(bits);
        selection_ = std::make_unique<TSelection>(dc_.Get(), bitmap_.Get());
        TBrushHandle brush(CreateSolidBrush(background));
        RECT all{0, 0, width, height};
        FillRect(dc_.Get(), &all, brush.Get());
    }
    HDC Dc() const { return dc_.Get(); }
    uint32_t Rgb(int x, int y) const {
        GdiFlush();
        return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    uint32_t* pixels_ = nullptr;
    std::unique_ptr<TSelection> selection_;
};

}  // namespace

TIconPicture MakePicture(int width, int height, const TPixelRule& rule) {
    TIconPicture picture;
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t value = rule(x, y);
            picture.transparent.push_back(value == kClear);
            picture.rgb.push_back(value == kClear ? 0 : value);
        }
    }
    return picture;
}

HICON MakeIcon(const TIconPicture& picture) {
    TWindowDC screen;
    TBitmapHandle colour(CreateCompatibleBitmap(screen.Get(), picture.width, picture.height));
    TBitmapHandle mask(CreateBitmap(picture.width, picture.height, 1, 1, nullptr));
    TMemoryDC dc;
    {
        TSelection select(dc.Get(), colour.Get());
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) SetPixel(dc.Get(), x, y, ToColorRef(picture.Rgb(x, y)));
    }
    {
        TSelection select(dc.Get(), mask.Get());
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                SetPixel(dc.Get(), x, y, picture.Transparent(x, y) ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return CreateIconIndirect(&info);
}

TIconPicture RenderIcon(HICON icon, int width, int height) {
    const COLORREF first = RGB(255, 0, 255), second = RGB(0, 128, 128);
    TDrawingSurface a(width, height, first), b(width, height, second);
    DrawIconEx(a.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(b.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return MakePicture(width, height, [&](int x, int y) {
        uint32_t onFirst = a.Rgb(x, y), onSecond = b.Rgb(x, y);
        if (onFirst == FromColorRef(first) && onSecond == FromColorRef(second)) return kClear;
        return onFirst;
    });
}

::testing::AssertionResult SamePicture(const TIconPicture& actual, const TIconPicture& expected, int tolerance) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                             << expected.width << "x" << expected.height;
    auto channel = [](uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 255); };
    int wrong = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            bool ok = actual.Transparent(x, y) == expected.Transparent(x, y);
            for (int shift = 0; ok && !expected.Transparent(x, y) && shift <= 16; shift += 8)
                ok = std::abs(channel(actual.Rgb(x, y), shift) - channel(expected.Rgb(x, y), shift)) <= tolerance;
            if (ok || ++wrong > 5) continue;
            failure << "\n  (" << x << "," << y << "): "
                    << (actual.Transparent(x, y) ? std::string("transparent") : std::to_string(actual.Rgb(x, y)))
                    << ", expected "
                    << (expected.Transparent(x, y) ? std::string("transparent")
                                                   : std::to_string(expected.Rgb(x, y)));
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return failure << "\n  " << wrong << " pixels differ";
}

std::string OutputFolder() {
    static const std::string folder = [] {
        std::filesystem::path path = std::filesystem::current_path() / "icowriter-output";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

void ExportIcon(const std::string& name, const std::vector<uint8_t>& file, const TIconPicture& expected,
                int tolerance) {
    WriteFileBytes(OutputFolder() + "/" + name + ".ico", file);
    ExportForImageMagick(OutputFolder(), name, TIcoTestFile(file), expected, tolerance);
}
