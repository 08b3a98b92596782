#pragma once
// The toolkit's message dialog: a modal form of class "TMessageForm" with an icon for its
// type, the message and a row of buttons. Its caption is the type's word and the
// application title ("确认--Quorlin图片处理Tervane").
#include <string>
#include <vector>

#include "base/MessageDialogButtons.h"
#include "toolkit/Button_win.h"
#include "toolkit/Form_win.h"

class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
    const char* ClassName() const override { return "TMessageForm"; }

    const std::vector<TButton*>& Buttons() const { return buttons_; }
    TButton* DefaultButton() const { return defaultButton_; }
    const std::string& Message() const { return message_; }

    bool DialogKey(uint16_t key, TShiftState shift) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    void Arrange();

    std::string message_;
    HICON icon_ = nullptr;  // a shared system icon
    RECT textRect_{};
    std::vector<TButton*> buttons_;
    TButton* defaultButton_ = nullptr;
};

// Shows a message dialog and returns the answer (the modal result of the pressed button, or
// the Escape answer).
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
