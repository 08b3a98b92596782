#pragma once
// Texts both pages show: their file dialogs' titles, which end in the program's caption, and
// their questions about the chosen files.
#include <string>

#include "pages/ProgramTexts.h"

namespace PageText {
inline const std::string OpenDialogTitle = std::string("请选择要打开的文件 ") + ProgramText::MainCaption;
inline const std::string SaveDialogTitle = std::string("请选择保存为的文件 ") + ProgramText::MainCaption;
inline constexpr const char* MissingFile =
    "你所选择的文件名不存在,请重新选择. 为确保文件存在,请用鼠标选择文件,不要直接输入文件名.";
inline constexpr const char* ReplaceFile = "要保存的文件已经存在,是否覆盖?";
}  // namespace PageText
