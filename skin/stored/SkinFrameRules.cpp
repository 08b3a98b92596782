#include "skin/stored/SkinFrameRules.h"

#include <algorithm>

#include "base/AnsiFileName.h"

int DefaultToggleFrames(int width, int height) {
    int frames = height < 16 ? width / 13 : width / 16;
    return std::max(frames, 4);
}

bool ShowsWindowIcon(int action) { return action == kActionSystemMenu || action == kActionSystemMenuAlt; }

TCaptionButtonFrames CaptionButtonFrames(int frameValue, int action, bool pictureEmpty, int width, int height) {
    if (frameValue != 0) return {frameValue, false};
    TCaptionButtonFrames result{6, false};
    if (!pictureEmpty && height > 0) {
        // width / height <= 3.8, in integers
        result.frames = static_cast<long long>(width) * 10 <= static_cast<long long>(height) * 38 ? 3 : 6;
    }
    if (action < 0) result.frames = 6;
    if (ShowsWindowIcon(action)) result.dropPicture = true;
    return result;
}

std::string SkinPictureEntry(const std::string& value) {
    return ExtensionPart(value) == ".bmp" ? FileNamePart(value) : std::string();
}
