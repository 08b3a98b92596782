#pragma once
// How many more GDI objects the process can make now (all of them are released again): a
// measure of leaks where the system does not count a process's GDI objects.
#include <windows.h>

#include <vector>

inline size_t GdiRoom() {
    std::vector<HBRUSH> brushes;
    while (brushes.size() < 200000) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return brushes.size();
}
