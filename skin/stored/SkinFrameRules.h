#pragma once
// How many cells a skin picture holds when its settings leave the count open, and which
// archive entry a picture value names.
#include <string>

// A check-box or radio-button picture without a frame count: 13-pixel cells when the picture
// is less than 16 pixels high, else 16-pixel cells; at least 4.
int DefaultToggleFrames(int width, int height);

struct TCaptionButtonFrames {
    int frames;
    bool dropPicture;  // the button shows the window's icon instead of a picture
};
// A caption button's frame count from its "frame" value (0 when absent): a value given stays;
// otherwise 3 for a picture at most 3.8 times as wide as high, else 6 (and 6 for an empty
// picture or a negative action). Actions 3 and 11 show the window's icon.
TCaptionButtonFrames CaptionButtonFrames(int frameValue, int action, bool pictureEmpty, int width, int height);

// The archive entry a picture value names: its file-name part (after the last folder
// separator, stepping over double-byte characters), provided its extension is exactly ".bmp";
// else empty.
std::string SkinPictureEntry(const std::string& value);
