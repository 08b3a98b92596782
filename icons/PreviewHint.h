#pragma once
// The preview's hint: "图标预览", and once an icon is shown, the sizes it holds as well.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kPreviewHint = "图标预览";

// "图标预览 (16, 32, 48, 256 像素)"; without sizes, "图标预览".
std::string PreviewHint(const std::vector<uint32_t>& sizes);
