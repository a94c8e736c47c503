#pragma once
// Messages from the grid's cells to the grid. A cell id is the row in the
// low 16 bits and the column in the high 16 bits; screen points are packed
// as in packed_point.h (x high, y low).
#include <windows.h>

#include <cstdint>

inline constexpr UINT WM_THUMB_DRAG_OVER = 0xBD0;        // posted; wParam point, lParam source cell
inline constexpr UINT WM_THUMB_DROP = 0xBD1;             // posted; wParam point, lParam source cell
inline constexpr UINT WM_THUMB_SELECT = 0xBD2;           // posted; lParam cell
inline constexpr UINT WM_THUMB_CHECK_DUPLICATE = 0xBD3;  // sent; wParam const std::wstring*, lParam cell
inline constexpr UINT WM_THUMB_SET_PATH = 0xBD4;         // sent; wParam const std::wstring*, lParam cell

constexpr std::uint32_t MakeCellId(int row, int column) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(row)) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(column)) << 16);
}
constexpr int CellRow(std::uint64_t id) { return static_cast<int>(id & 0xFFFF); }
constexpr int CellColumn(std::uint64_t id) { return static_cast<int>((id >> 16) & 0xFFFF); }
