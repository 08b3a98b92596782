#pragma once
// The seven stored skins the program carries as resources, put into a skin store.
#include <windows.h>

#include <cstdint>
#include <vector>

class TSkinStore;

// Adds one store item per stored skin, in store order, named after its resource and
// holding its bytes. Throws EResNotFound when a skin resource is missing from `module`.
void LoadStoredSkins(TSkinStore& store, HMODULE module = GetModuleHandleW(nullptr));

// The bytes of the stored skin at this place in store order (none outside it); throws as above.
std::vector<uint8_t> StoredSkinBytes(int index, HMODULE module = GetModuleHandleW(nullptr));
