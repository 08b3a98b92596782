// The About page: the four links turn red under the mouse and blue again only when the mouse
// moves over the page's own background (there is no timer and no leave event); a click opens
// the link through the shell, and the help command opens readme.txt beside the program.
#include "app/AboutPage_win.h"

#include <windows.h>

#include "app/HelpFilePath.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/WideText_win.h"

namespace {

class TAboutPage : public TMainFormPart {
public:
    explicit TAboutPage(TVyrfForm1& form) : form_(form) {
        links_ = {form.Label12, form.Label13, form.Label14, form.Label11};
        for (TLabel* link : links_) {
            link->OnMouseMove = [link](TObject*, TShiftState, int, int) { link->Font().SetColor(clRed); };
        }
        form.TabSheet3->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
            TabSheet3MouseMove(sender, shift, x, y);
        };
        form.Label12->OnClick = [this](TObject*) { OpenAddress(form_.Label12->Caption()); };
        form.Label13->OnClick = [this](TObject*) { OpenAddress(form_.Label13->Caption()); };
        form.Label14->OnClick = [this](TObject*) { OpenAddress("mailto:" + form_.Label14->Caption()); };
        form.Label11->OnClick = [this](TObject*) { OpenAddress("mailto:" + form_.Label11->Caption()); };
        form.Image2->OnClick = [this](TObject*) { OpenAddress(form_.Label12->Caption()); };
        form.F2->OnClick = [this](TObject* sender) { F2Click(sender); };
    }

private:
    void TabSheet3MouseMove(TObject*, TShiftState, int, int) {
        for (TLabel* link : links_) link->Font().SetColor(clBlue);
    }

    // The shell's default action for the address; whatever it reports is all the user sees.
    void OpenAddress(const std::string& address) {
        LateBound::ShellExecute(form_.Handle(), nullptr, Wide(address), nullptr, nullptr, SW_SHOWNORMAL);
    }

    void F2Click(TObject*) {
        wchar_t moduleName[200] = {};
        GetModuleFileNameW(nullptr, moduleName, 200);
        std::string helpFile = HelpFilePath(AnsiFromWide(moduleName));
        LateBound::ShellExecute(form_.Handle(), L"open", Wide(helpFile), L"", L"", SW_SHOWNORMAL);
    }

    TVyrfForm1& form_;
    std::vector<TLabel*> links_;
};

}  // namespace

std::unique_ptr<TMainFormPart> AttachAboutPage(TVyrfForm1& form) { return std::make_unique<TAboutPage>(form); }
