#pragma once
// Track bars (sliders) with a range, a position, page steps and tick marks.
#include "toolkit/WinControl_win.h"

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);
    const char* ClassName() const override { return "TTrackBar"; }

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    void SetMin(int min) { SetRange(min, max_); }
    void SetMax(int max) { SetRange(min_, max); }
    int Position() const { return position_; }
    // Moves the thumb (kept within the range); OnChange runs when the position changes.
    void SetPosition(int position);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int pageSize);
    // A tick mark every this many units.
    int Frequency() const { return frequency_; }
    void SetFrequency(int frequency);
    int ThumbLength() const { return thumbLength_; }
    void SetThumbLength(int length);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    void Changed();

    int min_ = 0, max_ = 10;
    int position_ = 0;
    int pageSize_ = 2;
    int frequency_ = 1;
    int thumbLength_ = 20;
};
