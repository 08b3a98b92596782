#pragma once
// The program's name, as its task-bar button and its notices show it. It sits below the
// application so that the skin engine, which knows nothing of the application, takes it from
// the same place.
namespace ProgramText {
inline constexpr const char* Title = "Quorlin图片处理Tervane";
}  // namespace ProgramText
