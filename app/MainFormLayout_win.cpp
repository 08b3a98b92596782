// The main window's layout: every control with its place, size, caption, hint and Tag.
#include "app/MainForm_win.h"

#include "icons/PreviewHint.h"
#include "pages/ProgramTexts.h"
#include "picture/Picture_win.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

TVyrfForm1* VyrfForm1 = nullptr;

namespace {

template <typename T>
T* Place(TVyrfForm1* form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

TLabel* PlaceLabel(TVyrfForm1* form, TWinControl* parent, const char* name, int left, int top, const char* caption) {
    TLabel* label = Place<TLabel>(form, parent, name, left, top, 0, 0);
    label->SetCaption(caption);
    return label;
}

TEdit* PlaceReadOnlyEdit(TVyrfForm1* form, TWinControl* parent, const char* name, int left, int top, int width) {
    TEdit* edit = Place<TEdit>(form, parent, name, left, top, width, 20);
    edit->SetReadOnly(true);
    return edit;
}

HBITMAP LoadGlyph(const char* resource) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), Wide(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TBitBtn* PlaceButton(TVyrfForm1* form, TWinControl* parent, const char* name, int left, int top, int width,
                     const char* caption, const char* hint, const char* glyph) {
    TBitBtn* button = Place<TBitBtn>(form, parent, name, left, top, width, 41);
    button->SetCaption(caption);
    button->SetHint(hint);
    button->SetGlyph(LoadGlyph(glyph));
    return button;
}

TRadioButton* PlaceRadio(TVyrfForm1* form, TGroupBox* group, const char* name, int top, int width, const char* caption) {
    TRadioButton* radio = Place<TRadioButton>(form, group, name, 24, top, width, 25);
    radio->SetCaption(caption);
    return radio;
}

// The group box of both pages in which the icon mode is chosen.
TGroupBox* PlaceIconModeGroup(TVyrfForm1* form, TWinControl* parent, const char* name, const char* firstName,
                              const char* secondName, TRadioButton*& first, TRadioButton*& second) {
    TGroupBox* group = Place<TGroupBox>(form, parent, name, 232, 72, 177, 81);
    group->SetCaption("图标保存方式");
    first = PlaceRadio(form, group, firstName, 16, 113, "保存为256色图标");
    second = PlaceRadio(form, group, secondName, 48, 121, "保存为真彩色图标");
    first->SetChecked(true);
    return group;
}

}  // namespace

TVyrfForm1::TVyrfForm1(TComponent* owner) : TMainFormPages(owner) {
    SetName("VyrfForm1");
    SetCaption(ProgramText::MainCaption);
    SetBorderStyle(bsToolWindow);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(435, 292);
    Font().SetName("宋体");
    Font().SetHeight(-12);
    Font().SetCharset(GB2312_CHARSET);
    Font().SetColor(clWindowText);
    SetColor(clBtnFace);
    SetShowHint(true);
    SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0)));

    BuildMainMenu();
    BuildPopupMenu();
    CreateDialogs();
    CreateSkinComponents();
    CreatePages();
    AssignHandlers();
    VyrfForm1 = this;
    // Shown once whole and set up (after FormCreate), as a form read from its stored form is:
    // its first activation dresses it with every control in place.
    SetVisible(true);
}

void TVyrfForm1::CreatePages() {
    PageControl1 = Place<TPageControl>(this, this, "PageControl1", 0, 0, 433, 289);
    TabSheet2 = new TTabSheet(this);
    TabSheet2->SetName("TabSheet2");
    TabSheet2->SetCaption("图标提取");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet4 = new TTabSheet(this);
    TabSheet4->SetName("TabSheet4");
    TabSheet4->SetCaption("图片转换");
    TabSheet4->SetPageControl(PageControl1);
    TabSheet3 = new TTabSheet(this);
    TabSheet3->SetName("TabSheet3");
    TabSheet3->SetCaption("关于");
    TabSheet3->SetPageControl(PageControl1);
    CreateIconPage();
    CreateConvertPage();
    CreateAboutPage();
    PageControl1->SetActivePage(TabSheet3);
}

void TVyrfForm1::CreateIconPage() {
    Edit4 = PlaceReadOnlyEdit(this, TabSheet2, "Edit4", 8, 16, 313);
    BitBtn8 = PlaceButton(this, TabSheet2, "BitBtn8", 328, 8, 89, "打开 ", "打开要从中提取图标的文件", "GLYPH_OPEN");
    Label2 = PlaceLabel(this, TabSheet2, "Label2", 8, 51, "图标数目");
    Label1 = PlaceLabel(this, TabSheet2, "Label1", 8, 72, "当前图标");
    Image1 = Place<TImage>(this, TabSheet2, "Image1", 104, 80, 73, 65);
    Image1->SetHint(kPreviewHint);
    Image1->SetAutoSize(true);
    Image1->SetStretch(true);
    GroupBox1 = PlaceIconModeGroup(this, TabSheet2, "GroupBox1", "RadioButton1", "RadioButton2", RadioButton1,
                                   RadioButton2);
    BitBtn5 = PlaceButton(this, TabSheet2, "BitBtn5", 32, 160, 89, "向前", "下一个图标", "GLYPH_NEXT");
    BitBtn5->SetTag(1);
    BitBtn6 = PlaceButton(this, TabSheet2, "BitBtn6", 160, 160, 97, "向后", "前一个图标", "GLYPH_PREVIOUS");
    BitBtn6->SetTag(-1);
    BitBtn1 = PlaceButton(this, TabSheet2, "BitBtn1", 312, 160, 105, "全部保存",
                          "保存文件中所有的图标,保存路径如果有同名图标将覆盖", "GLYPH_SAVEALL");
    Edit5 = PlaceReadOnlyEdit(this, TabSheet2, "Edit5", 8, 218, 305);
    BitBtn7 = PlaceButton(this, TabSheet2, "BitBtn7", 328, 208, 89, "保存", "保存当前选中的图标", "GLYPH_SAVE");
}

void TVyrfForm1::CreateConvertPage() {
    Edit6 = PlaceReadOnlyEdit(this, TabSheet4, "Edit6", 8, 25, 305);
    BitBtn9 = PlaceButton(this, TabSheet4, "BitBtn9", 328, 16, 89, "原文件", "选择要转换格式的图片文件",
                          "GLYPH_SOURCEPICTURE");
    Image3 = Place<TImage>(this, TabSheet4, "Image3", 88, 64, 89, 89);
    Image3->SetHint("点击放大图片");
    Image3->SetCursor(crHandPoint);
    Image3->SetStretch(true);
    Label15 = PlaceLabel(this, TabSheet4, "Label15", 24, 112, "图片预览");
    GroupBox2 = PlaceIconModeGroup(this, TabSheet4, "GroupBox2", "RadioButton3", "RadioButton4", RadioButton3,
                                   RadioButton4);
    Label16 = PlaceLabel(this, TabSheet4, "Label16", 8, 184, "JPEG图片质量(0-100):");
    TrackBar1 = Place<TTrackBar>(this, TabSheet4, "TrackBar1", 128, 184, 289, 17);
    TrackBar1->SetRange(0, 100);
    TrackBar1->SetPageSize(10);
    TrackBar1->SetFrequency(10);
    TrackBar1->SetThumbLength(10);
    TrackBar1->SetTabStop(false);
    TrackBar1->SetPosition(65);
    Edit7 = PlaceReadOnlyEdit(this, TabSheet4, "Edit7", 8, 227, 305);
    BitBtn10 = PlaceButton(this, TabSheet4, "BitBtn10", 324, 216, 97, "生成文件", "选择保存为的文件及格式",
                           "GLYPH_GENERATE");
}

void TVyrfForm1::CreateAboutPage() {
    Image2 = Place<TImage>(this, TabSheet3, "Image2", 24, 8, 32, 32);
    Image2->SetCursor(crHandPoint);
    Image2->Picture().Icon()->SetHandle(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"ABOUTICON", IMAGE_ICON, 32, 32, 0)));
    Label3 = PlaceLabel(this, TabSheet3, "Label3", 88, 16, ProgramText::Title);
    Label4 = PlaceLabel(this, TabSheet3, "Label4", 89, 40, "版本:     1.0版");
    Label5 = PlaceLabel(this, TabSheet3, "Label5", 88, 64, "作者: 林知远");
    Label6 = PlaceLabel(this, TabSheet3, "Label6", 88, 88, "出品单位: Quorlin电脑工作室");
    Label7 = PlaceLabel(this, TabSheet3, "Label7", 88, 116, "地点: 中国 杭州");
    Label8 = PlaceLabel(this, TabSheet3, "Label8", 88, 144, "作者主页:");
    Label9 = PlaceLabel(this, TabSheet3, "Label9", 88, 169, "备用域名:");
    Label10 = PlaceLabel(this, TabSheet3, "Label10", 88, 200, "作者邮箱:");
    struct Link {
        TLabel*& label;
        const char* name;
        int left, top;
        const char* address;
        const char* hint;
    };
    const Link links[] = {
        {Label12, "Label12", 150, 144, "http://www.quorlin.example.com", "到我主页看看"},
        {Label13, "Label13", 149, 168, "http://quorlin.example.net", "Quorlin的备用域名"},
        {Label14, "Label14", 149, 200, "quorlin@example.com", "给我写信"},
        {Label11, "Label11", 149, 224, "quorlin@example.net", "备用邮箱"},
    };
    for (const Link& link : links) {
        link.label = PlaceLabel(this, TabSheet3, link.name, link.left, link.top, link.address);
        link.label->SetHint(link.hint);
        link.label->SetCursor(crHandPoint);
        // A font of its own, so recolouring one link changes nothing else.
        link.label->Font().SetName("宋体");
        link.label->Font().SetHeight(-12);
        link.label->Font().SetCharset(GB2312_CHARSET);
        link.label->Font().SetColor(clBlue);
    }
}

void TVyrfForm1::CreateDialogs() {
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetDefaultExt("ico");
    IconWriter1 = new TIconWriter(this);
    IconWriter1->SetName("IconWriter1");
}
