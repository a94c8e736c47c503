#include "status_pane.h"

#include <commctrl.h>

#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T bytes)
        : m_process(process), m_address(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    void* Get() const { return m_address; }

private:
    HANDLE m_process;
    void* m_address;
};

constexpr DWORD kAnswerTimeoutMs = 5000;

}  // namespace

std::optional<std::wstring> ReadStatusPane(HANDLE process, HWND statusBar, int pane) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0, SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &length)) {
        return std::nullopt;
    }
    const SIZE_T chars = LOWORD(length) + 1;
    RemoteBuffer remote(process, chars * sizeof(wchar_t));
    if (remote.Get() == nullptr) return std::nullopt;
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(pane),
                             reinterpret_cast<LPARAM>(remote.Get()), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        return std::nullopt;
    }
    std::vector<wchar_t> text(chars, L'\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, remote.Get(), text.data(), chars * sizeof(wchar_t), &read)) {
        return std::nullopt;
    }
    text.back() = L'\0';
    return std::wstring(text.data());
}

std::optional<double> ParseFrameRate(const std::wstring& text) {
    const std::size_t unit = text.find(L" F/s");
    if (unit == std::wstring::npos) return std::nullopt;
    std::size_t start = unit;
    while (start > 0 && (std::iswdigit(text[start - 1]) || text[start - 1] == L'.')) --start;
    if (start == unit) return std::nullopt;
    return std::wcstod(text.substr(start, unit - start).c_str(), nullptr);
}
