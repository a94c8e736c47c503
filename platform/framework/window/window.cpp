#include "window.h"

namespace {
constexpr const wchar_t* kObjectProperty = L"Vizcam.Window";
}

CWindow::~CWindow() { DestroyWindow(); }

bool CWindow::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className, &existing)) {
        return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWindow::StaticWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

CWindow* CWindow::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWindow*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool CWindow::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                       HWND parent, UINT id) {
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
                                GetModuleHandleW(nullptr), this);
    if (!hwnd) {
        return false;
    }
    // Windows of other classes (common controls) are taken over after creation.
    if (m_hWnd != hwnd) {
        Subclass(hwnd);
    }
    return true;
}

bool CWindow::Subclass(HWND hwnd) {
    if (!hwnd || FromHandle(hwnd)) {
        return false;
    }
    Bind(hwnd);
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindow::StaticWindowProc)));
    return true;
}

void CWindow::DestroyWindow() {
    if (m_hWnd) {
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY clears m_hWnd
        m_hWnd = nullptr;
    }
}

bool CWindow::OnReflectedCommand(WORD) { return false; }

bool CWindow::OnReflectedNotify(NMHDR&, LRESULT&) { return false; }

bool CWindow::OnReflectedDrawItem(const DRAWITEMSTRUCT&) { return false; }

LRESULT CWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_previousProc ? CallWindowProcW(m_previousProc, m_hWnd, message, wParam, lParam)
                          : DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWindow::Bind(HWND hwnd) {
    m_hWnd = hwnd;
    SetPropW(hwnd, kObjectProperty, this);
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* self = FromHandle(hwnd);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->Bind(hwnd);
        }
    }
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->WindowProc(message, wParam, lParam);
        RemovePropW(hwnd, kObjectProperty);
        if (self->m_previousProc) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_previousProc));
            self->m_previousProc = nullptr;
        }
        self->m_hWnd = nullptr;
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}

bool ReflectCommand(WPARAM wParam, LPARAM lParam) {
    CWindow* control = CWindow::FromHandle(reinterpret_cast<HWND>(lParam));
    return control && control->OnReflectedCommand(HIWORD(wParam));
}

bool ReflectNotify(LPARAM lParam, LRESULT& result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    CWindow* control = header ? CWindow::FromHandle(header->hwndFrom) : nullptr;
    return control && control->OnReflectedNotify(*header, result);
}

bool ReflectDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CWindow* control = item ? CWindow::FromHandle(item->hwndItem) : nullptr;
    return control && control->OnReflectedDrawItem(*item);
}
