#pragma once
// Texts of the program that several of its parts show.
namespace ProgramText {
inline constexpr const char* Title = "Quorlin图片处理Tervane";
inline constexpr const char* MainCaption = "Quorlin图片处理Tervane--Quorlin电脑工作室";
// Caption of the program's own message boxes.
inline constexpr const char* MessageCaption = "Quorlin图片处理Tervane--Quorlin电脑工作室";
inline constexpr const char* MainFormClass = "TVyrfForm1";
inline constexpr const char* AlreadyRunning = "为了节约系统资源,请不要重复运行本程序.";
}  // namespace ProgramText
