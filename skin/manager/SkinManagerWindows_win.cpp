// Which window the manager dresses, with which skin data, and how it keeps and gives back
// the dressed windows and the hooked popup menus.
#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/draw/SkinWindowClass_win.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/WideText_win.h"

namespace {

// Classes of other libraries that are never dressed, or only when reports are not skinned;
// this program has neither kind of window.
constexpr char kCalendarClass[] = "sysmonthcal32";
constexpr char kReportPreviewClass[] = "treportpreview";
constexpr char kReportDesignerPrefix[] = "treportdesigner";

constexpr int kNeverSkinnedTag = 99;

bool IsDialogClass(const std::string& lowerClass) { return lowerClass == "tmessageform" || lowerClass == "#32770"; }

bool HasZeroArea(HWND window) {
    RECT bounds{};
    if (!GetWindowRect(window, &bounds)) return true;
    return bounds.right <= bounds.left || bounds.bottom <= bounds.top;
}

TSkinData* FirstOfType(const std::vector<TSkinData*>& list, TSkinFormType type) {
    auto found = std::find_if(list.begin(), list.end(), [type](TSkinData* data) { return data->SkinFormtype == type; });
    return found == list.end() ? nullptr : *found;
}

TSkinData* LastOfType(const std::vector<TSkinData*>& list, TSkinFormType type) {
    auto found = std::find_if(list.rbegin(), list.rend(), [type](TSkinData* data) { return data->SkinFormtype == type; });
    return found == list.rend() ? nullptr : *found;
}

// The form that owns a component, following owners upwards.
TForm* OwningForm(TComponent* component) {
    for (TComponent* owner = component->Owner(); owner; owner = owner->Owner())
        if (auto* form = dynamic_cast<TForm*>(owner)) return form;
    return nullptr;
}

}  // namespace

bool TSkinManage::SkinWindow(HWND window) {
    if (!skinningOn_ || !window || !IsWindow(window)) return false;
    TForm* form = ApplicationForm(window);
    if (FindSkinnedWindow(window)) return false;
    std::string className = WindowClassName(window);
    if (!PassesWindowRules(window, form, className) || !ClassMayBeSkinned(className)) return false;
    TSkinData* skinData = ChooseSkinData(window, className);
    if (!skinData || skinData->NotReady()) return false;
    return Dress(window, form, *skinData);
}

TForm* TSkinManage::ApplicationForm(HWND window) const {
    if (!Application) return nullptr;
    for (TForm* form : Application->Forms())
        if (form->HandleAllocated() && form->Handle() == window) return form;
    return nullptr;
}

// Steps 3 to 5: ordinary child windows (outside the activate pass), empty windows, forms
// marked with Tag 99 and the application's hidden window stay plain.
bool TSkinManage::PassesWindowRules(HWND window, TForm* form, const std::string& className) const {
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && !activatePass_ &&
        LowerClassName(WindowClassName(GetParent(window))) != "mdiclient")
        return false;
    if (HasZeroArea(window) || (form && form->Tag() == kNeverSkinnedTag)) return false;
    return className != "TApplication";
}

bool TSkinManage::ClassMayBeSkinned(const std::string& className) const {
    TSkinData* judge = FirstOfType(skinData_, sfMainform);
    if (!judge) return true;
    std::string lower = LowerClassName(className);
    if (lower == kCalendarClass || lower == kReportPreviewClass) return false;
    if (lower.compare(0, sizeof kReportDesignerPrefix - 1, kReportDesignerPrefix) == 0 &&
        (judge->SkinControls & SkinControlBit(xcReport)))
        return false;
    bool doSkin = true;
    if (judge->OnFormSkin) judge->OnFormSkin(*judge, className, doSkin);
    return doSkin;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const {
    if (skinData_.empty()) return nullptr;
    for (auto data = skinData_.rbegin(); data != skinData_.rend(); ++data) {
        if ((*data)->SkinFormtype != sfOnlyThisForm) continue;
        TForm* owner = OwningForm(*data);
        if (owner && owner->HandleAllocated() && owner->Handle() == window) return *data;
    }
    if (IsDialogClass(LowerClassName(className)))
        if (TSkinData* dialog = LastOfType(skinData_, sfDialog)) return dialog;
    if (TSkinData* main = LastOfType(skinData_, sfMainform)) return main;
    return skinData_.front();
}

bool TSkinManage::Dress(HWND window, TForm* form, TSkinData& skinData) {
    TSkinFormPtr skin(new TSkinForm(window));
    try {
        if (form) {
            skin->AttachForm(skinData, *form);
        } else {
            skin->AttachWindow(skinData);
        }
    } catch (...) {
        RestoreAndFree(std::move(skin), false);
        return false;
    }
    skinned_[window] = std::move(skin);
    skinOrder_.push_back(window);
    // A window dressed before it is shown takes its skinned size and outline now, out of sight:
    // it appears at them, with nothing drawn twice. One already on the screen takes them once
    // what is under way there has finished.
    if (IsWindowVisible(window))
        PostMessageW(window, WM_SKIN_FIRSTSHOW, 0, kFirstShowMark);
    else
        SendMessageW(window, WM_SKIN_FIRSTSHOW, 0, kFirstShowMark);
    return true;
}

bool TSkinManage::FindSkinnedWindow(HWND window) const { return skinned_.count(window) != 0; }

TSkinForm* TSkinManage::SkinnedWindow(HWND window) const {
    auto found = skinned_.find(window);
    return found == skinned_.end() ? nullptr : found->second.get();
}

void TSkinManage::UnskinWindow(HWND window) { RestoreAndFree(Release(window), false); }

TSkinManage::TSkinFormPtr TSkinManage::Release(HWND window) {
    auto found = skinned_.find(window);
    if (found == skinned_.end()) return nullptr;
    TSkinFormPtr skin = std::move(found->second);
    skinned_.erase(found);
    skinOrder_.erase(std::remove(skinOrder_.begin(), skinOrder_.end(), window), skinOrder_.end());
    return skin;
}

void TSkinManage::RestoreAndFree(TSkinFormPtr skin, bool windowGoing) {
    if (!skin) return;
    try {
        if (windowGoing) skin->WindowDestroying();
        skin->Restore();
    } catch (...) {
        // The window goes back to plain as far as it can; it is forgotten either way.
    }
}

void TSkinManage::RestoreAllWindows() {
    std::vector<HWND> windows = skinOrder_;
    for (HWND window : windows) RestoreAndFree(Release(window), true);
}

// The popups are kept in the popup menus' own list; the manager only decides which to hook.
void TSkinManage::HookPopupMenu(HWND window) {
    if (!skinningOn_ || TSkinPopupMenu::Find(window)) return;
    TSkinData* skinData = ChooseSkinData(window, WindowClassName(window));
    if (!skinData || skinData->NotReady()) return;
    TSkinPopupMenu::HookOwned(window, *skinData);
}

void TSkinManage::UnhookPopupMenu(HWND window) {
    if (!TSkinPopupMenu::FreeOwned(window)) return;
    if (TSkinPopupMenu::Hooked().empty()) MenuOpen = false;
}

void TSkinManage::UnhookAllPopupMenus() { UnhookPopupMenus([](const TSkinPopupMenu&) { return true; }); }

void TSkinManage::UnhookPopupMenus(const std::function<bool(const TSkinPopupMenu&)>& which) {
    std::vector<HWND> chosen;
    for (TSkinPopupMenu* popup : TSkinPopupMenu::Hooked())
        if (which(*popup)) chosen.push_back(popup->Handle());
    for (HWND window : chosen) UnhookPopupMenu(window);
}
