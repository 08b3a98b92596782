#pragma once
// Colours and the three drawing tools a canvas holds: font, brush and pen. Each tool owns
// its GDI object, made on first use and remade after a change; the canvas that holds the
// tool is told before the old object goes, so it is never deleted while selected.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/GdiGuards_win.h"

// 0x00BBGGRR like COLORREF; values with the top bit set name system colours
// (0x80000000 | COLOR_xxx index), clNone and clDefault are markers.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;

// The RGB value of a colour, system colours looked up now.
COLORREF ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Common base: the change notification its canvas listens to.
class TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    // Called after a property changed and before the previous GDI object is deleted.
    std::function<void()> OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange();
    }
};

class TFont : public TGraphicsObject {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    HFONT Handle();
    void Assign(const TFont& source);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // A face name as the system spells it (the system's fonts on a Korean Windows are named in
    // Korean): the font is made with it whole, though Name() can only show it in part.
    void SetFaceName(const std::wstring& name);
    // Character height in pixels; negative as CreateFontA takes it (-12 is a 12-pixel glyph).
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points at the screen's resolution.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);  // the text colour; no new GDI object
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);

private:
    void Modified();

    TFontHandle handle_;
    std::string name_ = "宋体";
    std::wstring faceName_ = L"宋体";
    int height_ = -12;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    BYTE charset_ = GB2312_CHARSET;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    HBRUSH Handle();
    void Assign(const TBrush& source);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

private:
    void Modified();

    TBrushHandle handle_;
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    HPEN Handle();
    void Assign(const TPen& source);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    // The mix mode (R2_COPYPEN, R2_XORPEN, ...), applied by the canvas with SetROP2.
    int Mode() const { return mode_; }
    void SetMode(int mode);

private:
    void Modified();

    TPenHandle handle_;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    int mode_ = R2_COPYPEN;
};
