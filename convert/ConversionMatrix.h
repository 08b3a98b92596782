#pragma once
// Which picture formats the conversion page reads and writes, decided from file name
// extensions alone: the source's kind, the target's kind, the save-dialog filter offered for
// a source, and whether a source can be written as a target. Also the page's fixed texts
// that carry a value (the quality hint, the final status line).
#include <string>

enum class TPictureKind { None, Icon, Bitmap, Jpeg, Gif, Png };

// The extension of the file name's last component, from its last dot, in upper case (ASCII
// letters only, double-byte characters of code page 936 left as they are); empty without a
// dot. "C:\\a.b\\x.Ico" gives ".ICO".
std::string UpperCaseExtension(const std::string& fileName);

// ".ICO", ".BMP", ".JPG" or ".JPEG", ".GIF", ".PNG"; anything else is None.
TPictureKind SourceKindOf(const std::string& fileName);
// ".BMP", ".ICO", ".JPG", ".GIF", ".PNG"; ".JPEG" and anything else is None.
TPictureKind TargetKindOf(const std::string& fileName);

// The save dialog's filter for a source: every format but the source's own. nullptr for
// a source of no known kind (the dialog keeps whatever filter it had).
const char* SaveFilterFor(TPictureKind source);

// True when the page knows how to write a source of this kind as that target.
bool CanConvert(TPictureKind source, TPictureKind target);

// "JPEG图片的当前质量:65/100".
std::string QualityHint(int position);
// "图片已保存为" followed by the target name.
std::string SavedStatus(const std::string& targetFileName);
