#pragma once
// The folders beside the program that snapshots ("Photos"), recordings
// ("Video Capture") and exports ("Files") are written to: a fresh
// installation has none of them, so each is made on first use, and a
// folder that cannot be made is told to the user.
#include <windows.h>

#include <string>

// True when the folder is there, made now if it was missing (with any
// missing parent); false when it cannot be made or a file has its name.
bool MakeProgramFolder(const std::wstring& folder);

// The folder when it is there or could be made; otherwise the user is told,
// in the program's message box over `owner`, which folder could not be made.
bool EnsureProgramFolder(HWND owner, const std::wstring& folder);
