#pragma once
// The module that dialogs, strings, menus and bitmaps are loaded from: the
// program itself until a language library is chosen, then that library.
#include <windows.h>

#include <string>

HINSTANCE GetResourceModule();
void SetResourceModule(HINSTANCE module);

// A string of the resource module's string table; empty when it has none.
std::wstring LoadResourceString(UINT id);
