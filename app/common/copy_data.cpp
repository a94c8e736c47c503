#include "copy_data.h"

#include <cwchar>

bool SendCopyDataText(HWND target, HWND sender, const std::wstring& text, UINT timeoutMs) {
    COPYDATASTRUCT record{};
    record.dwData = 0;
    record.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text.c_str());
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&record),
                               SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

std::optional<std::wstring> ReadCopyDataText(const COPYDATASTRUCT* record) {
    if (!record || record->dwData != 0 || !record->lpData || record->cbData < sizeof(wchar_t) ||
        record->cbData % sizeof(wchar_t) != 0 || record->cbData > (kMaxCopyDataChars + 1) * sizeof(wchar_t)) {
        return std::nullopt;
    }
    const auto* chars = static_cast<const wchar_t*>(record->lpData);
    const std::size_t count = record->cbData / sizeof(wchar_t);
    const wchar_t* end = std::wmemchr(chars, L'\0', count);
    if (!end) {
        return std::nullopt;
    }
    return std::wstring(chars, end);
}
