#include "convert/ConversionMatrix.h"

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string UpperCaseExtension(const std::string& fileName) {
    // Walk by characters so that a trail byte equal to '\\', '.' or a letter is never taken
    // for one.
    size_t componentStart = 0, dot = std::string::npos;
    for (size_t i = 0; i < fileName.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(fileName[i]);
        if (IsLeadByte(c) && i + 1 < fileName.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            componentStart = i + 1;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    if (dot == std::string::npos || dot < componentStart) return {};
    std::string extension = fileName.substr(dot);
    for (size_t i = 0; i < extension.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(extension[i]);
        if (IsLeadByte(c)) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            extension[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return extension;
}

TPictureKind SourceKindOf(const std::string& fileName) {
    const std::string ext = UpperCaseExtension(fileName);
    if (ext == ".ICO") return TPictureKind::Icon;
    if (ext == ".BMP") return TPictureKind::Bitmap;
    if (ext == ".JPG" || ext == ".JPEG") return TPictureKind::Jpeg;
    if (ext == ".GIF") return TPictureKind::Gif;
    return TPictureKind::None;
}

TPictureKind TargetKindOf(const std::string& fileName) {
    const std::string ext = UpperCaseExtension(fileName);
    if (ext == ".BMP") return TPictureKind::Bitmap;
    if (ext == ".ICO") return TPictureKind::Icon;
    if (ext == ".JPG") return TPictureKind::Jpeg;
    if (ext == ".GIF") return TPictureKind::Gif;
    return TPictureKind::None;
}

const char* SaveFilterFor(TPictureKind source) {
    switch (source) {
    case TPictureKind::Icon:
        return "BMP file(*.bmp)|*.BMP|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF";
    case TPictureKind::Jpeg:
        return "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|GIF file(*.gif)|*.GIF";
    case TPictureKind::Gif:
        return "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG";
    case TPictureKind::Bitmap:
        return "ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF";
    case TPictureKind::None:
        break;
    }
    return nullptr;
}

bool CanConvert(TPictureKind source, TPictureKind target) {
    return source != TPictureKind::None && target != TPictureKind::None && source != target;
}

std::string QualityHint(int position) { return "JPEG图片的当前质量:" + std::to_string(position) + "/100"; }

std::string SavedStatus(const std::string& targetFileName) { return "图片已保存为" + targetFileName; }
