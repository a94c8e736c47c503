#pragma once
// The text of a status-bar pane of another process's window: the bar's
// SB_GETTEXTW writes into a buffer that must lie in that process.
#include <windows.h>

#include <optional>
#include <string>

std::optional<std::wstring> ReadStatusPane(HANDLE process, HWND statusBar, int pane);

// The number before " F/s" in Mikra's frame-rate pane, none without one.
std::optional<double> ParseFrameRate(const std::wstring& text);
