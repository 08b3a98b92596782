#include "convert/ConversionMatrix.h"

#include "base/AnsiFileName.h"

std::string UpperCaseExtension(const std::string& fileName) { return UpperCaseAscii(ExtensionPart(fileName)); }

TPictureKind SourceKindOf(const std::string& fileName) {
    const std::string ext = UpperCaseExtension(fileName);
    if (ext == ".ICO") return TPictureKind::Icon;
    if (ext == ".BMP") return TPictureKind::Bitmap;
    if (ext == ".JPG" || ext == ".JPEG") return TPictureKind::Jpeg;
    if (ext == ".GIF") return TPictureKind::Gif;
    if (ext == ".PNG") return TPictureKind::Png;
    return TPictureKind::None;
}

TPictureKind TargetKindOf(const std::string& fileName) {
    const std::string ext = UpperCaseExtension(fileName);
    if (ext == ".BMP") return TPictureKind::Bitmap;
    if (ext == ".ICO") return TPictureKind::Icon;
    if (ext == ".JPG") return TPictureKind::Jpeg;
    if (ext == ".GIF") return TPictureKind::Gif;
    if (ext == ".PNG") return TPictureKind::Png;
    return TPictureKind::None;
}

const char* SaveFilterFor(TPictureKind source) {
    switch (source) {
    case TPictureKind::Icon:
        return "BMP file(*.bmp)|*.BMP|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF|PNG file(*.png)|*.PNG";
    case TPictureKind::Jpeg:
        return "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|GIF file(*.gif)|*.GIF|PNG file(*.png)|*.PNG";
    case TPictureKind::Gif:
        return "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|PNG file(*.png)|*.PNG";
    case TPictureKind::Bitmap:
        return "ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF|PNG file(*.png)|*.PNG";
    case TPictureKind::Png:
        return "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF";
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
