#pragma once
#include <string>

// The folder of the running program file with a trailing backslash: the base
// of Config.ini, scale.ini and the program's data folders.
std::wstring GetModuleFolder();
