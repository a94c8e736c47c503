#pragma once
// The class ids of the Office stand-ins and their registry keys, shared by
// the stand-in server and the tests that register it.
#include <windows.h>

// {6F1C2A11-4B7E-4C55-9A61-0D2B7E9C3A42}
inline constexpr CLSID kSpreadsheetStandInClsid = {
    0x6f1c2a11, 0x4b7e, 0x4c55, {0x9a, 0x61, 0x0d, 0x2b, 0x7e, 0x9c, 0x3a, 0x42}};
inline constexpr const wchar_t* kSpreadsheetStandInClsidText = L"{6F1C2A11-4B7E-4C55-9A61-0D2B7E9C3A42}";
// {6F1C2A12-4B7E-4C55-9A61-0D2B7E9C3A43}
inline constexpr CLSID kWordStandInClsid = {
    0x6f1c2a12, 0x4b7e, 0x4c55, {0x9a, 0x61, 0x0d, 0x2b, 0x7e, 0x9c, 0x3a, 0x43}};
inline constexpr const wchar_t* kWordStandInClsidText = L"{6F1C2A12-4B7E-4C55-9A61-0D2B7E9C3A43}";
