#include "preview_window.h"

namespace twain::ds {
namespace {

constexpr const wchar_t* kClassName = L"PREVIEW";

void RegisterPreviewClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, kClassName, &existing)) return;
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

}  // namespace

CPreviewWindow::CPreviewWindow(HINSTANCE instance, HWND dialog, int frameControl, CTWAIN& device, int pictureWidth,
                               int pictureHeight)
    : device_(device), pictureWidth_(pictureWidth), pictureHeight_(pictureHeight) {
    RegisterPreviewClass(instance, &Procedure);
    POINT origin{0, 0};
    if (HWND frame = GetDlgItem(dialog, frameControl)) {
        MapWindowPoints(frame, dialog, &origin, 1);
    }
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, origin.x + 10, origin.y + 10, kWidth, kHeight,
                              dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId)), instance, nullptr);
    if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CPreviewWindow::~CPreviewWindow() {
    if (window_ == nullptr) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

LRESULT CALLBACK CPreviewWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CPreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->device_.OnScroll(window, message, wParam, static_cast<int>(lParam),
                                                  self->pictureHeight_, self->pictureWidth_) == 0) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace twain::ds
