#include "base/FileFilter.h"

#include <algorithm>

std::string FilterToSystemForm(const std::string& filter) {
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    // A filter that ends in a lone description gets an empty pattern so the list stays paired.
    if (!filter.empty() && std::count(filter.begin(), filter.end(), '|') % 2 == 0) result.push_back('\0');
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

int FilterEntryCount(const std::string& filter) {
    if (filter.empty()) return 0;
    auto bars = std::count(filter.begin(), filter.end(), '|');
    return static_cast<int>(bars / 2 + 1);
}

int ClampFilterIndex(int index, const std::string& filter) {
    int count = FilterEntryCount(filter);
    if (count == 0 || index < 1) return 1;
    return std::min(index, count);
}
