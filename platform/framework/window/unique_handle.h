#pragma once
// Ownership of the platform's handles: one small wrapper per release call, so
// every handle the program opens is closed exactly once by its owner.
#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Handle, auto Close, Handle Empty = Handle{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, Empty)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, Empty));
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Empty; }
    // Gives the handle up without releasing it (the platform took ownership).
    Handle Release() { return std::exchange(m_handle, Empty); }
    void Reset(Handle handle = Empty) {
        if (m_handle != Empty) {
            Close(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = Empty;
};

using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueImageList = UniqueHandle<HIMAGELIST, &ImageList_Destroy>;
using UniqueGdiHandle = UniqueHandle<HGDIOBJ, &DeleteObject>;
using UniqueRegistryKey = UniqueHandle<HKEY, &RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, &FreeLibrary>;
