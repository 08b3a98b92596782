#pragma once
// Icons for the icon-writer tests: made from a picture, drawn back into a picture, compared.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "IcoTestFile.h"

// A pixel rule's answer for a transparent pixel.
constexpr uint32_t kClear = 0xFFFFFFFFu;
using TPixelRule = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB or kClear

TIconPicture MakePicture(int width, int height, const TPixelRule& rule);
// A colour icon showing the picture (transparent pixels black under a set mask bit).
HICON MakeIcon(const TIconPicture& picture);
// Draws the icon with DrawIconEx at its own size onto two backgrounds: a pixel that shows
// each background is transparent.
TIconPicture RenderIcon(HICON icon, int width, int height);

// Same size, same transparency, opaque colours within `tolerance` per channel.
::testing::AssertionResult SamePicture(const TIconPicture& actual, const TIconPicture& expected, int tolerance);

// The folder the ImageMagick check script reads (icowriter-output in the working folder),
// emptied on first use in a run.
std::string OutputFolder();
// Writes the icon file's bytes as <name>.ico into the output folder with what ImageMagick
// should see in it.
void ExportIcon(const std::string& name, const std::vector<uint8_t>& file, const TIconPicture& expected,
                int tolerance);

// 0xRRGGBB <-> COLORREF.
inline COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255); }
inline uint32_t FromColorRef(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
