#include "icons/IconPage_win.h"

#include <shellapi.h>

#include "base/FileStream.h"
#include "icons/IconPicker_win.h"
#include "icons/PreviewHint.h"
#include "pages/PageMessages_win.h"
#include "picture/Picture_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/icongroup/IconGroupFile_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr const char* kOpenFilter =
    "EXE file(*.exe)|*.EXE|DLL file(*.dll)|*.DLL|ICL file(*.icl)|*.ICL|ALL files(*.*)|*.*";

}  // namespace

std::unique_ptr<TMainFormPart> AttachIconPage(TMainFormPages& form) { return std::make_unique<TIconPage>(form); }

TIconPage::TIconPage(TMainFormPages& form) : form_(form) {
    handlers_.Attach(form.TabSheet2->OnShow, this, &TIconPage::TabSheet2Show);
    handlers_.Attach(form.BitBtn8->OnClick, this, &TIconPage::BitBtn8Click);
    handlers_.Attach(form.BitBtn5->OnClick, this, &TIconPage::BitBtn5Click);
    handlers_.Attach(form.BitBtn6->OnClick, this, &TIconPage::BitBtn6Click);
    handlers_.Attach(form.BitBtn7->OnClick, this, &TIconPage::BitBtn7Click);
    handlers_.Attach(form.BitBtn1->OnClick, this, &TIconPage::BitBtn1Click);
}

void TIconPage::FormDestroying() { handlers_.Detach(); }

void TIconPage::TabSheet2Show(TObject*) {
    form_.Edit4->SetText("");
    form_.Edit5->SetText("");
    form_.Label2->SetCaption("图标数目");
    form_.Label1->SetCaption("当前图标");
    ClearPreview();
    // A page fills its page control, so the control puts it straight back and lays it out anew.
    form_.TabSheet2->SetLeft(form_.TabSheet2->Left() + 500);
}

void TIconPage::ClearPreview() {
    form_.Image1->Picture().SetGraphic(nullptr);
    form_.Image1->SetHint(kPreviewHint);
}

void TIconPage::ShowCurrentIcon() {
    ClearPreview();
    TIcon icon;
    icon.SetHandle(LateBound::ExtractIcon(Wide(source_.IconFileName), source_.IconIndex));
    if (icon.Empty()) return;
    form_.Image1->Picture().SetGraphic(&icon);
    // The preview stays the system's icon; its hint names the sizes the file stores for it.
    TIconGroupFile file(source_.IconFileName);
    if (const auto group = file.GroupOfIcon(source_.IconIndex, source_.IconCount))
        form_.Image1->SetHint(PreviewHint(GroupSizes(file.Data(), *group)));
}

void TIconPage::ShowIndexText() { form_.Label1->SetCaption("第" + std::to_string(source_.IconIndex) + "个图标"); }

void TIconPage::BitBtn8Click(TObject*) {
    TOpenDialog& dialog = *form_.OpenDialog1;
    dialog.SetTitle(PageText::OpenDialogTitle);
    dialog.SetFileName("");
    dialog.SetFilter(kOpenFilter);
    dialog.SetFilterIndex(1);
    if (!dialog.Execute()) return;
    OpenSource(dialog.FileName());
}

bool TIconPage::FileDropped(TTabSheet* page, const std::string& fileName) {
    if (page != form_.TabSheet2) return false;
    OpenSource(fileName);
    return true;
}

void TIconPage::OpenSource(const std::string& path) {
    form_.Edit5->SetText("");
    if (!FileExists(path)) {
        ShowMissingFileMessage(form_.Handle());
        return;
    }
    int picked = 0;
    if (!PickIcon(form_.Handle(), path, picked)) return;
    source_.IconFileName = path;
    source_.IconCount =
        static_cast<int>(reinterpret_cast<UINT_PTR>(LateBound::ExtractIcon(Wide(path), static_cast<UINT>(-1))));
    source_.IconIndex = 0;
    form_.Label1->SetCaption("");
    form_.Label2->SetCaption("在" + path + "中共有" + std::to_string(source_.IconCount) + "个图标");
    form_.Edit4->SetText(path);
    if (source_.IconCount == 0) {
        // The icon of the file opened before no longer belongs to what the page shows.
        ClearPreview();
        return;
    }
    source_.IconIndex = picked;
    ShowCurrentIcon();
    ShowIndexText();
}

void TIconPage::BitBtn5Click(TObject* sender) {
    if (source_.IconCount == 0) return;
    auto* button = dynamic_cast<TComponent*>(sender);
    if (!button) return;
    source_.IconIndex += button->Tag();
    if (source_.IconIndex >= source_.IconCount) source_.IconIndex = 0;
    if (source_.IconIndex < 0) source_.IconIndex = source_.IconCount - 1;
    ShowCurrentIcon();
    ShowIndexText();
}
