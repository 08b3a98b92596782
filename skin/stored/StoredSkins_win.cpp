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

std::vector<uint8_t> ResourceBytes(HMODULE module, const char* itemName) {
    std::string resource = ResourceName(itemName);
    HRSRC found = FindResourceW(module, Wide(resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) throw EResNotFound(Format(ErrorText::ResourceNotFound, resource.c_str()));
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

}  // namespace

void LoadStoredSkins(TSkinStore& store, HMODULE module) {
    for (const char* itemName : StoredSkins::ItemNames) {
        std::vector<uint8_t> bytes = ResourceBytes(module, itemName);
        TSkinCollectionItem& item = store.Store().Add();
        item.SetName(itemName);
        item.DataStream().WriteBuffer(bytes.data(), bytes.size());
        item.DataStream().SetPosition(0);
    }
}

std::vector<uint8_t> StoredSkinBytes(int index, HMODULE module) {
    if (index < 0 || index >= StoredSkins::Count) return {};
    return ResourceBytes(module, StoredSkins::ItemNames[index]);
}
