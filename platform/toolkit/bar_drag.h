#pragma once
// A bar dragged by the mouse by its title strip or gripper: the press
// captures the mouse for the window; the release tells where the bar was
// let go and where the window would be had it followed the mouse.
#include <windows.h>

#include <optional>

class CBarDrag {
public:
    struct Drop {
        POINT screen{};
        RECT moved{};
    };

    void Begin(HWND window, POINT screen) {
        m_window = window;
        m_press = screen;
        m_active = true;
        SetCapture(window);
    }
    bool IsActive() const { return m_active; }
    // The capture went elsewhere: the drag ends where it is.
    void Cancel() { m_active = false; }
    // The release at `client` (the window's client coordinates); nothing when
    // no drag is under way.
    std::optional<Drop> End(POINT client) {
        if (!m_active) {
            return std::nullopt;
        }
        m_active = false;
        if (GetCapture() == m_window) {
            ReleaseCapture();
        }
        Drop drop;
        drop.screen = client;
        ClientToScreen(m_window, &drop.screen);
        GetWindowRect(m_window, &drop.moved);
        OffsetRect(&drop.moved, drop.screen.x - m_press.x, drop.screen.y - m_press.y);
        return drop;
    }

private:
    HWND m_window = nullptr;
    POINT m_press{};
    bool m_active = false;
};
