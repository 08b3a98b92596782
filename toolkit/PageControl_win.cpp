#include "toolkit/PageControl_win.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/WideText_win.h"

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    clickOnMouseUp_ = false;
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

void TPageControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.systemClass = WC_TABCONTROLA;
    params.style |= WS_CLIPCHILDREN | TCS_TABS | TCS_SINGLELINE | TCS_FOCUSONBUTTONDOWN;
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TPageControl::HandleCreated() {
    for (size_t i = 0; i < pages_.size(); ++i) InsertTab(static_cast<int>(i), pages_[i]);
    if (activePage_) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(IndexOf(activePage_)), 0);
    TWinControl::HandleCreated();
}

void TPageControl::InsertTab(int index, TTabSheet* page) {
    std::wstring caption = WideFromAnsi(page->Text());
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TPageControl::IndexOf(const TTabSheet* page) const {
    auto found = std::find(pages_.begin(), pages_.end(), page);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    if (HandleAllocated()) InsertTab(PageCount() - 1, page);
    if (!activePage_) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    int index = IndexOf(page);
    if (index < 0) return;
    pages_.erase(pages_.begin() + index);
    if (HandleAllocated()) SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (activePage_ == page) {
        activePage_ = nullptr;
        if (!pages_.empty()) SetActivePage(pages_[static_cast<size_t>(std::min(index, PageCount() - 1))]);
    }
}

void TPageControl::UpdateTab(TTabSheet* page) {
    int index = IndexOf(page);
    if (index < 0 || !HandleAllocated()) return;
    std::wstring caption = WideFromAnsi(page->Text());
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    AlignControls();
}

int TPageControl::ActivePageIndex() const { return activePage_ ? IndexOf(activePage_) : -1; }

void TPageControl::SetActivePageIndex(int index) {
    if (index >= 0 && index < PageCount()) SetActivePage(pages_[static_cast<size_t>(index)]);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    if (page == activePage_) return;
    TTabSheet* previous = activePage_;
    activePage_ = page;
    if (HandleAllocated() && page) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(IndexOf(page)), 0);
    AlignControls();
    if (page) {
        page->SetVisible(true);
        if (HandleAllocated() && page->HandleAllocated())
            SetWindowPos(page->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The focus must not stay on a control of the page that disappears.
    if (previous && previous->HandleAllocated() && IsChild(previous->Handle(), GetFocus()) && HandleAllocated())
        ::SetFocus(Handle());
    if (previous) previous->SetVisible(false);
    if (page) page->DoShow();
}

RECT TPageControl::DisplayRect() {
    RECT rect = ClientRect();
    if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TPageControl::AlignControls() {
    if (!HandleAllocated()) return;
    RECT rect = DisplayRect();
    for (TTabSheet* page : pages_)
        page->TWinControl::SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// The tab control's own arrow-key handling moves its selection without updating the tabs'
// pressed states, after which a click on another tab notifies a change but selects nothing.
// Moving by keys through the same path as a click keeps the control consistent.
bool TPageControl::StepByKey(WPARAM key) {
    int step = key == VK_LEFT || key == VK_UP ? -1 : key == VK_RIGHT || key == VK_DOWN ? 1 : 0;
    if (step == 0) return false;
    int index = ActivePageIndex() + step;
    if (index >= 0 && index < PageCount()) {
        SetActivePageIndex(index);
        if (OnChange) OnChange(this);
    }
    return true;
}

void TPageControl::WndProc(TMessage& message) {
    // A click where the one before was, within the double-click time, arrives as a double click,
    // which the tab control ignores: after the arrow keys had moved the selection away, a click
    // on the tab just left would then select nothing.
    if (message.Msg == WM_LBUTTONDBLCLK) message.Msg = WM_LBUTTONDOWN;
    if (message.Msg == WM_KEYDOWN && StepByKey(message.WParam)) {
        message.Result = 0;
        return;
    }
    if (message.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header->code == TCN_SELCHANGE) {
            int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
            if (index >= 0 && index < PageCount()) SetActivePage(pages_[static_cast<size_t>(index)]);
            if (OnChange) OnChange(this);
        }
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl_ == pageControl) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = pageControl;
    SetParent(pageControl);
    if (pageControl) pageControl->InsertPage(this);
}

void TTabSheet::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    if (pageControl_) pageControl_->AlignControls();
}

void TTabSheet::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TTabSheet::TextChanged() {
    if (pageControl_) pageControl_->UpdateTab(this);
}

void TTabSheet::DoShow() {
    if (OnShow) OnShow(this);
}
