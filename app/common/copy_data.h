#pragma once
// A text handed to another window with WM_COPYDATA: dwData 0, the text's
// wide characters with their terminating zero, cbData counting all of them.
#include <windows.h>

#include <optional>
#include <string>

// Sends the text; false when the window did not take it within the time.
bool SendCopyDataText(HWND target, HWND sender, const std::wstring& text, UINT timeoutMs = 5000);

// The text of a received record, or nothing when the record is not one:
// wrong dwData, no data, an odd or oversized byte count, or no terminating
// zero inside the given bytes. Zeros before the end cut the text.
std::optional<std::wstring> ReadCopyDataText(const COPYDATASTRUCT* record);

// The longest text accepted, in characters (the platform's longest path).
constexpr std::size_t kMaxCopyDataChars = 32768;
