#pragma once
// The icon extraction page's handlers and state, attached to the main window's controls
// (BitBtn8, BitBtn5, BitBtn6, BitBtn7, BitBtn1, TabSheet2's OnShow, ...) when it is created.
#include <memory>
#include <string>

#include "base/EventWiring.h"
#include "pages/MainFormPages_win.h"

std::unique_ptr<TMainFormPart> AttachIconPage(TMainFormPages& form);

// The page's source: kept while the program runs, never reset by showing the page again.
struct TIconSource {
    std::string IconFileName;
    int IconCount = 0;
    int IconIndex = 0;
};

class TIconPage : public TMainFormPart {
public:
    explicit TIconPage(TMainFormPages& form);

    void TabSheet2Show(TObject* sender);
    void BitBtn8Click(TObject* sender);
    // Steps by the sender's Tag (BitBtn5: +1, BitBtn6: -1) with wrap-around.
    void BitBtn5Click(TObject* sender);
    void BitBtn6Click(TObject* sender) { BitBtn5Click(sender); }
    void BitBtn7Click(TObject* sender);
    void BitBtn1Click(TObject* sender);

    const TIconSource& Source() const { return source_; }
    // The pages go with the window and may show each other on the way: the page lets go.
    void FormDestroying() override;
    bool FileDropped(TTabSheet* page, const std::string& fileName) override;

private:
    // What a file chosen in the open dialog (or dropped) does to the page.
    void OpenSource(const std::string& path);
    void ClearPreview();
    void ShowCurrentIcon();
    void ShowIndexText();
    // `wholeGroup`: the save dialog's "all sizes" entry was chosen.
    void SaveCurrentIcon(const std::string& fileName, bool wholeGroup);
    void SaveWholeGroup(const std::string& fileName);
    void SaveLargestImageAsPng(const std::string& fileName);
    void SaveIconFile(int index, const std::string& fileName);
    bool PrepareAllIconsFolder(const std::string& folder);

    TMainFormPages& form_;
    TEventWiring handlers_;
    TIconSource source_;
};
