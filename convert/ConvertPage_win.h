#pragma once
// The picture conversion page's handlers and state, attached to the main window's controls
// (BitBtn9, BitBtn10, Image3, TrackBar1, TabSheet4's OnShow, ...) when it is created.
#include <memory>
#include <string>

#include "base/EventWiring.h"
#include "pages/MainFormPages_win.h"

std::unique_ptr<TMainFormPart> AttachConvertPage(TMainFormPages& form);

class TConvertPage : public TMainFormPart {
public:
    explicit TConvertPage(TMainFormPages& form);
    // The window's controls go one by one after this; none may call back into the page.
    void FormDestroying() override;
    bool FileDropped(TTabSheet* page, const std::string& fileName) override;

    void TabSheet4Show(TObject* sender);
    void TrackBar1Change(TObject* sender);
    void BitBtn9Click(TObject* sender);
    void Image3Click(TObject* sender);
    void BitBtn10Click(TObject* sender);

    // The chosen source, exactly as the open dialog returned it; kept when the page is shown
    // again (only Edit6 tells whether a source is chosen).
    std::string SourceFileName;

private:
    // What a picture chosen in the open dialog (or dropped) does to the page.
    void ChooseSource(const std::string& path);
    // Asks for the target file; false when the user gives up (dialog or overwrite question).
    bool ChooseTarget(std::string& target);

    TMainFormPages& form_;
    TEventWiring handlers_;
};
