#pragma once
// Class identifiers and settings of the DirectShow test fixtures (never
// shipped): the test capture source and the file-writer stand-in. The
// source reads its switches from the registry under its class key, so a
// test changes them without reloading it.
#include <guiddef.h>

// {20A2C6CB-81A4-4EA7-B74C-387AA8235672}
inline constexpr GUID kTestSourceClsid = {
    0x20a2c6cb, 0x81a4, 0x4ea7, {0xb7, 0x4c, 0x38, 0x7a, 0xa8, 0x23, 0x56, 0x72}};
// {BF1E94A8-8666-4E9A-B835-60819C8C7645}
inline constexpr GUID kTestSourcePageClsid = {
    0xbf1e94a8, 0x8666, 0x4e9a, {0xb8, 0x35, 0x60, 0x81, 0x9c, 0x8c, 0x76, 0x45}};

inline constexpr wchar_t kTestSourceClassKey[] = L"Software\\Classes\\CLSID\\{20A2C6CB-81A4-4EA7-B74C-387AA8235672}";
inline constexpr wchar_t kTestSourcePageClassKey[] =
    L"Software\\Classes\\CLSID\\{BF1E94A8-8666-4E9A-B835-60819C8C7645}";
// Under the source's class key (HKLM): DWORD "NoDroppedFrames" (1: the pin
// has no IAMDroppedFrames); DWORD "ShortSamples" (1: every sample one byte
// short of the picture); DWORD "Flood" (1: frames back to back while
// running, so that one is always on its way); DWORD "PropertySet" (the
// place, 1 to 42, in the probing order of the one extension property set
// the filter answers; 0: none).
inline constexpr wchar_t kTestSourceSettingsKey[] =
    L"Software\\Classes\\CLSID\\{20A2C6CB-81A4-4EA7-B74C-387AA8235672}\\TestSource";

// The file writer's well-known class, which the stand-in takes over in the
// test prefix while a test needs it.
inline constexpr wchar_t kFileWriterClassKey[] = L"Software\\Classes\\CLSID\\{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}";
// The platform's AVI mux, served by the library that also holds its writer.
inline constexpr wchar_t kAviMuxClassKey[] = L"Software\\Classes\\CLSID\\{E2510970-F137-11CE-8B67-00AA00A3F1A6}";
