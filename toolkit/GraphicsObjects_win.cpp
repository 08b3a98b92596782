#include "toolkit/ScreenDevice_win.h"
#include "toolkit/GraphicsObjects_win.h"

#include "toolkit/WideText_win.h"

COLORREF ColorToRGB(TColor color) {
    if (color & clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    if (color == clNone || color == clDefault) return RGB(0, 0, 0);
    return color & 0xFFFFFF;
}

// ---- TFont

HFONT TFont::Handle() {
    if (!handle_) {
        int weight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        handle_.Reset(CreateFontW(height_, 0, 0, 0, weight, (style_ & fsItalic) ? TRUE : FALSE,
                                  (style_ & fsUnderline) ? TRUE : FALSE, (style_ & fsStrikeOut) ? TRUE : FALSE,
                                  charset_, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, faceName_.c_str()));
    }
    return handle_.Get();
}

// The old handle goes before the listeners hear of the change: they hand the new one to their
// windows, and a handle deleted after that would leave a window drawing with a deleted font.
void TFont::Modified() {
    handle_.Reset();
    Changed();
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    name_ = source.name_;
    faceName_ = source.faceName_;
    height_ = source.height_;
    color_ = source.color_;
    style_ = source.style_;
    charset_ = source.charset_;
    Modified();
}

void TFont::SetName(const std::string& name) { SetFaceName(WideFromAnsi(name)); }

void TFont::SetFaceName(const std::wstring& name) {
    if (name == faceName_) return;
    faceName_ = name;
    name_ = AnsiFromWide(name);
    Modified();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Modified();
}

namespace {
int ScreenPixelsPerInch() {
    int dpi = GetDeviceCaps(MeasuringDC(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Modified();
}

void TFont::SetCharset(BYTE charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Modified();
}

// ---- TBrush

HBRUSH TBrush::Handle() {
    if (!handle_) {
        static const int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS,
                                      HS_DIAGCROSS};
        if (style_ == bsSolid) {
            handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
        } else if (style_ == bsClear) {
            LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
            handle_.Reset(CreateBrushIndirect(&hollow));
        } else {
            handle_.Reset(CreateHatchBrush(hatches[style_], ColorToRGB(color_)));
        }
    }
    return handle_.Get();
}

void TBrush::Modified() {
    Changed();
    handle_.Reset();
}

void TBrush::Assign(const TBrush& source) {
    if (&source == this) return;
    color_ = source.color_;
    style_ = source.style_;
    Modified();
}

void TBrush::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Modified();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Modified();
}

// ---- TPen

HPEN TPen::Handle() {
    if (!handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(styles[style_], width_, ColorToRGB(color_)));
    }
    return handle_.Get();
}

void TPen::Modified() {
    Changed();
    handle_.Reset();
}

void TPen::Assign(const TPen& source) {
    if (&source == this) return;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    Modified();
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Modified();
}

void TPen::SetWidth(int width) {
    if (width == width_ || width < 0) return;
    width_ = width;
    Modified();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Modified();
}

void TPen::SetMode(int mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Changed();
}
