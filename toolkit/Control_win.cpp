#include "toolkit/Control_win.h"

#include "toolkit/Application_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/WinControl_win.h"

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_->OnChange = [this] {
        if (!applyingParentFont_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    ControlDestroyed(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TForm* TControl::ParentForm() {
    TControl* control = this;
    while (control->parent_) control = control->parent_;
    return dynamic_cast<TForm*>(control);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    Invalidate();
}

POINT TControl::ClientToScreen(POINT point) {
    for (TControl* control = this; control; control = control->parent_) {
        if (control->IsWindowed() && static_cast<TWinControl*>(control)->HandleAllocated()) {
            ::ClientToScreen(static_cast<TWinControl*>(control)->Handle(), &point);
            return point;
        }
        point.x += control->left_;
        point.y += control->top_;
    }
    return point;
}

POINT TControl::ScreenToClient(POINT point) {
    POINT origin = ClientToScreen({0, 0});
    return {point.x - origin.x, point.y - origin.y};
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    Invalidate();
    visible_ = visible;
    Invalidate();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

bool TControl::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

TColor TControl::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
    Perform(CM_COLORCHANGED);
}

TFont& TControl::Font() { return *font_; }

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    applyingParentFont_ = true;
    font_->Assign(parent_->Font());
    applyingParentFont_ = false;
}

void TControl::ParentColorChanged() {
    if (parentColor_) ColorChanged();
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED);
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    DeliverMessage(message);
    return message.Result;
}

TMessageHookToken TControl::AddMessageHook(TMessageHook hook) {
    hooks_.push_back({++lastHookToken_, std::move(hook)});
    return lastHookToken_;
}

void TControl::RemoveMessageHook(TMessageHookToken token) {
    for (auto entry = hooks_.begin(); entry != hooks_.end(); ++entry) {
        if (entry->token == token) {
            hooks_.erase(entry);
            return;
        }
    }
}

void TControl::DeliverMessage(TMessage& message) { DeliverBelow(0, message); }

// Hooks are found by token rather than by position, so a hook that removes itself (or
// another) while a message is on its way does not make the message skip or repeat a hook.
void TControl::DeliverBelow(TMessageHookToken token, TMessage& message) {
    for (auto entry = hooks_.rbegin(); entry != hooks_.rend(); ++entry) {
        if (token != 0 && entry->token >= token) continue;
        TMessageHook hook = entry->hook;  // the hook may remove itself while it runs
        TMessageHookToken own = entry->token;
        hook(message, [this, own](TMessage& passed) { DeliverBelow(own, passed); });
        return;
    }
    WindowProc(message);
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    // A hidden window is painted whole when it is shown; marking it costs a server round trip.
    if (!IsWindowVisible(parent_->Handle())) return;
    RECT bounds = BoundsRect();
    InvalidateRect(parent_->Handle(), &bounds, TRUE);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::WndProc(TMessage& message) {
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) DispatchMouse(message);
}

bool TControl::DispatchMouse(TMessage& message) {
    int x = PointX(message.LParam), y = PointY(message.LParam);
    TShiftState shift = MouseShiftState(message.WParam);
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        mouseDown_ = true;
        MouseDown(mbLeft, shift, x, y);
        return true;
    case WM_LBUTTONUP: {
        bool wasDown = mouseDown_;
        mouseDown_ = false;
        MouseUp(mbLeft, shift, x, y);
        if (wasDown && clickOnMouseUp_ && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
        return true;
    }
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shift, x, y);
        return true;
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        return true;
    default:
        return false;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

TShiftState MouseShiftState(WPARAM mouseKeys) {
    TShiftState shift = 0;
    if (mouseKeys & MK_SHIFT) shift |= ssShift;
    if (mouseKeys & MK_CONTROL) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}
