#pragma once
// The stand-in's class id and its registry key, shared by the stand-in and
// the tests that register it.
#include <windows.h>

// {6F1C2A10-4B7E-4C55-9A61-0D2B7E9C3A41}
inline constexpr CLSID kExcelStandInClsid = {
    0x6f1c2a10, 0x4b7e, 0x4c55, {0x9a, 0x61, 0x0d, 0x2b, 0x7e, 0x9c, 0x3a, 0x41}};
inline constexpr const wchar_t* kExcelStandInClsidText = L"{6F1C2A10-4B7E-4C55-9A61-0D2B7E9C3A41}";
inline constexpr const wchar_t* kExcelStandInClassKey =
    L"Software\\Classes\\CLSID\\{6F1C2A10-4B7E-4C55-9A61-0D2B7E9C3A41}";
