#include "icons/PreviewHint.h"

std::string PreviewHint(const std::vector<uint32_t>& sizes) {
    std::string hint = kPreviewHint;
    if (sizes.empty()) return hint;
    hint += " (";
    for (size_t i = 0; i < sizes.size(); ++i) hint += (i ? ", " : "") + std::to_string(sizes[i]);
    return hint + " 像素)";
}
