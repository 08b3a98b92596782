// Lists windows of the session, hidden ones included, and describes each as one reply token.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

std::vector<HWND> TopLevelWindows(DWORD processId);  // processId 0: every process
std::vector<HWND> DescendantWindows(HWND parent);
std::string WindowText(HWND window);
// hwnd,parent,owner,pid,tid,id,style,exstyle,visible,enabled,left,top,right,bottom,
// clientLeft,clientTop,clientWidth,clientHeight,classHex,textHex (client origin in screen pixels)
std::string DescribeWindow(HWND window);
HWND WindowFromToken(long long token);
