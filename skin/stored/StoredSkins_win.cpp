#include "skin/stored/StoredSkins_win.h"

#include <cctype>
#include <string>

#include "skin/stored/SkinStore.h"
#include "skin/stored/StoredSkinNames.h"
#include "toolkit/WideText_win.h"

namespace {

std::string ResourceName(const char* itemName) {
    std::string name = itemName;
    for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return name;
}

}  // namespace

void LoadStoredSkins(TSkinStore& store, HMODULE module) {
    for (const char* itemName : StoredSkins::ItemNames) {
        std::string resource = ResourceName(itemName);
        HRSRC found = FindResourceW(module, Wide(resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) throw EResNotFound(Format(ErrorText::ResourceNotFound, resource.c_str()));
        TSkinCollectionItem& item = store.Store().Add();
        item.SetName(itemName);
        item.DataStream().WriteBuffer(bytes, SizeofResource(module, found));
        item.DataStream().SetPosition(0);
    }
}
