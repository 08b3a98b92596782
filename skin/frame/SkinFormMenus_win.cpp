// The form's popup menus dressed in the skin: owner-drawn, every item drawn and measured by
// the skin's handlers, except items that keep the system's drawing (Tag 999) or a drawing
// handler of their own.
#include <typeinfo>

#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/menus/SkinMenuItems_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/Menus_win.h"

namespace {

constexpr int kSystemDrawnTag = 999;

// The skin's handlers as types of their own, so that they can be told from an item's own.
struct TSkinItemDrawer {
    TSkinData* data;
    void operator()(TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected) const {
        if (!data->NotReady()) DrawSkinMenuItem(*data, item, canvas, rect, selected);
    }
};
struct TSkinItemMeasurer {
    void operator()(TMenuItem* item, TCanvas& canvas, int& width, int& height) const {
        MeasureSkinMenuItem(item, canvas, width, height);
    }
};

bool DrawnBySkin(const TMenuItem& item) { return item.OnDrawItem && item.OnDrawItem.target_type() == typeid(TSkinItemDrawer); }

void ForEachItem(TMenuItem* parent, const std::function<void(TMenuItem&)>& visit) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        visit(*item);
        ForEachItem(item, visit);
    }
}

void Dress(TPopupMenu& menu, TSkinData& data) {
    ForEachItem(menu.Items(), [&data](TMenuItem& item) {
        bool ownDrawer = item.OnDrawItem && !DrawnBySkin(item);
        if (ownDrawer) return;
        if (item.Tag() == kSystemDrawnTag) {
            item.OnDrawItem = nullptr;
            item.OnMeasureItem = nullptr;
            return;
        }
        item.OnDrawItem = TSkinItemDrawer{&data};
        item.OnMeasureItem = TSkinItemMeasurer{};
    });
    menu.SetOwnerDraw(true);
}

void Undress(TPopupMenu& menu) {
    bool ownDrawers = false;
    ForEachItem(menu.Items(), [&ownDrawers](TMenuItem& item) {
        if (DrawnBySkin(item)) {
            item.OnDrawItem = nullptr;
            item.OnMeasureItem = nullptr;
        } else if (item.OnDrawItem) {
            ownDrawers = true;
        }
    });
    // Items with handlers of their own stay owner-drawn.
    menu.SetOwnerDraw(ownDrawers);
}

}  // namespace

void SetFormMenusSkinned(TSkinForm& window, TForm& form, bool skinned) {
    if (form.Destroying()) return;  // its menus go with it
    TSkinPopupMenu::ForgetPreparedBackgrounds();  // the skin's pictures may be new
    TSkinData& data = window.SkinData();
    bool dress = skinned && !data.NotReady() && (data.SkinControls & SkinControlBit(xcPopupMenu)) != 0;
    form.ForEachComponent([&](TComponent* component) {
        auto* menu = dynamic_cast<TPopupMenu*>(component);
        if (!menu || menu->Tag() % 100 == data.DisableTag) return;
        if (dress)
            Dress(*menu, data);
        else
            Undress(*menu);
    });
}
