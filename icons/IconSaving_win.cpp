// Saving what the icon page found: the current icon as an icon, bitmap, JPEG, GIF or PNG file by
// the name's extension, or every icon of the source as numbered .ico files in "allicons".
// Each save extracts the icon again from the source file.
#include <windows.h>
#include <shellapi.h>


#include "base/AnsiFileName.h"
#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "gif/show/GifPicture_win.h"
#include "icons/IconPage_win.h"
#include "icowriter/IconWriter_win.h"
#include "pages/PageTexts.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/icongroup/IconGroupFile_win.h"
#include "picture/jpeg/JpegImage_win.h"
#include "picture/png/AlphaPicture.h"
#include "picture/png/PngImage_win.h"
#include "picture/png/StoredIconImage.h"
#include "toolkit/BusyState_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/FolderBrowser_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/MessageForm_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr const char* kSaveFilter =
    "ICO file(*.ico)|*.ICO|BMP file(*.bmp)|*.BMP|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF|"
    "ICO file, all sizes(*.ico)|*.ICO|PNG file(*.png)|*.PNG";
constexpr int kAllSizesEntry = 5;
constexpr const char* kNoIcons = "文件中不含有图标,请重新选择含有图标的文件";
constexpr const char* kUnknownType = "不支持这种文件类型,请用.ico、.bmp、.jpg、.gif或.png作为文件的扩展名.";
constexpr const char* kSaving = "正在保存图标,请稍等...";
constexpr const char* kFolderPrompt = "请选择文件夹(图标将保存在选择目录下的allicons文件夹中)：";

enum class TIconFileType { None, Icon, Bitmap, Jpeg, Gif, Png };

// From the last dot on, compared in upper case.
TIconFileType TypeOfName(const std::string& fileName) {
    const std::string ext = UpperCaseAscii(ExtensionPart(fileName));
    if (ext == ".ICO") return TIconFileType::Icon;
    if (ext == ".BMP") return TIconFileType::Bitmap;
    if (ext == ".JPG" || ext == ".JPEG") return TIconFileType::Jpeg;
    if (ext == ".GIF") return TIconFileType::Gif;
    if (ext == ".PNG") return TIconFileType::Png;
    return TIconFileType::None;
}

bool DirectoryExists(const std::string& folder) {
    DWORD attributes = GetFileAttributesW(Wide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolder(const std::string& folder) {
    if (!CreateDirectoryW(Wide(folder), nullptr)) throw EInOutError(Format(ErrorText::InOut, GetLastError()));
}

// The icon drawn through its mask on a new white bitmap of its size, at the display's depth.
std::unique_ptr<TBitmap> IconOnWhite(TIcon& icon) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(icon.Width(), icon.Height());
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(RECT{0, 0, icon.Width(), icon.Height()});
    canvas.Draw(0, 0, &icon);
    return bitmap;
}

void WritePngFile(const std::string& fileName, const TAlphaPicture& picture) {
    TPNGImage png;
    png.SetPicture(picture);
    png.SaveToFile(fileName);
}

}  // namespace

// The largest image the source stores for the current icon: a PNG image copied as it is, a
// bitmap image made RGBA. Where the file's own groups do not answer for the system's icons, the
// system's icon serves, with its transparency.
void TIconPage::SaveLargestImageAsPng(const std::string& fileName) {
    TIconGroupFile file(source_.IconFileName);
    const auto group = file.GroupOfIcon(source_.IconIndex, source_.IconCount);
    const TStoredImage largest = group ? LargestImage(file.Data(), *group) : TStoredImage{};
    if (largest.size != 0 && largest.format == TIconImageFormat::Png) {
        SaveFileSafely(fileName, [&largest](TStream& out) { out.WriteBuffer(largest.bytes, largest.size); });
    } else if (largest.size != 0) {
        WritePngFile(fileName, AlphaPictureOfStoredImage(largest));
    } else {
        TIcon icon;
        icon.SetHandle(LateBound::ExtractIcon(Wide(source_.IconFileName), source_.IconIndex));
        if (icon.Empty()) throw EInvalidGraphic(ErrorText::InvalidIcon);
        WritePngFile(fileName, AlphaPictureFromIconImage(IconImageOf(icon.Handle())));
    }
}


void TIconPage::SaveIconFile(int index, const std::string& fileName) {
    TIcon icon;
    icon.SetHandle(LateBound::ExtractIcon(Wide(source_.IconFileName), index));
    TIconWriter writer(nullptr);
    if (form_.RadioButton1->Checked()) writer.SaveIconAs256Colors(icon, fileName);
    else writer.SaveIconAsTrueColor(icon, fileName);
}

// Every image of the icon as the source stores it (PNG images stay PNG), nothing decoded.
void TIconPage::SaveWholeGroup(const std::string& fileName) {
    TIconGroupFile file(source_.IconFileName);
    const auto group = file.GroupOfIcon(source_.IconIndex, source_.IconCount);
    if (!group) throw EInvalidGraphic(ErrorText::InvalidIcon);
    const std::vector<uint8_t> bytes = WriteIconGroupFile(file.Data(), *group);
    SaveFileSafely(fileName, [&bytes](TStream& out) { out.WriteBuffer(bytes.data(), bytes.size()); });
}

void TIconPage::SaveCurrentIcon(const std::string& fileName, bool wholeGroup) {
    TIconFileType type = TypeOfName(fileName);
    if (type == TIconFileType::Icon && wholeGroup) {
        SaveWholeGroup(fileName);
        return;
    }
    if (type == TIconFileType::Icon) {
        SaveIconFile(source_.IconIndex, fileName);
        return;
    }
    if (type == TIconFileType::Png) {
        SaveLargestImageAsPng(fileName);
        return;
    }
    TIcon icon;
    icon.SetHandle(LateBound::ExtractIcon(Wide(source_.IconFileName), source_.IconIndex));
    if (icon.Empty()) throw EInvalidGraphic(ErrorText::InvalidIcon);
    auto bitmap = IconOnWhite(icon);
    if (type == TIconFileType::Bitmap) {
        bitmap->SaveToFile(fileName);
    } else if (type == TIconFileType::Jpeg) {
        TJPEGImage jpeg;  // its default quality, 90
        jpeg.Assign(bitmap.get());
        jpeg.SaveToFile(fileName);
    } else {
        TGIFImage gif;
        gif.Assign(bitmap.get());
        gif.SaveToFile(fileName);
    }
}

void TIconPage::BitBtn7Click(TObject*) {
    form_.Edit5->SetText("");
    if (form_.Edit4->Text().empty()) return;
    TSaveDialog& dialog = *form_.SaveDialog1;
    dialog.SetTitle(PageText::SaveDialogTitle);
    dialog.SetFileName("");
    dialog.SetFilter(kSaveFilter);
    dialog.SetFilterIndex(1);
    if (!dialog.Execute()) return;
    const std::string fileName = dialog.FileName();
    if (source_.IconCount == 0) {
        MessageBoxW(form_.Handle(), Wide(kNoIcons), Wide(ProgramText::MessageCaption), MB_OK);
        return;
    }
    // Asked before the overwrite question, so nothing is replaced by a save that cannot happen.
    if (TypeOfName(fileName) == TIconFileType::None) {
        MessageBoxW(form_.Handle(), Wide(kUnknownType), Wide(ProgramText::MessageCaption), MB_OK | MB_ICONWARNING);
        return;
    }
    if (FileExists(fileName) &&
        MessageBoxW(form_.Handle(), Wide(PageText::ReplaceFile), Wide(ProgramText::MessageCaption),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) {
        form_.Edit5->SetText("");
        return;
    }
    TBusyState saving(*form_.Edit5, kSaving);
    SaveCurrentIcon(fileName, dialog.FilterIndex() == kAllSizesEntry);
    saving.Finish("图标已保存为" + fileName);
}

bool TIconPage::PrepareAllIconsFolder(const std::string& folder) {
    if (DirectoryExists(folder)) return true;
    std::string question = "目录" + folder + "不存在,是否创建?";
    if (MessageBoxW(form_.Handle(), Wide(question), Wide(ProgramText::MessageCaption),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return false;
    CreateFolder(folder);
    return true;
}

void TIconPage::BitBtn1Click(TObject*) {
    form_.Edit5->SetText("");
    if (source_.IconCount == 0) return;
    std::string chosen;
    if (!SelectDirectory(kFolderPrompt, chosen)) return;
    const std::string folder = chosen.size() == 3 ? chosen + "allicons" : chosen + "\\allicons";
    if (!PrepareAllIconsFolder(folder)) return;
    TBusyState saving(*form_.Edit5, kSaving);
    TModalResult answer = mrNo;
    bool anySaved = false;
    const TMsgDlgButtons buttons = MsgDlgButtons({mbYes, mbNo, mbNoToAll, mbYesToAll});
    for (int i = 0; i < source_.IconCount; ++i) {
        std::string name = folder + "\\" + std::to_string(i) + ".ico";
        if (answer == mrYes || answer == mrNo) {
            answer = mrYes;
            if (FileExists(name)) answer = MessageDlg(name + "已经存在,是否覆盖原文件?", mtConfirmation, buttons);
        }
        if (answer != mrYes && answer != mrYesToAll) continue;
        anySaved = true;
        SaveIconFile(i, name);
    }
    saving.Finish(anySaved ? "全部图标已保存到" + folder : "您没有保存任何图标");
}
