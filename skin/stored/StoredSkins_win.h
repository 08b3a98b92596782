#pragma once
// The seven stored skins the program carries as resources, put into a skin store.
#include <windows.h>

class TSkinStore;

// Adds one store item per stored skin, in store order, named after its resource and
// holding its bytes. Throws EResNotFound when a skin resource is missing from `module`.
void LoadStoredSkins(TSkinStore& store, HMODULE module = GetModuleHandleW(nullptr));
