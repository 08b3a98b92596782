#pragma once
// How the stored skins lay out the cells of their multi-state pictures, for the painters.
//
// Side by side (cell width = picture width / frames): the left and right borders, caption
// buttons, push buttons, check boxes, radio buttons, tabs, toolbars, header bar, status-bar
// edges, combo button, sunken edge, extra images, menu item, group-box edge, the scroll-bar
// arrows, the vertical scroll track and thumb, and the 12 columns of the multiple-document
// buttons. One above the other (cell height = picture height / frames): the top and bottom
// borders, the menu-bar background, the title's text background, the progress bar, and the
// horizontal scroll track and thumb.
#include <cstring>

namespace SkinCells {

// Whether the cells of the element with this name (an object's `Name`) are stacked.
inline bool Stacked(const char* element) {
    for (const char* name : {"Top", "Bottom", "MenuBar", "Title", "Progress", "HorzScroll", "HorzScrollThumb"}) {
        if (std::strcmp(name, element) == 0) return true;
    }
    return false;
}

// Cells of the push-button picture (5).
enum PushButtonCell { PushNormal = 1, PushPressed = 2, PushDisabled = 3, PushHot = 4, PushDefault = 5 };
// Cells of caption buttons given 4 frames: normal, pressed, mouse over, inactive window.
enum CaptionButtonCell { CaptionNormal = 1, CaptionPressed = 2, CaptionHot = 3, CaptionInactive = 4 };
// Cells of the check-box and radio-button pictures.
enum CheckBoxCell { CheckUnchecked = 1, CheckChecked = 2, CheckDisabled = 3, CheckIndeterminate = 4 };
enum RadioCell { RadioUnchecked = 1, RadioChecked = 2, RadioDisabled = 3, RadioDisabledChecked = 4 };
// Tabs (5): normal, selected, mouse over, disabled, selected and pressed.
// Menu item (5): normal (transparent), separator (a line in the lowest 8 rows), disabled,
// selected, selected and disabled.
// Progress bar (2): the track, the bar. Title text background (2): active, inactive.
// Scroll tracks (4) and combo button (4): normal, mouse over, pressed, disabled.
// Scroll thumbs (3): normal, mouse over, pressed. Sunken edge (4): normal, mouse over,
// focused, disabled. Group-box edge (2): enabled, disabled. Status-bar edges (3): panel,
// last panel, size-grip area. Toolbars and header (5): normal, mouse over, pressed,
// disabled, checked. Extra images (5): drop-down arrows normal, mouse over, pressed,
// disabled, white.

// The 23 cells of the scroll-bar arrow picture (16 × 16 each): four arrows in four states
// (normal, mouse over, pressed, disabled), the thumbs' grips in three states, a size grip.
enum ScrollArrowCell {
    ScrollUp = 1,        // 1 … 4
    ScrollDown = 5,      // 5 … 8
    ScrollLeft = 9,      // 9 … 12
    ScrollRight = 13,    // 13 … 16
    ScrollHorzGrip = 17, // 17 … 19
    ScrollVertGrip = 20, // 20 … 22
    ScrollSizeGrip = 23,
};
enum ScrollState { ScrollNormal = 0, ScrollHot = 1, ScrollPressed = 2, ScrollDisabled = 3 };

}  // namespace SkinCells
