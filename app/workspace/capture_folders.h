#pragma once
// The folders snapshots and recordings are written to: a fresh installation
// has none of them beside the program, so they are made on first use, and
// what cannot be made or started is told to the user.
#include <windows.h>

#include <string>

// True when the folder is there, made now if it was missing (with any
// missing parent); false when it cannot be made or a file has its name.
bool MakeCaptureFolder(const std::wstring& folder);

// The folder when it is there or could be made; otherwise the user is told,
// in the program's message box over `owner`, which folder could not be made.
bool EnsureCaptureFolder(HWND owner, const std::wstring& folder);
