#pragma once
// File dialog filters are written as "description|pattern|description|pattern"; the system
// wants the same pieces separated by zero bytes and ended by two.
#include <string>

std::string FilterToSystemForm(const std::string& filter);
// Number of description/pattern pairs in a filter ("" has none).
int FilterEntryCount(const std::string& filter);
// Keeps an index between 1 and the entry count (1 when the filter is empty).
int ClampFilterIndex(int index, const std::string& filter);
