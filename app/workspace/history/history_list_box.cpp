#include "history_list_box.h"

#include <string>

#include "history_lines.h"
#include "image_controller.h"

CHistoryListBox::~CHistoryListBox() {
    if (hwnd_ != nullptr) {
        ::DestroyWindow(hwnd_);
    }
}

bool CHistoryListBox::Create(HWND parent, const RECT& rect, int id) {
    hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                              WS_CHILD | WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, rect.left,
                              rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    return hwnd_ != nullptr;
}

void CHistoryListBox::Clear() {
    if (hwnd_ != nullptr) {
        ::SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    }
}

void CHistoryListBox::Fill(const CHistoryStore& store) {
    if (hwnd_ == nullptr) {
        return;
    }
    Clear();
    for (const std::u16string& line : HistoryLines(store, IsUndoMode())) {
        const std::wstring text(line.begin(), line.end());
        ::SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool CHistoryListBox::OnParentCommand(WPARAM wParam, LPARAM lParam) {
    if (hwnd_ == nullptr || reinterpret_cast<HWND>(lParam) != hwnd_ || HIWORD(wParam) != LBN_SELCHANGE) {
        return false;
    }
    OnSelChange();
    return true;
}

void CHistoryListBox::OnSelChange() {
    CImageController* controller = source_ ? source_() : nullptr;
    if (controller == nullptr) {
        return;
    }
    const auto line = static_cast<int>(::SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
    const std::optional<std::int32_t> target = HistoryTarget(controller->GetHistoryStore(), IsUndoMode(), line);
    if (target) {
        controller->RestoreHistory(*target);
    }
}
