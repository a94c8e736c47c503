#pragma once
// A plain top-level window a camera preview is drawn into, and its client
// area read back as pixels: the preview tests of the USB library and of
// the TWAIN device library share it.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kq::test {

// A plain top-level window the preview is drawn into; nothing paints it.
class TestWindow {
public:
    explicit TestWindow(int width, int height, DWORD style = WS_POPUP | WS_VISIBLE) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KqPreviewTestWindow";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        window_ = CreateWindowExW(0, wc.lpszClassName, L"preview", style, 0, 0, width, height, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        if (window_ != nullptr) UpdateWindow(window_);
    }
    ~TestWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

    // The client area's pixels as bottom-up 24-bit rows (blue, green, red).
    std::vector<std::uint8_t> ReadBack(int width, int height) const {
        std::vector<std::uint8_t> out;
        HDC dc = GetDC(window_);
        if (dc == nullptr) return out;
        HDC memory = CreateCompatibleDC(dc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (memory != nullptr && section != nullptr) {
            HGDIOBJ old = SelectObject(memory, section);
            if (BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY)) {
                GdiFlush();
                // Drop the padding of the section's rows.
                const auto* p = static_cast<const std::uint8_t*>(bits);
                const std::size_t row = static_cast<std::size_t>(width) * 3;
                const std::size_t stride = (row + 3) & ~std::size_t{3};
                for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
                    out.insert(out.end(), p + y * stride, p + y * stride + row);
                }
            }
            SelectObject(memory, old);
        }
        if (section != nullptr) DeleteObject(section);
        if (memory != nullptr) DeleteDC(memory);
        ReleaseDC(window_, dc);
        return out;
    }

private:
    HWND window_ = nullptr;
};

}  // namespace kq::test
