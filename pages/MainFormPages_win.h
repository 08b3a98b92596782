#pragma once
// The main window as its pages see it: the page control, the controls of the icon and
// conversion pages, and the dialogs and icon writer they share. The main window (app/) builds
// these controls and attaches the pages' handlers through TMainFormPart; a page knows nothing
// more of the window than this.
#include <string>

#include "icowriter/IconWriter_win.h"
#include "picture/Image_win.h"
#include "toolkit/BitBtn_win.h"
#include "toolkit/Edit_win.h"
#include "toolkit/FileDialogs_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/GroupBox_win.h"
#include "toolkit/Label_win.h"
#include "toolkit/PageControl_win.h"
#include "toolkit/RadioButton_win.h"
#include "toolkit/TrackBar_win.h"

// A piece of behaviour attached to the main window when it is created (page handlers, the
// tray icon). It lives as long as the window and hears when the window is going.
class TMainFormPart {
public:
    virtual ~TMainFormPart() = default;
    // Runs in FormDestroy, while every control still exists.
    virtual void FormDestroying() {}
    // A file dropped onto the window while `page` is in front: true when this part took it,
    // as if it had been chosen in the page's open dialog.
    virtual bool FileDropped(TTabSheet* /*page*/, const std::string& /*fileName*/) { return false; }
};

class TMainFormPages : public TForm {
public:
    explicit TMainFormPages(TComponent* owner) : TForm(owner) {}

    TPageControl* PageControl1;
    TTabSheet* TabSheet2;  // icon extraction
    TTabSheet* TabSheet4;  // picture conversion
    TTabSheet* TabSheet3;  // About

    // Icon extraction page.
    TEdit* Edit4;
    TBitBtn* BitBtn8;
    TLabel* Label2;
    TLabel* Label1;
    TImage* Image1;
    TGroupBox* GroupBox1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    TBitBtn* BitBtn5;
    TBitBtn* BitBtn6;
    TBitBtn* BitBtn1;
    TEdit* Edit5;
    TBitBtn* BitBtn7;

    // Picture conversion page.
    TEdit* Edit6;
    TBitBtn* BitBtn9;
    TImage* Image3;
    TLabel* Label15;
    TGroupBox* GroupBox2;
    TRadioButton* RadioButton3;
    TRadioButton* RadioButton4;
    TLabel* Label16;
    TTrackBar* TrackBar1;
    TEdit* Edit7;
    TBitBtn* BitBtn10;

    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;
    TIconWriter* IconWriter1;
};
