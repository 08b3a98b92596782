#pragma once
// Texts of the program that several of its parts show.
#include "base/ProgramTitle.h"

namespace ProgramText {
inline constexpr const char* MainCaption = "Quorlin图片处理Tervane--Quorlin电脑工作室";
// The program's own message boxes carry the main window's caption.
inline constexpr const char* MessageCaption = MainCaption;
inline constexpr const char* MainFormClass = "TVyrfForm1";
inline constexpr const char* AlreadyRunning = "为了节约系统资源,请不要重复运行本程序.";
}  // namespace ProgramText
