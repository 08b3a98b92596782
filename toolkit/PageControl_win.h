#pragma once
// A page control: a tab strip whose tabs switch between tab sheets, each a container that
// fills the control below the tabs. Only the active sheet is shown.
#include <vector>

#include "toolkit/WinControl_win.h"

class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    const char* ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return activePage_; }
    // Shows the page (its OnShow runs) and hides the one shown before.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The rectangle the sheets fill, in the control's client coordinates.
    RECT DisplayRect();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void AlignControls() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTab(TTabSheet* page);
    int IndexOf(const TTabSheet* page) const;
    void InsertTab(int index, TTabSheet* page);
    bool StepByKey(WPARAM key);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    const char* ClassName() const override { return "TTabSheet"; }

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl);
    int PageIndex() const { return pageControl_ ? pageControl_->IndexOf(this) : -1; }

    // A sheet always fills its page control: moving or sizing it puts it straight back.
    void SetBounds(int left, int top, int width, int height) override;

    // The sheet became the visible page.
    TNotifyEvent OnShow;

protected:
    void CreateParams(TCreateParams& params) override;
    void TextChanged() override;

private:
    friend class TPageControl;
    void DoShow();

    TPageControl* pageControl_ = nullptr;
};
