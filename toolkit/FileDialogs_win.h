#pragma once
// The standard open and save dialogs as components. Title, filter and file name are set
// before each use; the filter entry the user chose is remembered for the next use.
#include <windows.h>

#include <string>

#include "base/Component.h"

enum TOpenOption : unsigned {
    ofReadOnly = 1,
    ofOverwritePrompt = 2,
    ofHideReadOnly = 4,
    ofNoChangeDir = 8,
    ofPathMustExist = 16,
    ofFileMustExist = 32,
    ofEnableSizing = 64,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    const char* ClassName() const override { return "TOpenDialog"; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // "description|pattern|description|pattern".
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // 1-based; kept between uses, so the dialog opens on the entry chosen last.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    // Added to a name typed without an extension ("ico").
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& extension) { defaultExt_ = extension; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& folder) { initialDir_ = folder; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    // Runs the dialog; true when the user confirmed a file name that code page 936 can hold
    // (another gets a message and counts as cancelled).
    bool Execute();

protected:
    // Runs the system's wide dialog on an OPENFILENAMEW.
    virtual bool RunSystemDialog(void* openFileName);

private:
    std::string title_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string defaultExt_;
    std::string initialDir_;
    // The system dialog does not ask about replacing a file, does not insist that a typed
    // name exists, hides the read-only box and can be resized.
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    const char* ClassName() const override { return "TSaveDialog"; }

protected:
    bool RunSystemDialog(void* openFileName) override;
};

// The window that owns the program's dialogs: the active window of the program, else its
// main form.
HWND DialogOwnerWindow();
