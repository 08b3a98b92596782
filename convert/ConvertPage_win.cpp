#include "convert/ConvertPage_win.h"

#include "base/FileStream.h"
#include "convert/ConversionMatrix.h"
#include "convert/PictureConversion_win.h"
#include "convert/PreviewForm_win.h"
#include "pages/PageMessages_win.h"
#include "picture/Picture_win.h"
#include "toolkit/BusyState_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr const char* kOpenFilter =
    "ICO file(*.ico)|*.ICO|BMP file(*.bmp)|*.BMP|JPEG file(*.jpg;*.jpeg)|*.JPG;*.JPEG|GIF file(*.gif)|*.GIF|"
    "PNG file(*.png)|*.PNG|"
    "ALL files(*.ico;*.bmp;*.jpg;*.jpeg;*.gif;*.png)|*.ICO;*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG";
// A target the page cannot write (the source's own format, ".JPEG", any other extension):
// saying so beats a status line that claims a save which never happened.
constexpr const char* kUnsupportedTarget =
    "不能保存为这种格式的文件,请在保存类型中选择一种格式(BMP、ICO、JPG、GIF或PNG,与原文件格式不同).";
constexpr const char* kSaving = "正在保存文件,请稍等...";
constexpr int kDefaultQuality = 65;

}  // namespace

std::unique_ptr<TMainFormPart> AttachConvertPage(TMainFormPages& form) { return std::make_unique<TConvertPage>(form); }

TConvertPage::TConvertPage(TMainFormPages& form) : form_(form) {
    handlers_.Attach(form.TabSheet4->OnShow, this, &TConvertPage::TabSheet4Show);
    handlers_.Attach(form.TrackBar1->OnChange, this, &TConvertPage::TrackBar1Change);
    handlers_.Attach(form.BitBtn9->OnClick, this, &TConvertPage::BitBtn9Click);
    handlers_.Attach(form.Image3->OnClick, this, &TConvertPage::Image3Click);
    handlers_.Attach(form.BitBtn10->OnClick, this, &TConvertPage::BitBtn10Click);
    form.TrackBar1->SetHint(QualityHint(form.TrackBar1->Position()));
}

void TConvertPage::FormDestroying() { handlers_.Detach(); }

void TConvertPage::TabSheet4Show(TObject*) {
    form_.TrackBar1->SetPosition(kDefaultQuality);
    form_.TrackBar1->SetHint(QualityHint(form_.TrackBar1->Position()));
    form_.Edit6->SetText("");
    form_.Edit7->SetText("");
    form_.Image3->Picture().SetGraphic(nullptr);
}

void TConvertPage::TrackBar1Change(TObject*) { form_.TrackBar1->SetHint(QualityHint(form_.TrackBar1->Position())); }

void TConvertPage::BitBtn9Click(TObject*) {
    // The dialog is shared with the icon page; its filter entry is left as chosen last.
    TOpenDialog& dialog = *form_.OpenDialog1;
    dialog.SetTitle(PageText::OpenDialogTitle);
    dialog.SetFileName("");
    dialog.SetFilter(kOpenFilter);
    if (!dialog.Execute()) return;
    ChooseSource(dialog.FileName());
}

bool TConvertPage::FileDropped(TTabSheet* page, const std::string& fileName) {
    if (page != form_.TabSheet4) return false;
    ChooseSource(fileName);
    return true;
}

void TConvertPage::ChooseSource(const std::string& path) {
    form_.Edit7->SetText("");
    if (!FileExists(path)) {
        ShowMissingFileMessage(form_.Handle());
        return;
    }
    SourceFileName = path;
    form_.Edit6->SetText(path);
    // An icon shows at its own size from the top-left corner; anything else fills the box.
    form_.Image3->SetStretch(UpperCaseExtension(path) != ".ICO");
    form_.Image3->Picture().SetGraphic(nullptr);
    form_.Image3->Picture().LoadFromFile(path);
}

void TConvertPage::Image3Click(TObject*) {
    if (!Form2) return;
    Form2->Image1->SetPicture(&form_.Image3->Picture());
    Form2->ShowModal();
}

bool TConvertPage::ChooseTarget(std::string& target) {
    TSaveDialog& dialog = *form_.SaveDialog1;
    dialog.SetTitle(PageText::SaveDialogTitle);
    dialog.SetFileName("");
    if (const char* filter = SaveFilterFor(SourceKindOf(SourceFileName))) dialog.SetFilter(filter);
    if (!dialog.Execute()) return false;
    target = dialog.FileName();
    if (!CanConvert(SourceKindOf(SourceFileName), TargetKindOf(target))) {
        MessageBoxW(form_.Handle(), Wide(kUnsupportedTarget), Wide(ProgramText::MessageCaption), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (FileExists(target) &&
        MessageBoxW(form_.Handle(), Wide(PageText::ReplaceFile), Wide(ProgramText::MessageCaption),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) {
        form_.Edit7->SetText("");
        return false;
    }
    return true;
}

void TConvertPage::BitBtn10Click(TObject*) {
    form_.Edit7->SetText("");
    if (form_.Edit6->Text().empty()) return;
    TConversionSettings settings;
    settings.trueColorIcon = form_.RadioButton4->Checked();
    settings.iconWidth = GetSystemMetrics(SM_CXICON);
    settings.iconHeight = GetSystemMetrics(SM_CYICON);
    settings.quality = form_.TrackBar1->Position();
    std::string target;
    if (!ChooseTarget(target)) return;
    TBusyState saving(*form_.Edit7, kSaving);
    ConvertPicture(SourceFileName, SourceKindOf(SourceFileName), target, TargetKindOf(target), settings,
                   *form_.IconWriter1);
    saving.Finish(SavedStatus(target));
}
