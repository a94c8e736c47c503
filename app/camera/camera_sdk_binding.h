#pragma once
// `CCameraSdkBinding`: loads one camera library and looks up each function of
// its C interface by name, so the program runs with whichever camera
// libraries are installed. Each family derives one loader from it that owns
// the family's module handle slot and its table of names.
//
// One module per family: a second load while the family holds a module fails
// and keeps the first. A name the library does not export leaves its entry
// point null; callers test the pointer before every call (see bound_call.h).
// The loader that loaded the module frees it once when destroyed and clears
// the family's pointers, so no pointer outlives its library.
#include <windows.h>

#include <span>
#include <string>

// One name of a family's table: how its address reaches its typed pointer
// (null clears it) and whether that pointer is bound.
struct CameraSdkExport {
    const char* name;
    void (*store)(FARPROC address);
    bool (*isBound)();
};

class CCameraSdkBinding {
public:
    CCameraSdkBinding(const CCameraSdkBinding&) = delete;
    CCameraSdkBinding& operator=(const CCameraSdkBinding&) = delete;
    virtual ~CCameraSdkBinding();

    // path: the library's full path. 1 when this call loaded it; 0 when it
    // cannot be loaded or the family already holds a module.
    int Load(const std::wstring& path);
    // Looks up every name of the family's table; 0 when the family holds no module.
    int BindExports();
    // 1 while the family holds a module.
    int IsLoaded() const;

protected:
    // familyModule: the family's one program-wide handle; exports: its names
    // in lookup order. `Load` and, when it succeeds, `BindExports`.
    CCameraSdkBinding(HMODULE& familyModule, std::span<const CameraSdkExport> exports, const std::wstring& path);

private:
    HMODULE& m_familyModule;
    std::span<const CameraSdkExport> m_exports;
    bool m_ownsModule = false;
};
