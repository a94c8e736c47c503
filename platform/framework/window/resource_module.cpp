#include "resource_module.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE GetResourceModule() { return g_resourceModule ? g_resourceModule : GetModuleHandleW(nullptr); }

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource.
    const int length = LoadStringW(GetResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}
