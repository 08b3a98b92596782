// Lists windows of the session, hidden ones included, and describes each as one reply token.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

std::vector<HWND> TopLevelWindows(DWORD processId);  // processId 0: every process
std::vector<HWND> DescendantWindows(HWND parent);
// The window's text read through the wide API, in code page 936 (what the program holds).
std::string WindowText(HWND window);
// Texts cross the protocol as code page 936 (or UTF-8) bytes, named explicitly: the system's
// code page may be another one.
std::wstring WideFrom(UINT codePage, const std::string& text);
std::string Cp936From(const std::wstring& text);
// hwnd,parent,owner,pid,tid,id,style,exstyle,visible,enabled,left,top,right,bottom,
// clientLeft,clientTop,clientWidth,clientHeight,classHex,textHex (client origin in screen pixels)
std::string DescribeWindow(HWND window);
HWND WindowFromToken(long long token);
