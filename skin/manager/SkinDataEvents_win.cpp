// The manager's answers to the skin-data components' news (when the engine has been finalised
// only a new component brings a manager back; the other news then go nowhere).
#include "skin/stored/SkinDataEvents_win.h"

#include "skin/manager/SkinManager_win.h"
#include "skin/menus/SkinMenuItems_win.h"

namespace SkinDataEvents {

void Made(TSkinData& data) { TSkinManage::ForSkinData().AddSkinData(data); }

void Gone(TSkinData& data) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->RemoveSkinData(data);
}

void ActivationPosted(bool active) {
    if (TSkinManage* manager = TSkinManage::Instance())
        manager->PostSkinAction(active ? TSkinManage::saActivate : TSkinManage::saDeactivate);
}

void SkinChanged(TSkinData& data) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->AnnounceSkinChange(data);
}

void PicturesReplaced(TSkinData&) { ForgetSkinMenuPictures(); }

}  // namespace SkinDataEvents
