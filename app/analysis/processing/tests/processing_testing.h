#pragma once
// Test support for the picture commands: the English language library as
// the resource module, pictures with marked corners, and the way a user
// drives a slider or a drop-down list.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "picture.h"
#include "resource_module.h"

namespace processing_testing {

// Loads Lan_0.dll as the resource module for the whole test program.
inline void UseEnglishResources() {
    static const HMODULE module = LoadLibraryExW(L"Lan_0.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    SetResourceModule(module);
}

inline CPicture Uniform(int width, int height, std::uint32_t rgb) {
    CPicture p(width, height, 24, kPictureBmp);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* bits = p.GetBits(row);
        for (int x = 0; x < width; ++x) {
            bits[x * 3] = static_cast<std::uint8_t>(rgb);
            bits[x * 3 + 1] = static_cast<std::uint8_t>(rgb >> 8);
            bits[x * 3 + 2] = static_cast<std::uint8_t>(rgb >> 16);
        }
    }
    return p;
}

// Grey with the four corners (top-down) red, green, blue and white.
constexpr std::uint32_t kTopLeft = 0xFF0000;
constexpr std::uint32_t kTopRight = 0x00FF00;
constexpr std::uint32_t kBottomLeft = 0x0000FF;
constexpr std::uint32_t kBottomRight = 0xFFFFFF;

inline void Put(CPicture& p, int x, int y, std::uint32_t rgb) {
    std::uint8_t* bits = p.GetBits(p.GetHeight() - 1 - y) + x * 3;
    bits[0] = static_cast<std::uint8_t>(rgb);
    bits[1] = static_cast<std::uint8_t>(rgb >> 8);
    bits[2] = static_cast<std::uint8_t>(rgb >> 16);
}

inline CPicture MarkedCorners(int width, int height) {
    CPicture p = Uniform(width, height, 0x808080);
    Put(p, 0, 0, kTopLeft);
    Put(p, width - 1, 0, kTopRight);
    Put(p, 0, height - 1, kBottomLeft);
    Put(p, width - 1, height - 1, kBottomRight);
    return p;
}

inline std::vector<std::uint8_t> Bytes(const CPicture& p) { return {p.Pixels().begin(), p.Pixels().end()}; }

// What a slider sends its dialog when the user lets it go at `position`.
inline void MoveSlider(HWND dialog, int id, int position) {
    HWND slider = GetDlgItem(dialog, id);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

inline void Check(HWND dialog, int id, bool checked) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// What a drop-down list sends its dialog when the user picks an entry.
inline void Choose(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

}  // namespace processing_testing
