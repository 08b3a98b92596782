#include "toolkit/MessageForm_win.h"

#include <algorithm>

#include "toolkit/Application_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kButtonHeight = 25;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonGap = 8;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

LPCSTR TypeIcon(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return IDI_WARNING;
    case mtError:
        return IDI_ERROR;
    case mtInformation:
        return IDI_INFORMATION;
    case mtConfirmation:
        return IDI_QUESTION;
    default:
        return nullptr;
    }
}

std::string DialogCaption(TMsgDlgType type) {
    std::string caption = MessageTypeCaption(type);
    std::string title = Application ? Application->Title() : std::string();
    if (caption.empty()) return title;
    return title.empty() ? caption : caption + "--" + title;
}

}  // namespace

TMessageForm::TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner), message_(message) {
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetCaption(DialogCaption(type));
    if (LPCSTR icon = TypeIcon(type)) icon_ = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(icon));
    SetCloseResult(CancelResult(buttons));
    int defaultIndex = DefaultButtonIndex(buttons);
    for (const TMessageButtonDef& kind : MessageButtons(buttons)) {
        auto* button = new TButton(this);
        button->SetName(std::string("Button") + std::to_string(buttons_.size() + 1));
        button->SetCaption(kind.caption);
        button->SetModalResult(kind.result);
        if (static_cast<int>(buttons_.size()) == defaultIndex) {
            button->SetDefault(true);
            defaultButton_ = button;
        }
        button->SetParent(this);
        buttons_.push_back(button);
    }
    Arrange();
}

void TMessageForm::Arrange() {
    HDC measuring = MeasuringDC();
    TSelection font(measuring, Font().Handle());
    RECT text{0, 0, Screen->Width() / 2, 0};
    DrawTextOf(measuring, message_, &text, kTextFormat | DT_CALCRECT);
    int buttonWidth = kButtonMinWidth;
    for (TButton* button : buttons_) {
        SIZE size;
        std::string caption = button->Caption();
        size = TextExtentOf(measuring, caption);
        buttonWidth = std::max<int>(buttonWidth, size.cx + 16);
    }
    int textLeft = icon_ ? kMargin + kIconSize + kMargin : kMargin;
    int contentHeight = std::max<int>(icon_ ? kIconSize : 0, text.bottom);
    // A short message sits level with the middle of the icon.
    int textTop = kMargin + (contentHeight - text.bottom) / 2;
    textRect_ = {textLeft, textTop, textLeft + text.right, textTop + text.bottom};
    int rowWidth = static_cast<int>(buttons_.size()) * (buttonWidth + kButtonGap) - kButtonGap;
    int clientWidth = std::max<int>(textRect_.right + kMargin, rowWidth + 2 * kMargin);
    int rowTop = kMargin + contentHeight + kMargin;
    int x = (clientWidth - rowWidth) / 2;
    for (TButton* button : buttons_) {
        button->SetBounds(x, rowTop, buttonWidth, kButtonHeight);
        x += buttonWidth + kButtonGap;
    }
    SetClientSize(clientWidth, rowTop + kButtonHeight + kMargin - 4);
}

void TMessageForm::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    if (icon_) DrawIconEx(dc, kMargin, kMargin, icon_, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    TSelection font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font().Color()));
    RECT rect = textRect_;
    DrawTextOf(dc, message_, &rect, kTextFormat);
}

bool TMessageForm::DialogKey(uint16_t key, TShiftState shift) {
    if (key == VK_ESCAPE) {
        SetModalResult(CloseResult());
        return true;
    }
    if (key == VK_RETURN) {
        TButton* pressed = defaultButton_;
        for (TButton* button : buttons_)
            if (button->Focused()) pressed = button;
        if (pressed) pressed->Click();
        return true;
    }
    return TForm::DialogKey(key, shift);
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
    auto* form = new TMessageForm(Application, message, type, buttons);
    TModalResult result = mrNone;
    try {
        form->SetActiveControl(form->DefaultButton());
        result = form->ShowModal();
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result;
}
