// Plain-window mode (message boxes, the standard dialogs): the window's child windows are
// dressed by their window class and style.
#include <memory>

#include "skin/frame/SkinForm_win.h"
#include "skin/controls/SkinPainters_win.h"

namespace {

std::unique_ptr<TSkinControl> ButtonPainter(TSkinForm& window, LONG style) {
    if ((style & 7) == 7) return nullptr;                       // group box
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW) return nullptr;  // its owner draws it
    if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return std::make_unique<TSkinCheckBox>(window);
    if ((style & 9) == 9 || (style & 4)) return std::make_unique<TSkinRadioButton>(window);
    return std::make_unique<TSkinButton>(window);
}

// The painter for a child window and the window it hooks (a combo box inside an extended
// combo box), or nullptr when the child keeps its own look.
std::unique_ptr<TSkinControl> PainterFor(TSkinForm& window, HWND& child) {
    std::string name = LowerWindowClass(child);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (name == "button") return ButtonPainter(window, style);
    if (name == "combobox") return (style & 3) != CBS_SIMPLE ? std::make_unique<TSkinComBox>(window) : nullptr;
    if (name == "comboboxex32") {
        HWND inner = GetWindow(child, GW_CHILD);
        if (!inner) return nullptr;
        child = inner;
        return std::make_unique<TSkinComBox>(window);
    }
    if (name == "scrollbar") return std::make_unique<TSkinSizer>(window);
    if (name == "systabcontrol32") return (style & 0x2000)  // TCS_OWNERDRAWFIXED
                                           ? nullptr : std::make_unique<TSkinTab>(window);
    if (name == "edit") return std::make_unique<TSkinEdit>(window);
    return nullptr;
}

}  // namespace

void SkinChildWindows(TSkinForm& window) { SkinChildWindows(window, window.SkinData()); }

void SkinChildWindows(TSkinForm& window, TSkinData& skinData) {
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_CHILD) || FindControlPainter(window, child)) continue;
        HWND hooked = child;
        std::unique_ptr<TSkinControl> painter = PainterFor(window, hooked);
        if (!painter || FindControlPainter(window, hooked)) continue;
        painter->AttachHandle(hooked, skinData);
        window.Controls().push_back(std::move(painter));
    }
}
