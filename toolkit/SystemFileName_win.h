#pragma once
// File names handed over by Windows (the file dialogs, a drop): the program keeps its names
// in code page 936, and a name that code page cannot hold (Korean, an emoji, ...) would come
// out with "?" in it and name another file, or none. Such a name is refused before any work
// starts, with a message that names the file as the system spells it.
#include <string>

// True with the name in code page 936; false after telling the user.
bool TakeSystemFileName(const std::wstring& systemName, std::string& name);
