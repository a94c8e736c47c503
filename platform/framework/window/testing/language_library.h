#pragma once
// Makes a language library the resource module for the life of the object,
// as the program does at start.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "resource_module.h"

class LanguageLibrary {
public:
    explicit LanguageLibrary(int language) {
        const std::wstring name = L"Lan_" + std::to_wstring(language) + L".dll";
        module_ = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module_) {
            SetResourceModule(module_);
        }
    }
    ~LanguageLibrary() {
        SetResourceModule(nullptr);
        if (module_) {
            FreeLibrary(module_);
        }
    }
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }

private:
    HMODULE module_ = nullptr;
};

inline std::wstring WindowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}
