#pragma once
// A hidden window in the settings dialog's place: it keeps every message
// 1174 it gets, with its parameters, in order.

#include <windows.h>

#include <utility>
#include <vector>

namespace twain::test {

class DialogRecorder {
public:
    DialogRecorder() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DialogRecorder::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TwainDialogRecorder";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        window =
            CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DialogRecorder() { DestroyWindow(window); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    // The reports with this id, in order.
    std::vector<LPARAM> Of(WPARAM id) const {
        std::vector<LPARAM> out;
        for (const auto& [w, l] : reports) {
            if (w == id) out.push_back(l);
        }
        return out;
    }

    static constexpr UINT kMessage = WM_USER + 150;
    HWND window = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> reports;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kMessage) {
            auto* self = reinterpret_cast<DialogRecorder*>(GetWindowLongPtrW(w, GWLP_USERDATA));
            if (self != nullptr) self->reports.emplace_back(wParam, lParam);
            return 0;
        }
        return DefWindowProcW(w, message, wParam, lParam);
    }
};

}  // namespace twain::test
