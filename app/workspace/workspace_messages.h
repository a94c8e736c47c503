#pragma once
// Private window messages the image controller sends to its view.
#include <windows.h>

// The undo history changed; both parameters 0. The view refills the undo and
// redo lists.
constexpr UINT WM_HISTORY_CHANGED = 0x040E;
